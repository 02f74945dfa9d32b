# The element model of the two windows: inventory, events, text and number
# rules, palette, and the small interfaces through which features meet.
add_library(kazunavi_model STATIC
    ${CMAKE_CURRENT_LIST_DIR}/events.cpp
    ${CMAKE_CURRENT_LIST_DIR}/form1.cpp
    ${CMAKE_CURRENT_LIST_DIR}/form1_inventory.cpp
    ${CMAKE_CURRENT_LIST_DIR}/form2.cpp
    ${CMAKE_CURRENT_LIST_DIR}/number_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/text_fingerprint.cpp
    ${CMAKE_CURRENT_LIST_DIR}/window.cpp)
target_link_libraries(kazunavi_model PUBLIC kazunavi_common)
