#pragma once

// The rules of reading a browser window through its address bar, as a
// desktop's accessibility tree shows it: which windows are browser windows,
// which element of theirs is the address bar, how its text becomes an
// address, and how much of the window's title the browser added.

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kazunavi {

// What the window manager tells about a top-level window.
struct WindowFacts {
    std::u16string processPath;  // the executable, with or without its folders
    std::u16string className;    // the window class
    std::u16string title;        // whole, as the window holds it
};

// The one property by which a browser's address bar is found among the edit
// fields of its window.
struct AddressBarKey {
    enum class Property { ClassName, AutomationId };
    Property property;
    std::u16string_view value;
};

struct BrowserRule {
    std::u16string_view processName;  // the executable's file name, in small letters
    std::u16string_view windowClass;  // of the browser's own windows (not its dialogs)
    AddressBarKey addressBar;
    // What the browser puts after the page's title in the window's title,
    // first the name it puts alone when the page has none: " — Mozilla
    // Firefox", whose name is "Mozilla Firefox".
    std::span<const std::u16string_view> titleMarks;
};

// The rule of the browser whose executable and window class these are;
// nothing for any other window.
const BrowserRule* browserRuleFor(std::u16string_view processPath, std::u16string_view className);

// What an address bar shows.
struct AddressBarText {
    std::u16string text;
    bool focused = false;  // with the keyboard focus the text may be the user's typing
};

// The address the bar shows, whole: a web address with its scheme in small
// letters, or another address as shown (a blank page, a browser's own page).
// Empty when the bar may not show the page's address (the user is typing in
// it) or hides part of it: a browser that hides "https://" may hide
// "http://" or "www." as well, so that no hidden part can be told for sure.
std::u16string addressFromBar(const AddressBarText& bar);

// How many characters at the end of the title, as the narrow window-text
// call with a buffer of titleBufferSize bytes gives it, the browser added:
// from its last title mark on, or the whole title where it is only the
// browser's name; none where the title has no mark.
int browserTitleSuffix(const BrowserRule& rule, std::u16string_view title, int titleBufferSize);

}  // namespace kazunavi
