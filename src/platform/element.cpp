#include "platform/element.h"

#include <algorithm>

#include "platform/failure.h"

namespace kazunavi {

void Element::setToolTipText(SharedText text) {
    if (text == toolTipText_) {
        return;  // the same text again, often the clipboard's at every look
    }
    toolTipText_ = std::move(text);
    ++contentRevision_;
    countChange();
}

void Element::setText(SharedText text) {
    if (kind_ != ElementKind::ComboBox && selStart_ == 0 && selLength_ == 0 && text == text_) {
        return;  // nothing would change: the waiting text, set again at every tick
    }
    text_ = std::move(text);
    ++contentRevision_;
    countChange();
    selStart_ = 0;
    selLength_ = 0;
    if (kind_ == ElementKind::ComboBox) {
        // Showing the text of one of the items selects that item.
        auto found = std::find(items_.begin(), items_.end(), text_.get());
        listIndex_ = found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
    }
}

void Element::setSelStart(int position) {
    selStart_ = std::clamp(position, 0, static_cast<int>(text_.get().size()));
    selLength_ = 0;
    countChange();
}

void Element::setSelLength(int length) {
    selLength_ = std::clamp(length, 0, static_cast<int>(text_.get().size()) - selStart_);
    countChange();
}

const std::u16string& Element::list(int index) const {
    if (index < 0 || index >= listCount()) {
        throw Failure("list index out of range in " + name_);
    }
    return items_[static_cast<std::size_t>(index)];
}

void Element::addItem(std::u16string item) {
    items_.push_back(std::move(item));
    ++contentRevision_;
    countChange();
}

void Element::removeItem(int index) {
    if (index < 0 || index >= listCount()) {
        throw Failure("cannot remove list item " + std::to_string(index) + " of " + name_);
    }
    items_.erase(items_.begin() + index);
    ++contentRevision_;
    countChange();
    if (listIndex_ == index) {
        listIndex_ = -1;
        if (kind_ == ElementKind::ComboBox) {
            text_ = SharedText();
        }
    } else if (listIndex_ > index) {
        --listIndex_;
    }
}

void Element::clearItems() {
    items_.clear();
    listIndex_ = -1;
    ++contentRevision_;
    countChange();
}

void Element::setListIndex(int index) {
    if (index < -1 || index >= listCount()) {
        throw Failure("list index out of range in " + name_);
    }
    listIndex_ = index;
    ++contentRevision_;
    countChange();
    if (kind_ == ElementKind::ComboBox) {
        text_ = index < 0 ? std::u16string() : items_[static_cast<std::size_t>(index)];
    }
}

}  // namespace kazunavi
