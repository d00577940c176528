// Texts from the string tables that carry one number ("B%d", "CC:\n%u"). A translated table is
// outside input: its text is formatted only when it holds exactly one plain "%d" or "%u" (besides
// "%%"), and is shown as it stands otherwise.
#pragma once

#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

[[nodiscard]] WideString FormatNumberText(const WideString& text, std::uint32_t number);

} // namespace QZ
