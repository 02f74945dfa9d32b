set(KAZUNAVI_PLATFORM_INTERFACE_SOURCES
    src/platform/element.cpp
    src/platform/timer.cpp
    src/platform/utf8.cpp)

set(KAZUNAVI_PLATFORM_LINUX_SOURCES
    src/platform/linux/browser_command.cpp
    src/platform/linux/browser_launcher.cpp
    src/platform/linux/cp932.cpp
    src/platform/linux/file_replace.cpp
    src/platform/linux/iconv_converter.cpp
    src/platform/linux/ini_document.cpp
    src/platform/linux/ini_file_text.cpp
    src/platform/linux/ini_profile.cpp
    src/platform/linux/instance_lock.cpp
    src/platform/linux/monotonic_ticks.cpp
    src/platform/linux/program_folder.cpp
    src/platform/linux/unicode_text.cpp
    src/platform/linux/window_text.cpp
    src/platform/linux/browser_frames.cpp
    src/platform/linux/latest_browser_windows.cpp
    )

# The browser windows on the accessibility bus (built into the real window's
# library: they need X11 and GDBus).
set(KAZUNAVI_PLATFORM_ATSPI_SOURCES
    src/platform/atspi/accessibility_bus.cpp
    src/platform/atspi/accessible_browser_windows.cpp
    src/platform/atspi/front_browser_lookup.cpp)

set(KAZUNAVI_PLATFORM_SIM_SOURCES
    src/platform/sim/sim_clock.cpp
    src/platform/sim/sim_desktop.cpp)
