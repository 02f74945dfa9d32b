#pragma once

// The pages of Firefox's session store: Firefox keeps every window's tabs,
// with their addresses and titles, in a file it rewrites every 15 seconds or
// so, compressed as mozLz4. A Firefox that publishes nothing on the
// accessibility bus still writes it, so the page in its window in front can
// be learnt from it; between two writes, from the pages it visited last.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kazunavi {

// The bytes a mozLz4 buffer holds ("mozLz40\0", the size as 32 bits little
// endian, one LZ4 block). Nothing when the buffer is not one, is damaged, or
// says it holds more than maxSize bytes.
std::optional<std::string> decompressMozLz4(std::string_view buffer, std::size_t maxSize);

// A page of the store: a tab's current entry.
struct StoredPage {
    std::u16string title;
    std::u16string url;
};

struct StoredPages {
    std::vector<StoredPage> shown;  // each window's selected tab, in the store's order
    std::vector<StoredPage> tabs;   // every tab of every window
};

// The pages of the session store's JSON text; nothing for text that is not a
// session store.
std::optional<StoredPages> storedPages(std::string_view json);

// A visit of Firefox's history: the address, the title its page has now, and
// when it was visited (microseconds since 1970).
struct Visit {
    std::u16string url;
    std::u16string title;
    std::int64_t time = 0;
};

// How long a visit may wait for the store to be written: longer than two of
// Firefox's writes.
constexpr std::int64_t kRecentVisit = 60'000'000;  // microseconds

// A web page that a window shows, with the number of characters the browser
// added to the page's title in the window's title.
struct ShownPage {
    std::u16string url;
    std::optional<int> titleSuffixLength;
};

// The web page shown in the browser window with this title, when a stored
// page's title is that window's page title exactly (the window's title less
// the browser's " — name"). A store written before the window's last
// navigation holds another title and yields nothing, as do two windows that
// match with different addresses and an address that is not http or https.
std::optional<ShownPage> pageOfWindow(std::span<const StoredPage> pages,
                                      std::u16string_view windowTitle);

// Whether a window of the store shows a page with that window's page title:
// else the store was written before the window's last navigation, or before
// the window opened.
bool storeShowsTitle(std::span<const StoredPage> shown, std::u16string_view windowTitle);

// The web page in the window with this title that the store does not show
// yet: the one address that has the window's page title among the visits of
// the last minute before now (microseconds since 1970) and the stored tabs.
// Nothing when no address or several have it, or when it is no web address,
// so that a page is never taken for another.
std::optional<ShownPage> visitedPageOfWindow(std::span<const StoredPage> tabs,
                                             std::span<const Visit> visits, std::int64_t now,
                                             std::u16string_view windowTitle);

}  // namespace kazunavi
