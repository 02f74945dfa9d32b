#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/colour.h"
#include "platform/shared_text.h"

namespace kazunavi {

enum class ElementKind {
    Label,
    TextBox,
    CommandButton,
    ComboBox,  // drop-down list, selection only
    ListBox,
    Picture,  // panel or picture box
    Shape,    // rectangle or circle
    Line,
};

enum class Alignment { Left, Right, Center };
enum class ShapeForm { Rectangle, Circle };

struct Font {
    std::u16string face;  // empty: the toolkit's default font
    double points = 0.0;  // 0: the default size
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// Place and size in twips, relative to the container. A line uses
// (left, top) as its first point and (width, height) as its second point.
struct Geometry {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// One element of a window: its design (kind, container, place, look) and its
// run-time properties. Text is UTF-16 because positions and lengths in the
// logic count UTF-16 code units.
class Element {
  public:
    Element() = default;
    Element(std::string name, ElementKind kind) : name_(std::move(name)), kind_(kind) {}

    const std::string& name() const { return name_; }
    ElementKind kind() const { return kind_; }
    bool isTextBox() const { return kind_ == ElementKind::TextBox; }
    bool isList() const { return kind_ == ElementKind::ComboBox || kind_ == ElementKind::ListBox; }

    // Design data, set once from the window's inventory.
    std::string container;  // empty: the window itself
    Geometry geometry;
    Font font;
    Alignment alignment = Alignment::Left;
    ShapeForm shape = ShapeForm::Rectangle;
    bool transparent = false;   // labels: no background of their own
    bool border = false;        // labels: single-line border
    bool multiLine = false;     // text boxes
    bool hidden = false;        // storage element, never shown
    bool flatColoured = false;  // command buttons drawn in their back colour
    std::optional<Colour> borderColor;

    // Run-time properties. Every change of one, of the text, the tooltip,
    // the selection or the list counts in revision(), so that a view that
    // has seen a revision need compare nothing.
    const std::optional<Colour>& foreColor() const { return foreColor_; }  // none: the default
    void setForeColor(std::optional<Colour> colour) { change(foreColor_, colour); }
    const std::optional<Colour>& backColor() const { return backColor_; }
    void setBackColor(std::optional<Colour> colour) { change(backColor_, colour); }
    Colour fillColor() const { return fillColor_; }
    void setFillColor(Colour colour) { change(fillColor_, colour); }
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled) { change(enabled_, enabled); }
    bool visible() const { return visible_; }
    void setVisible(bool visible) { change(visible_, visible); }
    std::uint64_t revision() const { return revision_; }
    // Every change of this element also counts in counter (its window's),
    // which must outlive it: one look tells whether any element changed.
    void countChangesIn(std::uint64_t& counter) { windowRevision_ = &counter; }

    const std::u16string& toolTipText() const { return toolTipText_.get(); }
    const SharedText& sharedToolTipText() const { return toolTipText_; }
    void setToolTipText(SharedText text);

    // Changes with every change of the text, the tooltip or the list items, so
    // that a view that has seen it need not compare them again: they can be
    // millions of characters long.
    std::uint64_t contentRevision() const { return contentRevision_; }

    // Caption of a label or button, text of a text box, shown text of a list.
    const std::u16string& text() const { return text_.get(); }
    const SharedText& sharedText() const { return text_; }
    // Setting the text of a text box puts the caret in front and drops the selection.
    void setText(SharedText text);

    // Text boxes: caret position (0-based) and selection length, in UTF-16 units.
    int selStart() const { return selStart_; }
    int selLength() const { return selLength_; }
    // Beyond the end the caret goes to the end; any selection collapses to the caret.
    void setSelStart(int position);
    // The selection is held inside the text.
    void setSelLength(int length);

    // Lists.
    int listCount() const { return static_cast<int>(items_.size()); }
    const std::u16string& list(int index) const;  // fails outside 0..ListCount-1
    const std::vector<std::u16string>& items() const { return items_; }
    void addItem(std::u16string item);
    void removeItem(int index);  // fails outside 0..ListCount-1
    void clearItems();
    int listIndex() const { return listIndex_; }
    void setListIndex(int index);  // -1 selects nothing; fails outside -1..ListCount-1

  private:
    template <typename T>
    void change(T& property, const T& value) {
        if (property != value) {
            property = value;
            countChange();
        }
    }
    void countChange() {
        ++revision_;
        if (windowRevision_ != nullptr) {
            ++*windowRevision_;
        }
    }

    std::string name_;
    ElementKind kind_ = ElementKind::Label;
    SharedText text_;
    SharedText toolTipText_;
    std::uint64_t contentRevision_ = 0;
    std::uint64_t revision_ = 0;
    std::uint64_t* windowRevision_ = nullptr;
    std::optional<Colour> foreColor_;
    std::optional<Colour> backColor_;
    Colour fillColor_ = 0;
    bool enabled_ = true;
    bool visible_ = true;
    int selStart_ = 0;
    int selLength_ = 0;
    std::vector<std::u16string> items_;
    int listIndex_ = -1;
};

}  // namespace kazunavi
