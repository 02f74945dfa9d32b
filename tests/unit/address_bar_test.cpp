#include "platform/common/address_bar.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "platform/common/address_bar_lookup.h"

namespace kazunavi {
namespace {

TEST(AddressBar, TheBarsTextIsKeptOnlyWhereItIsTheWholeAddress) {
    const auto address = [](std::u16string text, bool focused = false) {
        return addressFromBar({std::move(text), focused});
    };
    EXPECT_EQ(address(u" HTTPS://example.org/a?b=1\u3000"), u"https://example.org/a?b=1");
    EXPECT_EQ(address(u"Http://例え.jp/"), u"http://例え.jp/");
    EXPECT_EQ(address(u"https://example.org/a", true), u"");  // perhaps the user's typing
    // Hidden schemes: "https://", "http://" or "www." may be missing.
    EXPECT_EQ(address(u"example.org/a"), u"");
    EXPECT_EQ(address(u"example.org:8080/a"), u"");
    EXPECT_EQ(address(u"localhost:8080"), u"");
    EXPECT_EQ(address(u"1http://a"), u"");
    EXPECT_EQ(address(u"ht tp://a"), u"");
    EXPECT_EQ(address(u"https://"), u"");
    EXPECT_EQ(address(u"https:///a"), u"");
    EXPECT_EQ(address(u"https:a"), u"");
    EXPECT_EQ(address(u""), u"");
    // Other pages stay as shown: nothing that could be kept.
    EXPECT_EQ(address(u"about:blank"), u"about:blank");
    EXPECT_EQ(address(u"x:y"), u"x:y");
    EXPECT_EQ(address(u":y"), u"");
    EXPECT_EQ(address(u"chrome-extension://x/y.html"), u"chrome-extension://x/y.html");
    // A document's value is kept only as a whole web address of a page in sight.
    EXPECT_EQ(addressFromDocument({u"HTTPS://www.example.org/a"}), u"https://www.example.org/a");
    EXPECT_EQ(addressFromDocument({u"http://a"}), u"http://a");
    EXPECT_EQ(addressFromDocument({u"http://a", true}), u"");  // a tab behind
    EXPECT_EQ(addressFromDocument({u"https:///a"}), u"");
    EXPECT_EQ(addressFromDocument({u"about:blank"}), u"");
}

TEST(AddressBar, BrowsersAreKnownByTheirProgramAndWindowClassAndTheirTitleMarks) {
    const BrowserRule* chrome = browserRuleFor(
        u"C:\\Program Files\\Google\\Chrome\\Application\\CHROME.EXE", u"Chrome_WidgetWin_1");
    const BrowserRule* edge = browserRuleFor(u"msedge.exe", u"Chrome_WidgetWin_1");
    const BrowserRule* firefox = browserRuleFor(u"D:/ff/firefox.exe", u"MozillaWindowClass");
    ASSERT_TRUE(chrome && edge && firefox);
    EXPECT_EQ(browserRuleFor(u"firefox.exe", u"MozillaDialogClass"), nullptr);
    EXPECT_EQ(browserRuleFor(u"notepad.exe", u"Chrome_WidgetWin_1"), nullptr);
    EXPECT_EQ(firefox->addressBar.property, AddressBarKey::Property::AutomationId);
    EXPECT_EQ(edge->addressBar.value, u"OmniboxViewViews");

    EXPECT_EQ(browserTitleSuffix(*chrome, u"A - Google Chrome - Work", 128), 23);
    EXPECT_EQ(browserTitleSuffix(*chrome, u"A - Google Chrome - B - Google Chrome", 128), 16);
    EXPECT_EQ(browserTitleSuffix(*edge, u"ページ - Microsoft\u200B Edge", 128), 18);
    EXPECT_EQ(browserTitleSuffix(*edge, u"A - Microsoft Edge", 128), 17);
    EXPECT_EQ(browserTitleSuffix(*firefox, u"A \u2014 Mozilla Firefox", 128), 18);
    EXPECT_EQ(browserTitleSuffix(*firefox, u"A - Mozilla Firefox", 128), 18);
    EXPECT_EQ(browserTitleSuffix(*firefox, u"Mozilla Firefox", 128), 15);
    EXPECT_EQ(browserTitleSuffix(*firefox, u"Page without a mark", 128), 0);
    // 60 double-byte characters and the mark, cut at 127 bytes: 7 of it left.
    EXPECT_EQ(browserTitleSuffix(*firefox, std::u16string(60, u'頁') + u" - Mozilla Firefox", 128),
              7);
}

template <typename T>
std::shared_ptr<std::optional<T>> shared(T text) {
    return std::make_shared<std::optional<T>>(std::move(text));
}

// An element whose text is nothing while it is gone.
template <typename Base, typename Text>
struct FakeElement : Base {
    explicit FakeElement(std::shared_ptr<std::optional<Text>> t) : text(std::move(t)) {}
    std::optional<Text> read() override { return *text; }
    std::shared_ptr<std::optional<Text>> text;
};

// Windows with their facts, bars and documents.
struct FakeDesktop : AccessibleDesktop {
    WindowHandle foregroundWindow() override { return front; }
    std::optional<WindowFacts> facts(WindowHandle window) override {
        return windows.contains(window) ? std::optional(windows[window]) : std::nullopt;
    }
    std::unique_ptr<AccessibleElement> findEdit(WindowHandle window,
                                                const AddressBarKey& key) override {
        ++searches;
        if (!bars.contains(window) || key.value != keys[window]) {
            return nullptr;
        }
        return std::make_unique<FakeElement<AccessibleElement, AddressBarText>>(bars[window]);
    }
    std::unique_ptr<AccessibleDocument> findDocument(WindowHandle window,
                                                     std::u16string_view contentClass) override {
        ++documentSearches;
        askedClass = contentClass;
        if (!documents.contains(window)) {
            return nullptr;
        }
        return std::make_unique<FakeElement<AccessibleDocument, DocumentText>>(documents[window]);
    }
    WindowHandle front = 0;
    std::map<WindowHandle, WindowFacts> windows;
    std::map<WindowHandle, std::u16string> keys;
    std::map<WindowHandle, std::shared_ptr<std::optional<AddressBarText>>> bars;
    std::map<WindowHandle, std::shared_ptr<std::optional<DocumentText>>> documents;
    int searches = 0;
    int documentSearches = 0;
    std::u16string askedClass;
};

TEST(AddressBarLookup, TheBarIsSearchedOncePerWindowAndAgainOnlyWhenItIsGone) {
    auto owned = std::make_unique<FakeDesktop>();
    FakeDesktop& d = *owned;
    AddressBarLookup lookup(std::move(owned));
    EXPECT_TRUE(lookup.lookUp().empty());  // nothing in front
    d.front = 7;
    d.windows[7] = {u"chrome.exe", u"Chrome_WidgetWin_1", u"A - Google Chrome"};
    d.keys[7] = u"OmniboxViewViews";
    d.bars[7] = shared(AddressBarText{u"https://a/"});
    for (int look = 0; look < 3; ++look) {
        const std::vector<BrowserWindow> found = lookup.lookUp();
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].handle, 7u);
        EXPECT_EQ(found[0].locationUrl, u"https://a/");
        EXPECT_EQ(found[0].titleSuffixLength, 16);
    }
    EXPECT_EQ(d.searches, 1);
    d.bars[7]->reset();  // the toolbar made anew: a second search, in vain
    EXPECT_TRUE(lookup.lookUp().empty());
    EXPECT_EQ(d.searches, 2);
    d.front = 8;  // another program, then a browser window without a bar
    d.windows[8] = {u"notepad.exe", u"Notepad", u"memo"};
    EXPECT_TRUE(lookup.lookUp().empty());
    d.windows[8] = {u"firefox.exe", u"MozillaWindowClass", u"Mozilla Firefox"};
    for (std::uint64_t look = 0; look < AddressBarLookup::kSearchAgainAfter; ++look) {
        EXPECT_TRUE(lookup.lookUp().empty());
    }
    EXPECT_EQ(d.searches, 3);  // one search in kSearchAgainAfter looks
    EXPECT_EQ(d.documentSearches, 2);
    d.keys[8] = u"urlbar-input";
    d.bars[8] = shared(AddressBarText{u"example.org"});
    EXPECT_EQ(lookup.lookUp().at(0).locationUrl, u"");  // a bar, but no sure address
    EXPECT_EQ(d.searches, 4);
    // Nine browser windows in turn: the first one's bar is searched anew.
    for (WindowHandle w = 10; w < 10 + AddressBarLookup::kKeptWindows; ++w) {
        d.front = w;
        d.windows[w] = d.windows[7];
        lookup.lookUp();
    }
    const int searches = d.searches;
    d.front = 8;
    lookup.lookUp();
    d.windows[8].processPath = u"C:\\other\\firefox.exe";  // the handle of another window
    lookup.lookUp();
    lookup.lookUp();
    EXPECT_EQ(d.searches, searches + 2);
}

TEST(AddressBarLookup, ThePagesDocumentComesFirstAndIsSearchedAgainWhenItReadsWorse) {
    auto owned = std::make_unique<FakeDesktop>();
    FakeDesktop& d = *owned;
    AddressBarLookup lookup(std::move(owned));
    const auto address = [&] { return lookup.lookUp().at(0).locationUrl; };
    d.front = 7;
    d.windows[7] = {u"msedge.exe", u"Chrome_WidgetWin_1", u"A - Microsoft Edge"};
    d.keys[7] = u"OmniboxViewViews";
    d.bars[7] = shared(AddressBarText{u"example.org/a"});  // "https://www." hidden
    const auto first = d.documents[7] = shared(DocumentText{u"https://www.example.org/a"});
    EXPECT_EQ(address(), u"https://www.example.org/a");
    EXPECT_EQ(address(), u"https://www.example.org/a");
    EXPECT_EQ(d.askedClass, u"Chrome_RenderWidgetHostHWND");
    EXPECT_EQ(d.documentSearches, 1);
    EXPECT_EQ(d.searches, 0);               // no bar needed
    *first = DocumentText{u"about:blank"};  // no web page: searched again, then the bar
    *d.bars[7] = AddressBarText{u"about:blank"};
    EXPECT_EQ(address(), u"about:blank");
    EXPECT_EQ(address(), u"about:blank");
    EXPECT_EQ(d.documentSearches, 2);
    *first = DocumentText{u"https://a/", true};  // another tab in front
    const auto second = d.documents[7] = shared(DocumentText{u"http://b/"});
    EXPECT_EQ(address(), u"http://b/");
    EXPECT_EQ(d.documentSearches, 3);
    second->reset();  // gone; the one found is out of sight
    d.documents[7] = first;
    for (std::uint64_t look = 0; look < AddressBarLookup::kSearchAgainAfter; ++look) {
        EXPECT_EQ(address(), u"about:blank");
    }
    EXPECT_EQ(d.documentSearches, 4);
    address();
    EXPECT_EQ(d.documentSearches, 5);  // after a while
}

}  // namespace
}  // namespace kazunavi
