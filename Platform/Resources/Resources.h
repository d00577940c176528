// Resources embedded in the program at build time.
//
// CMake turns files of the repository into data compiled into a program (qz_embed_resources in
// EmbedResources.cmake); each file becomes one resource of a type ("GDIPLUS" for images, "QZXML"
// for skins and string tables) and a name: the file's name upper-cased, with every full stop and
// space turned into an underscore ("a b.png" becomes "A_B_PNG"). The generated sources register
// their tables while the program starts; afterwards the set is fixed and may be read from any
// thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace QZ::Resources
{

struct EmbeddedResource
{
    const char* type;
    const char* name;
    const std::uint8_t* data;
    std::size_t size;
};

// Adds a table of resources; called only by the generated sources during static initialisation.
// When two tables hold the same type and name, the one registered first is found.
class Registrar
{
public:
    Registrar(const EmbeddedResource* table, std::size_t count);
};

// The bytes of the resource of that type and name (both compared exactly). False, with the span
// left empty, when there is none; an embedded empty file is found with an empty span.
[[nodiscard]] bool FindResource(std::string_view type, std::string_view name,
                                std::span<const std::uint8_t>& bytes);

// The resource name for a file name by the rule above (ASCII letters are upper-cased).
[[nodiscard]] std::string ResourceNameFromFileName(std::string_view fileName);

} // namespace QZ::Resources
