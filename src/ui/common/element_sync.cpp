#include "ui/common/element_sync.h"

#include <algorithm>

#include "ui/common/units.h"

namespace kazunavi {

ElementSync::ElementSync(Element& element) : element_(element), design_(element) {
    shown_.enabled = !element.enabled();
    shown_.visible = !element.visible();
    shown_.geometry.width = -1;
}

CommonChanges ElementSync::syncCommonState() {
    CommonChanges changes;
    if (!attached_) {
        return changes;
    }
    contentNew_ = seenContentRevision_ != element_.contentRevision();
    seenContentRevision_ = element_.contentRevision();
    seenRevision_ = element_.revision();
    changes.content = contentNew_;
    const Geometry& g = element_.geometry;
    if (g.left != shown_.geometry.left || g.top != shown_.geometry.top ||
        g.width != shown_.geometry.width || g.height != shown_.geometry.height) {
        shown_.geometry = g;
        changes.geometry = true;
    }
    if (element_.enabled() != shown_.enabled) {
        shown_.enabled = element_.enabled();
        changes.enabled = true;
    }
    if (element_.visible() != shown_.visible) {
        shown_.visible = element_.visible();
        changes.visible = true;
    }
    if (contentNew_ && shownPart(element_.toolTipText()) != shown_.toolTip) {
        shown_.toolTip = shownPart(element_.toolTipText());
        changes.toolTip = true;
    }
    return changes;
}

bool ElementSync::syncCaption() {
    const bool newCaption = contentNew_ && shownPart(element_.text()) != shown_.text;
    if (!newCaption && element_.foreColor() == shown_.fore && element_.backColor() == shown_.back) {
        return false;
    }
    if (newCaption) {
        shown_.text = shownPart(element_.text());
    }
    shown_.fore = element_.foreColor();
    shown_.back = element_.backColor();
    return true;
}

bool ElementSync::syncFieldColours() {
    if (fieldColoursShown_ && element_.foreColor() == shown_.fore &&
        element_.backColor() == shown_.back) {
        return false;
    }
    fieldColoursShown_ = true;
    shown_.fore = element_.foreColor();
    shown_.back = element_.backColor();
    return true;
}

ElementSync::TextChange ElementSync::syncTextBox() {
    TextChange change;
    change.text = contentNew_ && shownPart(element_.text()) != shown_.text;
    if (change.text) {
        shown_.text = shownPart(element_.text());
    }
    if (change.text || element_.selStart() != shown_.selStart ||
        element_.selLength() != shown_.selLength) {
        shown_.selStart = element_.selStart();
        shown_.selLength = element_.selLength();
        change.selection = true;
    }
    return change;
}

std::pair<int, int> ElementSync::shownSelection() const {
    const int shownLength = static_cast<int>(shown_.text.size());
    const int start = std::min(shown_.selStart, shownLength);
    return {start, std::max(0, std::min(shown_.selLength, shownLength - start))};
}

void ElementSync::pullTextBox(std::u16string_view text, int selStart, int selLength) {
    if (!attached_) {
        return;
    }
    if (text != shown_.text) {
        std::u16string whole = editedText(element_.text(), shown_.text, text);
        shown_.text = std::u16string(text);
        element_.setText(std::move(whole));
    }
    element_.setSelStart(selStart);
    element_.setSelLength(selLength);
    shown_.selStart = element_.selStart();
    shown_.selLength = element_.selLength();
}

ElementSync::ListChange ElementSync::syncList() {
    ListChange change;
    if (contentNew_ && element_.items() != shown_.items) {
        shown_.items = element_.items();
        shown_.listIndex = -2;
        change.items = true;
    }
    if (element_.listIndex() != shown_.listIndex) {
        shown_.listIndex = element_.listIndex();
        change.index = true;
    }
    if (contentNew_) {
        shown_.text = element_.text();
    }
    return change;
}

}  // namespace kazunavi
