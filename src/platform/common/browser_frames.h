#pragma once

// The pure rules of finding the browser window in front on the accessibility
// bus: which of the frames a browser publishes is the X11 window, and how
// many characters of that window's title the browser added to the page's
// own title.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kazunavi {

// What the accessibility bus tells about one top-level frame.
struct FrameFacts {
    std::u16string name;          // a browser names its frame as its window's title
    std::uint32_t processId = 0;  // of the application that publishes it
    bool active = false;          // the ACTIVE state: the frame is in front
};

// The position of the frame that shows the window with this process id and
// title: the frame of that process with exactly that name; of several, the
// one ACTIVE frame. Nothing when no frame or no single one fits, or when the
// window has no process id (0).
std::optional<std::size_t> matchFrame(std::span<const FrameFacts> frames, std::uint32_t processId,
                                      std::u16string_view windowTitle);

// How many characters at the end of the window's title, as the narrow
// window-text call with a buffer of titleBufferSize bytes gives it, the
// browser added to the page's title ("Page — Mozilla Firefox": those of
// " — Mozilla Firefox"). Only what is left of that suffix in the cut title
// counts, so that dropping it leaves the page's title (cut as well). A page
// without a title leaves the whole window title to the browser. Nothing when
// the window title does not begin with the page's title.
std::optional<int> titleSuffixLength(std::u16string_view windowTitle, std::u16string_view pageTitle,
                                     int titleBufferSize);

// A browser names a new page a moment after it shows it, and titles its
// window a moment after that: a page without a title, or one whose title the
// window does not show, may be caught between two moments. Such a sight is
// believed only when the next look finds the very same.
class SecondLook {
  public:
    // True when the previous call was given the same document and titles.
    bool confirms(std::string_view document, std::u16string_view windowTitle,
                  std::u16string_view pageTitle);

  private:
    std::string document_;
    std::u16string windowTitle_;
    std::u16string pageTitle_;
    bool seen_ = false;
};

}  // namespace kazunavi
