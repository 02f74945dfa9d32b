# Portable services: the INI file and the profile functions, code page 932,
# UTF-8, window-title narrowing, browser-frame matching, browsers' address
# bars, plain files, the choice of the program's folder, the background
# lookup of the browser windows.
add_library(kazunavi_common STATIC
    ${CMAKE_CURRENT_LIST_DIR}/address_bar.cpp
    ${CMAKE_CURRENT_LIST_DIR}/address_bar_lookup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/browser_frames.cpp
    ${CMAKE_CURRENT_LIST_DIR}/chosen_program_folder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cp932.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ini_document.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ini_file_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ini_profile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/latest_browser_windows.cpp
    ${CMAKE_CURRENT_LIST_DIR}/plain_file_store.cpp
    ${CMAKE_CURRENT_LIST_DIR}/unicode_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/utf8.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window_text.cpp)
target_link_libraries(kazunavi_common PUBLIC kazunavi_platform)
