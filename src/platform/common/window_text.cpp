#include "platform/common/window_text.h"

#include "platform/common/cp932.h"

namespace kazunavi {

std::u16string narrowWindowText(std::u16string_view title, int bufferSize) {
    if (bufferSize <= 0) {
        return {};
    }
    const std::string narrow = toCp932(title, Cp932Escapes::kBroken);
    const std::size_t keep = cp932PrefixLength(narrow, static_cast<std::size_t>(bufferSize) - 1);
    return fromCp932(std::string_view(narrow).substr(0, keep));
}

}  // namespace kazunavi
