# Browser navigation and the clipboard watcher.
add_library(kazunavi_browse STATIC
    ${CMAKE_CURRENT_LIST_DIR}/browser_step.cpp
    ${CMAKE_CURRENT_LIST_DIR}/clipboard_watcher.cpp
    ${CMAKE_CURRENT_LIST_DIR}/navigation.cpp)
target_link_libraries(kazunavi_browse PUBLIC kazunavi_model)
