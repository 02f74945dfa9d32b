set(KAZUNAVI_BROWSE_SOURCES
    src/browse/browser_step.cpp
    src/browse/clipboard_watcher.cpp
    src/browse/navigation.cpp
    )
