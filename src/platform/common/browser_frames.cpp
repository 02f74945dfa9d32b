#include "platform/common/browser_frames.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "platform/common/window_text.h"

namespace kazunavi {

std::optional<std::size_t> matchFrame(std::span<const FrameFacts> frames, std::uint32_t processId,
                                      std::u16string_view windowTitle) {
    if (processId == 0) {
        return std::nullopt;
    }
    std::vector<std::size_t> named;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (frames[i].processId == processId && frames[i].name == windowTitle) {
            named.push_back(i);
        }
    }
    if (named.size() == 1) {
        return named.front();
    }
    // Two windows of one browser with the same title: only the one in front
    // carries ACTIVE.
    std::optional<std::size_t> active;
    for (std::size_t i : named) {
        if (frames[i].active) {
            if (active) {
                return std::nullopt;
            }
            active = i;
        }
    }
    return active;
}

std::optional<int> titleSuffixLength(std::u16string_view windowTitle, std::u16string_view pageTitle,
                                     int titleBufferSize) {
    if (!windowTitle.starts_with(pageTitle)) {
        return std::nullopt;
    }
    // Counted in the characters of the narrow title, the ones the capture
    // counts: a character the code page lacks is one '?' there, even where it
    // takes two UTF-16 units here.
    const std::size_t shown = narrowWindowText(windowTitle, titleBufferSize).size();
    const std::size_t page = narrowWindowText(pageTitle, std::numeric_limits<int>::max()).size();
    return static_cast<int>(shown > page ? shown - page : 0);
}

bool SecondLook::confirms(std::string_view document, std::u16string_view windowTitle,
                          std::u16string_view pageTitle) {
    if (seen_ && document == document_ && windowTitle == windowTitle_ && pageTitle == pageTitle_) {
        return true;
    }
    document_ = document;
    windowTitle_ = windowTitle;
    pageTitle_ = pageTitle;
    seen_ = true;
    return false;
}

}  // namespace kazunavi
