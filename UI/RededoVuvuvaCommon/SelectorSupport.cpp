#include "UI/RededoVuvuvaCommon/SelectorSupport.h"

#include "QZFramework/ControlBase/StringTable.h"
#include "QZFramework/Controls/NumericUpDown.h"

namespace QZ
{

std::int32_t GetWholeNumber(const LNumericUpDown& upDown)
{
    return static_cast<std::int32_t>(upDown.PositionToValue(upDown.GetValue()));
}

QZRESULT ShowTableEntry(const RCPtr<LStringTable>& table, std::uint32_t index, LControl& label)
{
    LStringEntries entries;
    if (table)
    {
        table->GetAllEntries(entries);
    }
    if (index >= entries.size())
    {
        return S_OK;
    }
    return label.SetText(entries[index].text, true) ? S_OK : 1;
}

} // namespace QZ
