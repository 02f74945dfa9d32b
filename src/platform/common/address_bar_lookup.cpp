#include "platform/common/address_bar_lookup.h"

#include <algorithm>
#include <utility>

#include "platform/services.h"

namespace kazunavi {

AddressBarLookup::Kept& AddressBarLookup::kept(WindowHandle window, const WindowFacts& facts) {
    // A handle of a closed window may come back for another program's.
    auto found = std::ranges::find_if(kept_, [&](const Kept& k) {
        return k.window == window && k.processPath == facts.processPath;
    });
    if (found == kept_.end()) {
        if (kept_.size() == kKeptWindows) {
            kept_.pop_back();
        }
        kept_.emplace_back(window, facts.processPath);
        found = std::prev(kept_.end());
    }
    std::rotate(kept_.begin(), found, std::next(found));
    return kept_.front();
}

bool AddressBarLookup::due(const std::optional<std::uint64_t>& searchedAt) const {
    return !searchedAt || looks_ - *searchedAt >= kSearchAgainAfter;
}

std::u16string AddressBarLookup::readDocument(Kept& entry, const BrowserRule& rule) {
    const auto look = [&entry] {
        const std::optional<DocumentText> text = entry.document->read();
        std::u16string address = text ? addressFromDocument(*text) : std::u16string();
        entry.seen = !address.empty()           ? Seen::WebAddress
                     : text && !text->offscreen ? Seen::Page
                                                : Seen::Nothing;
        return address;
    };
    if (entry.document) {
        const Seen before = entry.seen;
        if (std::u16string address = look(); !address.empty()) {
            return address;
        }
        // Another tab in front, or the page left: the page shown may be
        // another document.
        if (entry.seen >= before && !due(entry.documentSearchedAt)) {
            return {};
        }
    } else if (!due(entry.documentSearchedAt)) {
        return {};
    }
    entry.document = desktop_->findDocument(entry.window, rule.contentWindowClass);
    entry.documentSearchedAt = looks_;
    return entry.document ? look() : std::u16string();
}

std::optional<AddressBarText> AddressBarLookup::readBar(Kept& entry, const BrowserRule& rule) {
    if (!entry.bar && due(entry.barSearchedAt)) {
        entry.bar = desktop_->findEdit(entry.window, rule.addressBar);
        entry.barSearchedAt = looks_;
    } else if (entry.bar) {
        if (std::optional<AddressBarText> text = entry.bar->read()) {
            return text;
        }
        // The browser made its bar anew (a window's toolbar can be rebuilt).
        entry.bar = desktop_->findEdit(entry.window, rule.addressBar);
        entry.barSearchedAt = looks_;
    }
    return entry.bar ? entry.bar->read() : std::nullopt;
}

std::vector<BrowserWindow> AddressBarLookup::lookUp() {
    ++looks_;
    const WindowHandle front = desktop_->foregroundWindow();
    if (front == 0) {
        return {};
    }
    const std::optional<WindowFacts> facts = desktop_->facts(front);
    if (!facts) {
        return {};
    }
    const BrowserRule* rule = browserRuleFor(facts->processPath, facts->className);
    if (rule == nullptr) {
        return {};
    }
    Kept& entry = kept(front, *facts);
    const int suffix = browserTitleSuffix(*rule, facts->title, WindowManager::kTitleBufferSize);
    if (std::u16string address = readDocument(entry, *rule); !address.empty()) {
        return {BrowserWindow{front, std::move(address), suffix}};
    }
    const std::optional<AddressBarText> bar = readBar(entry, *rule);
    if (!bar) {
        return {};
    }
    return {BrowserWindow{front, addressFromBar(*bar), suffix}};
}

}  // namespace kazunavi
