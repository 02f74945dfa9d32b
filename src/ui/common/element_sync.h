#pragma once

// What a view of an element shows, kept apart from the toolkit that draws
// it. A view keeps a copy of what it shows; each sync compares the model
// with the copy and says what differs, so that the toolkit is touched only
// there and a timer tick that changes nothing costs no drawing.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/element.h"

namespace kazunavi {

// What a view shows of its element.
struct Shown {
    std::u16string text;
    std::optional<Colour> fore;
    std::optional<Colour> back;
    Colour fill = 0;
    bool enabled = true;
    bool visible = true;
    std::u16string toolTip;
    Geometry geometry;
    // Text boxes and lists.
    int selStart = 0;
    int selLength = 0;
    std::vector<std::u16string> items;
    int listIndex = -1;
};

// The design data a view draws with, copied so that drawing never reads a
// model that has gone away.
struct Design {
    Alignment alignment = Alignment::Left;
    ShapeForm shape = ShapeForm::Rectangle;
    bool transparent = false;
    bool border = false;
    std::optional<Colour> borderColor;

    explicit Design(const Element& e)
        : alignment(e.alignment),
          shape(e.shape),
          transparent(e.transparent),
          border(e.border),
          borderColor(e.borderColor) {}
};

// The properties every element has, and which of them a sync found changed.
struct CommonChanges {
    bool geometry = false;
    bool enabled = false;
    bool visible = false;
    bool toolTip = false;
    // The text, tooltip or items changed in the model since the last sync.
    bool content = false;
    bool any() const { return geometry || enabled || visible || toolTip; }
};

class ElementSync {
  public:
    // What is shown starts opposite to the model, so that the first sync sets it.
    explicit ElementSync(Element& element);
    virtual ~ElementSync() = default;
    ElementSync(const ElementSync&) = delete;
    ElementSync& operator=(const ElementSync&) = delete;

    Element& element() const { return element_; }
    const Shown& shown() const { return shown_; }
    // Whether the model changed since the last sync: a view it did not change
    // need not be synced at all.
    bool due() const { return attached_ && seenRevision_ != element_.revision(); }
    // The model goes away: from now on nothing reads or writes it.
    void detach() { attached_ = false; }
    bool attached() const { return attached_; }

  protected:
    // Takes place, enabled, visible and tooltip into what is shown. Every
    // sync calls it first: it also tells contentNew_.
    CommonChanges syncCommonState();
    // The caption and its colours; true when any of them changed.
    bool syncCaption();
    // The back and text colours of a field (text box, list); true when changed.
    bool syncFieldColours();
    // The text and selection of a text box: whether the text, or only the
    // selection, must go to the control (the part shown is in shown_.text).
    struct TextChange {
        bool text = false;
        bool selection = false;
    };
    TextChange syncTextBox();
    // The selection within the part shown, as (start, length).
    std::pair<int, int> shownSelection() const;
    // The user edited the text box: the model takes the text and selection.
    void pullTextBox(std::u16string_view text, int selStart, int selLength);
    // The items and the chosen index of a list: whether each must go to the control.
    struct ListChange {
        bool items = false;
        bool index = false;
    };
    ListChange syncList();

    Element& element_;
    const Design design_;
    Shown shown_;
    bool attached_ = true;
    bool fieldColoursShown_ = false;
    bool contentNew_ = true;

  private:
    // None before the first sync.
    std::optional<std::uint64_t> seenContentRevision_;
    std::optional<std::uint64_t> seenRevision_;
};

}  // namespace kazunavi
