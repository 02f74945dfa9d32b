# What the windows of every toolkit share: units, what changed since a view's
# last sync, which view shows which element, and the pixels of the skins.
add_library(kazunavi_ui_common STATIC
    ${CMAKE_CURRENT_LIST_DIR}/element_sync.cpp
    ${CMAKE_CURRENT_LIST_DIR}/skin_pixels.cpp
    ${CMAKE_CURRENT_LIST_DIR}/units.cpp
    ${CMAKE_CURRENT_LIST_DIR}/view_kinds.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window_sync.cpp)
target_link_libraries(kazunavi_ui_common PUBLIC kazunavi_model)
