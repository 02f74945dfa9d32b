# The interfaces the logic asks of the desktop, and the tiny shared types.
add_library(kazunavi_platform STATIC
    ${CMAKE_CURRENT_LIST_DIR}/element.cpp
    ${CMAKE_CURRENT_LIST_DIR}/timer.cpp)
target_include_directories(kazunavi_platform PUBLIC ${PROJECT_SOURCE_DIR}/src)
