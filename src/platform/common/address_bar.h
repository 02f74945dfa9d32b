#pragma once

// The rules of reading a browser window through its accessibility tree:
// which windows are browser windows, where the document of the page shown and
// the address bar are, how their texts become an address, and how much of
// the window's title the browser added.

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
    // The child window that holds the page shown, where the browser has one
    // (Chromium's, a window per tab, hidden behind another tab); empty: the
    // page's document is found anywhere below the window.
    std::u16string_view contentWindowClass;
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

// What a page's document tells: the page's address, as its accessible value,
// and whether it is out of sight (a tab behind another).
struct DocumentText {
    std::u16string value;
    bool offscreen = false;
};

// The page's address from its document, scheme in small letters, where it is
// a whole web address (http or https with a host) of a page in sight; empty
// otherwise. Unlike the bar, a document never hides part of its address.
std::u16string addressFromDocument(const DocumentText& document);

// How many characters at the end of the title, as the narrow window-text
// call with a buffer of titleBufferSize bytes gives it, the browser added:
// from its last title mark on, or the whole title where it is only the
// browser's name; none where the title has no mark.
int browserTitleSuffix(const BrowserRule& rule, std::u16string_view title, int titleBufferSize);

}  // namespace kazunavi
