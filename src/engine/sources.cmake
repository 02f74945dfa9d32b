# Number pick, stepping and limiter, auto-repeat, caret keys.
add_library(kazunavi_engine STATIC
    ${CMAKE_CURRENT_LIST_DIR}/auto_switch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/caret_keys.cpp
    ${CMAKE_CURRENT_LIST_DIR}/limiter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/pick.cpp
    ${CMAKE_CURRENT_LIST_DIR}/press_hold.cpp
    ${CMAKE_CURRENT_LIST_DIR}/repeat.cpp
    ${CMAKE_CURRENT_LIST_DIR}/step_family.cpp
    ${CMAKE_CURRENT_LIST_DIR}/stepping.cpp)
target_link_libraries(kazunavi_engine PUBLIC kazunavi_model)
