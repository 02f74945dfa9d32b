#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace kazunavi {

// An immutable text that its copies share. A clipboard text can be millions
// of characters long; the elements that show it and the clipboard reader
// then hold it once, and two copies of one text compare at once.
class SharedText {
  public:
    SharedText() = default;
    SharedText(std::u16string text)  // NOLINT: a text is a shared text
        : text_(std::make_shared<const std::u16string>(std::move(text))) {}
    SharedText(std::u16string_view text) : SharedText(std::u16string(text)) {}  // NOLINT
    SharedText(const char16_t* text) : SharedText(std::u16string(text)) {}      // NOLINT

    const std::u16string& get() const { return text_ ? *text_ : empty(); }

    friend bool operator==(const SharedText& a, const SharedText& b) {
        return a.text_ == b.text_ || a.get() == b.get();
    }

  private:
    static const std::u16string& empty() {
        static const std::u16string none;
        return none;
    }
    std::shared_ptr<const std::u16string> text_;
};

}  // namespace kazunavi
