set(KAZUNAVI_KEEP_SOURCES
    src/keep/memo.cpp
    src/keep/keep_list.cpp
    src/keep/capture.cpp
    )
