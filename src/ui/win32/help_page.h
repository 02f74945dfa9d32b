#pragma once

// The help page that lies beside the program on Windows.

#include <filesystem>
#include <string>

namespace kazunavi {

// help\index.html in the folder of the program's file.
std::filesystem::path helpPagePath();
// Its file:/// address, with the characters that need it percent-encoded.
std::u16string helpPageAddress();

}  // namespace kazunavi
