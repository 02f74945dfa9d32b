#pragma once

// The pages of Firefox's session store: Firefox keeps every window's tabs,
// with their addresses and titles, in a file it rewrites every 15 seconds or
// so, compressed as mozLz4. A Firefox that publishes nothing on the
// accessibility bus still writes it, so the page in its window in front can
// be learnt from it.

#include <cstddef>
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

// The page a window of the store shows: its selected tab's current entry.
struct StoredPage {
    std::u16string title;
    std::u16string url;
};

// The shown page of each window of the session store's JSON text, in the
// store's order; nothing for text that is not a session store.
std::optional<std::vector<StoredPage>> storedPages(std::string_view json);

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

}  // namespace kazunavi
