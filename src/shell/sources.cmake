# The application: start-up and shutdown, window behaviour, the about box,
# and the composition of the features.
add_library(kazunavi_shell STATIC
    ${CMAKE_CURRENT_LIST_DIR}/about_box.cpp
    ${CMAKE_CURRENT_LIST_DIR}/application.cpp
    ${CMAKE_CURRENT_LIST_DIR}/startup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window_behaviour.cpp)
target_link_libraries(kazunavi_shell PUBLIC kazunavi_engine kazunavi_browse kazunavi_keep)
