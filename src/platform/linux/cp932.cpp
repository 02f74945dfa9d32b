#include "platform/linux/cp932.h"

#include <algorithm>

#include "platform/linux/unicode_text.h"

namespace kazunavi {

std::size_t cp932PrefixLength(std::string_view bytes, std::size_t maxBytes) {
    std::size_t length = 0;
    while (length < bytes.size()) {
        const std::size_t next =
            length + (isCp932LeadByte(static_cast<unsigned char>(bytes[length])) ? 2 : 1);
        if (next > maxBytes) {
            break;
        }
        length = next;
    }
    // A lead byte at the very end has no second byte; it counts as one character.
    return std::min(length, bytes.size());
}

std::string Cp932Codec::encode(std::u16string_view text) {
    // ASCII is the same in code page 932 (0x5C and 0x7E included).
    if (isAscii(text)) {
        return std::string(text.begin(), text.end());
    }
    if (!encoder_) {
        encoder_.emplace("CP932", "UTF-16LE");
    }
    return encoder_->convert(utf16LeBytes(text), "?", utf16LeCodePointLength);
}

std::u16string Cp932Codec::decode(std::string_view bytes) {
    if (isAscii(bytes)) {
        return std::u16string(bytes.begin(), bytes.end());
    }
    if (!decoder_) {
        decoder_.emplace("UTF-16LE", "CP932");
    }
    return fromUtf16LeBytes(decoder_->convert(bytes, "\xFD\xFF", IconvConverter::oneByte));
}

std::string toCp932(std::u16string_view text) {
    return Cp932Codec().encode(text);
}

std::u16string fromCp932(std::string_view bytes) {
    return Cp932Codec().decode(bytes);
}

}  // namespace kazunavi
