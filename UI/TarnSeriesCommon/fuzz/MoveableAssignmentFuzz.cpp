// Continuous-control values come from preset files and the keyboard: any 6 bytes must decode to
// a page, and what that page shows (lists without the items they lack, numbers held to 0-127)
// must encode to a value of the same page that shows and reads back unchanged.
#include "UI/TarnSeriesCommon/MoveableAssignment.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{

// What the editor's lists and up-downs make of an assignment.
QZ::MoveableAssignment Shown(QZ::MoveableAssignment assignment)
{
    const auto item = [](std::int32_t index, std::int32_t count)
    { return index >= 0 && index < count ? index : -1; };
    const auto number = [](std::int32_t value) { return std::clamp(value, 0, 127); };
    assignment.channel = item(assignment.channel, QZ::kMoveableChannels);
    switch (assignment.page)
    {
    case QZ::MoveablePage::CCAbsolute:
        assignment.choice = -1;
        break;
    case QZ::MoveablePage::CCRelative:
        assignment.choice = item(assignment.choice, QZ::kRelativeTypes);
        break;
    case QZ::MoveablePage::NrpnRpn:
        assignment.choice = item(assignment.choice, QZ::kRpnTypes);
        break;
    case QZ::MoveablePage::Other:
        assignment.choice = item(assignment.choice, QZ::kOtherTypes);
        break;
    }
    assignment.number = number(assignment.number);
    assignment.low = number(assignment.low);
    assignment.high = number(assignment.high);
    return assignment;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size != static_cast<std::size_t>(QZ::kMoveableValueSize))
    {
        return 0;
    }
    QZ::Array<signed char> value(QZ::kMoveableValueSize);
    std::copy(data, data + size, value.GetData());
    const QZ::MoveableAssignment decoded = QZ::DecodeMoveableAssignment(value);
    const QZ::Array<signed char> read = QZ::EncodeMoveableAssignment(Shown(decoded), value);
    const QZ::MoveableAssignment again = QZ::DecodeMoveableAssignment(read);
    if (read.GetCount() != QZ::kMoveableValueSize || again.page != decoded.page ||
        (read.GetAt(1) != 0 && read.GetAt(1) != 1) || (read.GetAt(3) != 0 && read.GetAt(3) != 1) ||
        !std::equal(read.GetData(), read.GetData() + read.GetCount(),
                    QZ::EncodeMoveableAssignment(Shown(again), read).GetData()))
    {
        std::abort();
    }
    return 0;
}
