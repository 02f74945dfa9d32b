#include "platform/common/address_bar.h"

#include <algorithm>
#include <array>

#include "platform/common/browser_frames.h"

namespace kazunavi {

namespace {

using namespace std::string_view_literals;

// Edge puts a zero-width space between its two words.
constexpr std::array kChromeMarks{u" - Google Chrome"sv};
constexpr std::array kEdgeMarks{u" - Microsoft\u200B Edge"sv, u" - Microsoft Edge"sv};
constexpr std::array kFirefoxMarks{u" \u2014 Mozilla Firefox"sv, u" - Mozilla Firefox"sv};

// The page's web content in Chromium: one such child window per tab.
constexpr std::u16string_view kChromiumContent = u"Chrome_RenderWidgetHostHWND";

// Chromium's address bar is the edit of class OmniboxViewViews; its name is
// in the user's language, the class is not.
constexpr std::array kBrowsers{
    BrowserRule{u"chrome.exe",
                u"Chrome_WidgetWin_1",
                {AddressBarKey::Property::ClassName, u"OmniboxViewViews"},
                kChromiumContent,
                kChromeMarks},
    BrowserRule{u"msedge.exe",
                u"Chrome_WidgetWin_1",
                {AddressBarKey::Property::ClassName, u"OmniboxViewViews"},
                kChromiumContent,
                kEdgeMarks},
    BrowserRule{u"firefox.exe",
                u"MozillaWindowClass",
                {AddressBarKey::Property::AutomationId, u"urlbar-input"},
                {},
                kFirefoxMarks},
};

char16_t lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

std::u16string lowered(std::u16string_view text) {
    std::u16string result(text);
    std::ranges::transform(result, result.begin(), lower);
    return result;
}

bool isAsciiLetter(char16_t c) {
    return lower(c) >= u'a' && lower(c) <= u'z';
}

bool isAsciiDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// The length of the scheme that the text begins with ("https" of
// "https://a"), 0 for none. A host and its port ("example.org:8080/a")
// looks like a scheme and is none.
std::size_t schemeLength(std::u16string_view text) {
    const std::size_t colon = text.find(u':');
    if (colon == std::u16string_view::npos || colon == 0 || !isAsciiLetter(text[0])) {
        return 0;
    }
    const std::u16string_view scheme = text.substr(0, colon);
    if (!std::ranges::all_of(scheme, [](char16_t c) {
            return isAsciiLetter(c) || isAsciiDigit(c) || c == u'+' || c == u'-' || c == u'.';
        })) {
        return 0;
    }
    const std::u16string_view rest = text.substr(colon + 1);
    const std::u16string_view port = rest.substr(0, rest.find(u'/'));
    if (!port.empty() && std::ranges::all_of(port, isAsciiDigit)) {
        return 0;
    }
    return colon;
}

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\u3000';
}

std::u16string_view trimmed(std::u16string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

const BrowserRule* browserRuleFor(std::u16string_view processPath, std::u16string_view className) {
    const std::size_t folder = processPath.find_last_of(u"\\/");
    const std::u16string name =
        lowered(folder == std::u16string_view::npos ? processPath : processPath.substr(folder + 1));
    for (const BrowserRule& rule : kBrowsers) {
        if (name == rule.processName && className == rule.windowClass) {
            return &rule;
        }
    }
    return nullptr;
}

std::u16string addressFromBar(const AddressBarText& bar) {
    if (bar.focused) {
        return {};
    }
    const std::u16string_view text = trimmed(bar.text);
    const std::size_t scheme = schemeLength(text);
    if (scheme == 0) {
        return {};
    }
    const std::u16string name = lowered(text.substr(0, scheme));
    if (name != u"http" && name != u"https") {
        return std::u16string(text);
    }
    // A web address without a host is the user's typing, not a page.
    const std::u16string_view rest = text.substr(scheme);
    if (!rest.starts_with(u"://") || rest.size() == 3 || rest[3] == u'/') {
        return {};
    }
    return name + std::u16string(rest);
}

std::u16string addressFromDocument(const DocumentText& document) {
    if (document.offscreen) {
        return {};
    }
    std::u16string address = addressFromBar({document.value, false});
    return address.starts_with(u"http://") || address.starts_with(u"https://") ? address
                                                                               : std::u16string();
}

int browserTitleSuffix(const BrowserRule& rule, std::u16string_view title, int titleBufferSize) {
    std::optional<std::size_t> pageEnd;
    for (std::u16string_view mark : rule.titleMarks) {
        const std::size_t at = title.rfind(mark);
        if (at != std::u16string_view::npos && (!pageEnd || at > *pageEnd)) {
            pageEnd = at;
        }
    }
    // The name alone: the mark without its separator (" - ", " — ").
    if (!pageEnd && !rule.titleMarks.empty() && title == rule.titleMarks.front().substr(3)) {
        pageEnd = 0;
    }
    const std::u16string_view page = title.substr(0, pageEnd.value_or(title.size()));
    return titleSuffixLength(title, page, titleBufferSize).value_or(0);
}

}  // namespace kazunavi
