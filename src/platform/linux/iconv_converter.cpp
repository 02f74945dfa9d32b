#include "platform/linux/iconv_converter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/failure.h"

namespace kazunavi {

namespace {

const iconv_t kNoHandle = reinterpret_cast<iconv_t>(-1);
const std::size_t kIconvError = static_cast<std::size_t>(-1);

}  // namespace

IconvConverter::IconvConverter(const char* toEncoding, const char* fromEncoding)
    : handle_(iconv_open(toEncoding, fromEncoding)) {
    if (handle_ == kNoHandle) {
        throw Failure(std::string("no conversion from ") + fromEncoding + " to " + toEncoding +
                      ": " + std::strerror(errno));
    }
}

IconvConverter::IconvConverter(IconvConverter&& other) noexcept
    : handle_(std::exchange(other.handle_, kNoHandle)) {}

IconvConverter& IconvConverter::operator=(IconvConverter&& other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
}

IconvConverter::~IconvConverter() {
    if (handle_ != kNoHandle) {
        iconv_close(handle_);
    }
}

std::string IconvConverter::convert(std::string_view input, std::string_view replacement,
                                    InvalidLength invalidLength) {
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state

    std::string output(input.size() * 2 + 16, '\0');
    std::size_t used = 0;
    // iconv never writes through its input pointer; the cast only meets its C signature.
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();

    const auto ensureRoom = [&](std::size_t needed) {
        if (output.size() - used < needed) {
            output.resize(std::max(output.size() * 2, used + needed));
        }
    };

    while (inLeft > 0) {
        ensureRoom(16);
        char* out = output.data() + used;
        std::size_t outLeft = output.size() - used;
        const std::size_t result = iconv(handle_, &in, &inLeft, &out, &outLeft);
        used = static_cast<std::size_t>(out - output.data());
        if (result != kIconvError) {
            continue;  // all input taken
        }
        if (errno == E2BIG) {
            output.resize(output.size() * 2);
        } else if (errno == EILSEQ || errno == EINVAL) {
            ensureRoom(replacement.size());
            std::memcpy(output.data() + used, replacement.data(), replacement.size());
            used += replacement.size();
            const std::size_t skip =
                std::clamp<std::size_t>(invalidLength(std::string_view(in, inLeft)), 1, inLeft);
            in += skip;
            inLeft -= skip;
            iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        } else {
            throw Failure(std::string("text conversion failed: ") + std::strerror(errno));
        }
    }
    output.resize(used);
    return output;
}

}  // namespace kazunavi
