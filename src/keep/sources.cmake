# The keep list file, capture of the browser window in front, the memo pad.
add_library(kazunavi_keep STATIC
    ${CMAKE_CURRENT_LIST_DIR}/capture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/keep_list.cpp
    ${CMAKE_CURRENT_LIST_DIR}/memo.cpp)
target_link_libraries(kazunavi_keep PUBLIC kazunavi_model)
