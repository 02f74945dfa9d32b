#pragma once

// One open iconv conversion, reused for many texts.

#include <iconv.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace kazunavi {

class IconvConverter {
  public:
    // How many bytes of the rest of the input make up the sequence that could
    // not be converted (at least 1).
    using InvalidLength = std::size_t (*)(std::string_view rest);
    // For single-byte steps over invalid input.
    static std::size_t oneByte(std::string_view) { return 1; }

    // Throws Failure when the system does not know one of the encodings.
    IconvConverter(const char* toEncoding, const char* fromEncoding);
    IconvConverter(IconvConverter&& other) noexcept;
    IconvConverter& operator=(IconvConverter&& other) noexcept;
    IconvConverter(const IconvConverter&) = delete;
    IconvConverter& operator=(const IconvConverter&) = delete;
    ~IconvConverter();

    // Converts the whole input. A sequence that is invalid or that the target
    // cannot hold becomes `replacement` (already in the target encoding), and
    // conversion goes on after it; nothing is ever dropped silently.
    std::string convert(std::string_view input, std::string_view replacement,
                        InvalidLength invalidLength);

  private:
    iconv_t handle_;
};

}  // namespace kazunavi
