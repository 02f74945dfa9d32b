# The window drawn with Qt Widgets: the views of the elements and the
# presenter that keeps them in step with the model.
add_library(kazunavi_ui_qt STATIC
    ${CMAKE_CURRENT_LIST_DIR}/caption_views.cpp
    ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp
    ${CMAKE_CURRENT_LIST_DIR}/element_views.cpp
    ${CMAKE_CURRENT_LIST_DIR}/field_views.cpp
    ${CMAKE_CURRENT_LIST_DIR}/form_view.cpp
    ${CMAKE_CURRENT_LIST_DIR}/form_views.cpp
    ${CMAKE_CURRENT_LIST_DIR}/help_page.cpp
    ${CMAKE_CURRENT_LIST_DIR}/qt_units.cpp
    ${CMAKE_CURRENT_LIST_DIR}/skins.cpp)
set_target_properties(kazunavi_ui_qt PROPERTIES AUTOMOC ON)
target_link_libraries(kazunavi_ui_qt PUBLIC kazunavi_shell kazunavi_qt kazunavi_ui_common)
