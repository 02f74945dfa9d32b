#pragma once

#include <string>

#include "shell/model/window.h"

namespace kazunavi {

// Fills a window's inventory: one chain of calls per element.
class ElementBuilder {
  public:
    explicit ElementBuilder(Window& window) : window_(window) {}

    class Chain {
      public:
        explicit Chain(Element& e) : e_(e) {}
        Chain& in(const char* container) {
            e_.container = container;
            return *this;
        }
        Chain& at(int left, int top, int width, int height) {
            e_.geometry = {left, top, width, height};
            return *this;
        }
        Chain& size(int width, int height) {
            e_.geometry.width = width;
            e_.geometry.height = height;
            return *this;
        }
        Chain& from(int x, int y) {
            e_.geometry.left = x;
            e_.geometry.top = y;
            return *this;
        }
        Chain& to(int x, int y) {
            e_.geometry.width = x;
            e_.geometry.height = y;
            return *this;
        }
        Chain& fore(Colour c) {
            e_.setForeColor(c);
            return *this;
        }
        Chain& back(Colour c) {
            e_.setBackColor(c);
            return *this;
        }
        Chain& fill(Colour c) {
            e_.setFillColor(c);
            return *this;
        }
        Chain& borderColour(Colour c) {
            e_.borderColor = c;
            return *this;
        }
        Chain& font(const char16_t* face, double points, bool bold = false, bool italic = false,
                    bool underline = false) {
            e_.font = Font{face, points, bold, italic, underline};
            return *this;
        }
        // "Small Fonts" 6 pt, the face of nearly every caption.
        Chain& small(bool bold) { return font(u"Small Fonts", 6.0, bold); }
        Chain& caption(const char16_t* text) {
            e_.setText(text);
            return *this;
        }
        Chain& text(const char16_t* text) { return caption(text); }
        Chain& tip(const char16_t* text) {
            e_.setToolTipText(text);
            return *this;
        }
        Chain& disabled() {
            e_.setEnabled(false);
            return *this;
        }
        Chain& centred() {
            e_.alignment = Alignment::Center;
            return *this;
        }
        Chain& right() {
            e_.alignment = Alignment::Right;
            return *this;
        }
        Chain& opaque() {
            e_.transparent = false;
            return *this;
        }
        Chain& bordered() {
            e_.border = true;
            return *this;
        }
        Chain& flat() {
            e_.flatColoured = true;
            return *this;
        }
        Chain& multiLine() {
            e_.multiLine = true;
            return *this;
        }
        // A storage element: no place of its own; hidden ones are never shown.
        Chain& storage(bool neverShown) {
            e_.hidden = true;
            e_.setVisible(!neverShown);
            return *this;
        }

      private:
        Element& e_;
    };

    // Labels are transparent unless made opaque.
    Chain label(std::string name) {
        Element& e = add(std::move(name), ElementKind::Label);
        e.transparent = true;
        return Chain(e);
    }
    Chain textBox(std::string name) { return Chain(add(std::move(name), ElementKind::TextBox)); }
    Chain button(std::string name) {
        return Chain(add(std::move(name), ElementKind::CommandButton));
    }
    Chain comboBox(std::string name) { return Chain(add(std::move(name), ElementKind::ComboBox)); }
    Chain listBox(std::string name) { return Chain(add(std::move(name), ElementKind::ListBox)); }
    Chain picture(std::string name) { return Chain(add(std::move(name), ElementKind::Picture)); }
    Chain line(std::string name) { return Chain(add(std::move(name), ElementKind::Line)); }
    Chain shape(std::string name, ShapeForm form) {
        Element& e = add(std::move(name), ElementKind::Shape);
        e.shape = form;
        return Chain(e);
    }

  private:
    Element& add(std::string name, ElementKind kind) { return window_.add(std::move(name), kind); }
    Window& window_;
};

}  // namespace kazunavi
