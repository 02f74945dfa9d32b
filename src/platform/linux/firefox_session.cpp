#include "platform/linux/firefox_session.h"

#include <lz4.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <set>

#include "platform/common/browser_frames.h"
#include "platform/common/utf8.h"
#include "platform/services.h"

namespace kazunavi {

namespace {

constexpr std::string_view kMagic{"mozLz40\0", 8};
constexpr std::size_t kHeaderSize = kMagic.size() + 4;

// The element at a 1-based position that the store keeps under key.
const nlohmann::json* chosen(const nlohmann::json& list, const nlohmann::json& holder,
                             const char* key) {
    const auto position = holder.find(key);
    if (!list.is_array() || position == holder.end() || !position->is_number_integer()) {
        return nullptr;
    }
    const auto number = position->get<std::int64_t>();
    if (number < 1 || static_cast<std::uint64_t>(number) > list.size()) {
        return nullptr;
    }
    return &list[static_cast<std::size_t>(number - 1)];
}

std::u16string textOf(const nlohmann::json& object, const char* key) {
    const auto found = object.find(key);
    return found != object.end() && found->is_string()
               ? fromUtf8(found->get_ref<const std::string&>())
               : std::u16string{};
}

std::optional<StoredPage> currentPage(const nlohmann::json* tab) {
    if (tab == nullptr || !tab->is_object() || !tab->contains("entries")) {
        return std::nullopt;
    }
    const nlohmann::json* entry = chosen((*tab)["entries"], *tab, "index");
    if (entry == nullptr || !entry->is_object()) {
        return std::nullopt;
    }
    return StoredPage{textOf(*entry, "title"), textOf(*entry, "url")};
}

// The web addresses as the capture takes them; Firefox writes its schemes in
// small letters.
bool isWebAddress(std::u16string_view url) {
    return url.starts_with(u"http://") || url.starts_with(u"https://");
}

// The window's title less the browser's suffix: the browser's name follows
// the last separator, and holds none itself.
std::optional<std::u16string_view> pageTitleOf(std::u16string_view windowTitle) {
    for (std::u16string_view separator : {u" \u2014 ", u" - "}) {
        if (const auto at = windowTitle.rfind(separator); at != std::u16string_view::npos) {
            return windowTitle.substr(0, at);
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> decompressMozLz4(std::string_view buffer, std::size_t maxSize) {
    if (buffer.size() < kHeaderSize || !buffer.starts_with(kMagic) || buffer.size() > INT_MAX) {
        return std::nullopt;
    }
    std::uint32_t size = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        size |= std::uint32_t{static_cast<unsigned char>(buffer[kMagic.size() + i])} << (8 * i);
    }
    if (size > maxSize || size > INT_MAX) {
        return std::nullopt;
    }
    std::string bytes(size, '\0');
    const int written =
        LZ4_decompress_safe(buffer.data() + kHeaderSize, bytes.data(),
                            static_cast<int>(buffer.size() - kHeaderSize), static_cast<int>(size));
    if (written < 0 || static_cast<std::uint32_t>(written) != size) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<StoredPages> storedPages(std::string_view json) {
    const nlohmann::json store = nlohmann::json::parse(json, nullptr, false);
    if (!store.is_object() || !store.contains("windows") || !store["windows"].is_array()) {
        return std::nullopt;
    }
    StoredPages pages;
    for (const nlohmann::json& window : store["windows"]) {
        if (!window.is_object() || !window.contains("tabs")) {
            continue;
        }
        if (std::optional<StoredPage> page =
                currentPage(chosen(window["tabs"], window, "selected"))) {
            pages.shown.push_back(std::move(*page));
        }
        for (const nlohmann::json& tab :
             window["tabs"].is_array() ? window["tabs"] : nlohmann::json::array()) {
            if (std::optional<StoredPage> page = currentPage(&tab)) {
                pages.tabs.push_back(std::move(*page));
            }
        }
    }
    return pages;
}

std::optional<ShownPage> pageOfWindow(std::span<const StoredPage> pages,
                                      std::u16string_view windowTitle) {
    const std::optional<std::u16string_view> pageTitle = pageTitleOf(windowTitle);
    if (!pageTitle || pageTitle->empty()) {
        return std::nullopt;
    }
    std::optional<ShownPage> found;
    for (const StoredPage& page : pages) {
        if (page.title != *pageTitle) {
            continue;
        }
        // Two windows with this title that show different pages: either may
        // be the one in front.
        if (found && found->url != page.url) {
            return std::nullopt;
        }
        found = ShownPage{
            page.url, titleSuffixLength(windowTitle, page.title, WindowManager::kTitleBufferSize)};
    }
    if (!found || !isWebAddress(found->url) || !found->titleSuffixLength) {
        return std::nullopt;
    }
    return found;
}

bool storeShowsTitle(std::span<const StoredPage> shown, std::u16string_view windowTitle) {
    const std::optional<std::u16string_view> pageTitle = pageTitleOf(windowTitle);
    return pageTitle && std::ranges::any_of(shown, [&](const StoredPage& page) {
               return page.title == *pageTitle;
           });
}

std::optional<ShownPage> visitedPageOfWindow(std::span<const StoredPage> tabs,
                                             std::span<const Visit> visits, std::int64_t now,
                                             std::u16string_view windowTitle) {
    const std::optional<std::u16string_view> pageTitle = pageTitleOf(windowTitle);
    if (!pageTitle || pageTitle->empty()) {
        return std::nullopt;
    }
    std::set<std::u16string_view> candidates;
    for (const Visit& visit : visits) {
        if (visit.title == *pageTitle && visit.time >= now - kRecentVisit) {
            candidates.insert(visit.url);
        }
    }
    for (const StoredPage& tab : tabs) {
        if (tab.title == *pageTitle) {
            candidates.insert(tab.url);
        }
    }
    if (candidates.size() != 1 || !isWebAddress(*candidates.begin())) {
        return std::nullopt;
    }
    const std::optional<int> suffix =
        titleSuffixLength(windowTitle, *pageTitle, WindowManager::kTitleBufferSize);
    if (!suffix) {
        return std::nullopt;
    }
    return ShownPage{std::u16string(*candidates.begin()), suffix};
}

}  // namespace kazunavi
