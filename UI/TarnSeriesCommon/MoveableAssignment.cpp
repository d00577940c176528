#include "UI/TarnSeriesCommon/MoveableAssignment.h"

namespace QZ
{
namespace
{

constexpr std::int32_t kFirstRpnType = 4;
constexpr std::int32_t kLastRpnType = 7;

MoveablePage GetPageOf(const Array<signed char>& values)
{
    if (values.GetAt(1) == 0)
    {
        return values.GetAt(3) != 0 ? MoveablePage::CCRelative : MoveablePage::CCAbsolute;
    }
    const std::int32_t type = values.GetAt(2);
    return type >= kFirstRpnType && type <= kLastRpnType ? MoveablePage::NrpnRpn
                                                         : MoveablePage::Other;
}

} // namespace

MoveableAssignment DecodeMoveableAssignment(const Array<signed char>& values)
{
    MoveableAssignment assignment;
    assignment.page = GetPageOf(values);
    assignment.channel = values.GetAt(0);
    assignment.low = values.GetAt(4);
    assignment.high = values.GetAt(5);
    const std::int32_t type = values.GetAt(2);
    switch (assignment.page)
    {
    case MoveablePage::CCAbsolute:
        assignment.number = type;
        break;
    case MoveablePage::CCRelative:
        assignment.number = type;
        assignment.choice = assignment.low;
        break;
    case MoveablePage::NrpnRpn:
        assignment.choice = type - kFirstRpnType;
        break;
    case MoveablePage::Other:
        // The other list leaves out the RPN/NRPN types.
        assignment.choice = type < kFirstRpnType ? type : type - (kLastRpnType - kFirstRpnType + 1);
        break;
    }
    return assignment;
}

Array<signed char> EncodeMoveableAssignment(const MoveableAssignment& assignment,
                                            const Array<signed char>& shown)
{
    const bool samePage =
        shown.GetCount() == kMoveableValueSize && GetPageOf(shown) == assignment.page;
    const auto filled = [&shown](std::int32_t at)
    { return shown.GetCount() == kMoveableValueSize ? shown.GetAt(at) : 0; };
    const auto choose = [&](std::int32_t item, std::int32_t at, std::int32_t firstItem) {
        return assignment.choice >= 0 ? item : samePage ? filled(at) : firstItem;
    };

    Array<signed char> values(kMoveableValueSize);
    const auto set = [&values](std::int32_t at, std::int32_t byte)
    { values.GetAt(at) = static_cast<signed char>(byte); };
    set(0, assignment.channel >= 0 ? assignment.channel : filled(0));
    switch (assignment.page)
    {
    case MoveablePage::CCAbsolute:
        set(2, assignment.number);
        set(4, assignment.low);
        set(5, assignment.high);
        break;
    case MoveablePage::CCRelative:
        set(2, assignment.number);
        set(3, 1);
        set(4, choose(assignment.choice, 4, 0));
        break;
    case MoveablePage::NrpnRpn:
        set(1, 1);
        set(2, choose(kFirstRpnType + assignment.choice, 2, kFirstRpnType));
        set(4, assignment.low);
        set(5, assignment.high);
        break;
    case MoveablePage::Other:
        set(1, 1);
        set(2, choose(assignment.choice < kFirstRpnType
                          ? assignment.choice
                          : assignment.choice + (kLastRpnType - kFirstRpnType + 1),
                      2, 0));
        set(4, assignment.low);
        set(5, assignment.high);
        break;
    }
    return values;
}

} // namespace QZ
