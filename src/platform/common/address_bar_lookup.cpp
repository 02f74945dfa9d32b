#include "platform/common/address_bar_lookup.h"

#include <algorithm>
#include <utility>

#include "platform/services.h"

namespace kazunavi {

AddressBarLookup::Kept& AddressBarLookup::kept(WindowHandle window, const WindowFacts& facts,
                                               const BrowserRule& rule) {
    // A handle of a closed window may come back for another program's.
    auto found = std::ranges::find_if(kept_, [&](const Kept& k) {
        return k.window == window && k.processPath == facts.processPath;
    });
    if (found == kept_.end()) {
        if (kept_.size() == kKeptWindows) {
            kept_.pop_back();
        }
        kept_.push_back(Kept{window, facts.processPath, nullptr, 0});
        found = std::prev(kept_.end());
        found->bar = desktop_->findEdit(window, rule.addressBar);
        found->searchedAt = looks_;
    } else if (!found->bar && looks_ - found->searchedAt >= kSearchAgainAfter) {
        found->bar = desktop_->findEdit(window, rule.addressBar);
        found->searchedAt = looks_;
    }
    std::rotate(kept_.begin(), found, std::next(found));
    return kept_.front();
}

std::optional<AddressBarText> AddressBarLookup::readBar(WindowHandle window,
                                                        const WindowFacts& facts,
                                                        const BrowserRule& rule) {
    Kept& entry = kept(window, facts, rule);
    if (!entry.bar) {
        return std::nullopt;
    }
    if (std::optional<AddressBarText> text = entry.bar->read()) {
        return text;
    }
    // The browser made its bar anew (a window's toolbar can be rebuilt).
    entry.bar = desktop_->findEdit(window, rule.addressBar);
    entry.searchedAt = looks_;
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
    const std::optional<AddressBarText> bar = readBar(front, *facts, *rule);
    if (!bar) {
        return {};
    }
    return {
        BrowserWindow{front, addressFromBar(*bar),
                      browserTitleSuffix(*rule, facts->title, WindowManager::kTitleBufferSize)}};
}

}  // namespace kazunavi
