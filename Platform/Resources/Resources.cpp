#include "Platform/Resources/Resources.h"

#include <vector>

namespace QZ::Resources
{
namespace
{

// Built during static initialisation, before any lookup; a function-local object so that the
// generated registrars may run before or after this file's own initialisers.
std::vector<EmbeddedResource>& Registry()
{
    static std::vector<EmbeddedResource> registry;
    return registry;
}

} // namespace

Registrar::Registrar(const EmbeddedResource* table, std::size_t count)
{
    Registry().insert(Registry().end(), table, table + count);
}

bool FindResource(std::string_view type, std::string_view name,
                  std::span<const std::uint8_t>& bytes)
{
    bytes = {};
    for (const EmbeddedResource& resource : Registry())
    {
        if (type == resource.type && name == resource.name)
        {
            bytes = std::span<const std::uint8_t>(resource.data, resource.size);
            return true;
        }
    }
    return false;
}

std::string ResourceNameFromFileName(std::string_view fileName)
{
    std::string name(fileName);
    for (char& c : name)
    {
        if (c >= 'a' && c <= 'z')
        {
            c = static_cast<char>(c - 'a' + 'A');
        }
        else if (c == '.' || c == ' ')
        {
            c = '_';
        }
    }
    return name;
}

} // namespace QZ::Resources
