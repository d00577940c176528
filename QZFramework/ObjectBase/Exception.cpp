#include "QZFramework/ObjectBase/Exception.h"

#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

namespace QZ
{

std::string FormatResultCode(QZRESULT code)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%X", static_cast<unsigned>(code));
    return std::string("QZRESULT = ") + digits;
}

std::string FormatExceptionText(std::string_view kind, std::initializer_list<std::string_view> details,
                                std::string_view method, std::string_view path, int line)
{
    static constexpr std::string_view separator = " : ";
    std::string text(kind);
    for (std::string_view detail : details)
    {
        text.append(separator).append(detail);
    }
    text.append(separator).append(method);
    text.append(separator).append(path);
    text.append(separator).append("Line ").append(std::to_string(line));
    return text;
}

const char* ExceptionBase::What() const
{
    const auto* standard = dynamic_cast<const std::exception*>(this);
    return standard != nullptr ? standard->what() : "";
}

std::string ClassNameOf(const std::type_info& type)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
    return std::string("class ") + (status == 0 && demangled ? demangled.get() : type.name());
}

} // namespace QZ
