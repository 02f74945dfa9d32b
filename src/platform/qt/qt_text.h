#pragma once

// The program's UTF-16 text and Qt's, both ways.

#include <QString>
#include <string>
#include <string_view>

namespace kazunavi {

inline QString qText(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::u16string u16(const QString& text) {
    return text.toStdU16String();
}

}  // namespace kazunavi
