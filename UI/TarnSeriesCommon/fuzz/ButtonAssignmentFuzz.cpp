// Push-button values come from preset files and the keyboard: any 17 bytes must decode, and the
// block written back from what the editor shows must keep the channel and the page.
#include "UI/TarnSeriesCommon/ButtonAssignment.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QZ::Variant value;
    static_cast<void>(value.SetBytes(data, static_cast<std::uint32_t>(size)));
    const std::optional<QZ::ButtonValueBytes> bytes = QZ::ReadButtonValue(value);
    if (!bytes)
    {
        return 0;
    }
    QZ::ButtonAssignmentBlock block = QZ::SplitButtonBlock(*bytes);
    QZ::NormalizeButtonModeValues(block);
    const QZ::ButtonAssignment shown = QZ::DecodeButtonAssignment(block);
    const QZ::ButtonAssignmentBlock stored = QZ::EncodeButtonAssignment(shown, block);
    if (stored.GetCount() != QZ::kButtonBlockSize || stored.GetAt(0) != block.GetAt(0) ||
        QZ::DecodeButtonAssignment(stored).page != shown.page)
    {
        std::abort();
    }
    QZ::ButtonValueBytes joined = *bytes;
    if (!QZ::JoinButtonBlock(joined, stored))
    {
        std::abort();
    }
    return 0;
}
