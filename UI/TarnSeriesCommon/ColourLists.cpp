#include "UI/TarnSeriesCommon/ColourLists.h"

#include "QZFramework/Controls/ComboBox.h"
#include "UI/TarnSeriesCommon/ControlUtilities.h"
#include "UI/TarnSeriesCommon/NumberText.h"

#include <string>
#include <string_view>
#include <vector>

namespace QZ
{

ColourLists RequireColourLists(const RCPtr<LControl>& page, const char* method)
{
    ColourLists lists;
    for (std::uint32_t n = 1; n <= lists.size(); ++n)
    {
        const std::string detail = "Couldn't find child color" + std::to_string(n);
        lists[n - 1] = RequireChild<LComboBox>(
            page, {NumberedName(u"color", n).GetString(), u"comboBox"}, method, detail.c_str());
    }
    return lists;
}

void CaptionColourLists(const LControl& panel)
{
    std::vector<RCPtr<LControl>> labels;
    panel.FindDescendantsByName(WideString(u"colorNameLabel"), labels);
    for (const RCPtr<LControl>& label : labels)
    {
        const LControl* selector = label->GetParent().Get();
        const std::u16string_view name = selector ? selector->GetName().GetString() : u"";
        WideString text;
        if (name == u"asciiColor")
        {
            label->SetText(label->GetString(text, u"ASCII_COLOR_LABEL"), true);
        }
        else if (name.size() == 6 && name.starts_with(u"color") && name[5] >= u'1' &&
                 name[5] <= u'4')
        {
            label->SetText(FormatNumberText(label->GetString(text, u"NUMBERED_COLOR_LABEL"),
                                            static_cast<std::uint32_t>(name[5] - u'0')),
                           true);
        }
    }
}

} // namespace QZ
