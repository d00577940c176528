// Feeds arbitrary bytes to the user-dirs reader as the file's text.
#include "Platform/Shell/UserDirs.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto folder = QZ::Shell::FindUserDir(text, "XDG_DOCUMENTS_DIR", "/home/user");
    if (folder && folder->empty())
    {
        __builtin_trap();
    }
    return 0;
}
