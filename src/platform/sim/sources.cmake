# The simulated desktop that tests and the scenario runner drive.
add_library(kazunavi_sim STATIC
    ${CMAKE_CURRENT_LIST_DIR}/sim_clock.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sim_desktop.cpp)
target_link_libraries(kazunavi_sim PUBLIC kazunavi_common)
