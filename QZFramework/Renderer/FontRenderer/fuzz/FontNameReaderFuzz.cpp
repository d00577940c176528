// Arbitrary bytes as a font file: the name reader must stay inside them and end.
#include "QZFramework/Renderer/FontRenderer/FontNameReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QZ::MemoryFontFileBytes bytes(data, size);
    for (const QZ::SFontName& name : QZ::ReadFontNames(bytes))
    {
        // Every name read is a finished string.
        if (name.family.IsEmpty() || name.subfamily.IsEmpty() || name.faceIndex < 0)
        {
            __builtin_trap();
        }
    }
    return 0;
}
