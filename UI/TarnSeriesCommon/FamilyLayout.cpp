#include "UI/TarnSeriesCommon/FamilyLayout.h"

#include "QZFramework/ControlBase/Control.h"
#include "UI/TarnSeriesCommon/ControlUtilities.h"
#include "UI/TarnSeriesCommon/NumberText.h"

namespace QZ
{
namespace
{

std::u16string Numbered(const char16_t* prefix, std::uint32_t number)
{
    return NumberedName(prefix, number).GetString();
}

} // namespace

std::vector<FamilyElementPath> BankedElements(const char16_t* bankPrefix, std::uint32_t banks,
                                              const char16_t* elementPrefix, std::uint32_t perBank)
{
    std::vector<FamilyElementPath> paths;
    for (std::uint32_t bank = 1; bank <= banks; ++bank)
    {
        for (std::uint32_t element = 1; element <= perBank; ++element)
        {
            paths.push_back({Numbered(bankPrefix, bank), Numbered(elementPrefix, element)});
        }
    }
    return paths;
}

std::vector<FamilyElementPath> NumberedElements(const char16_t* prefix, std::uint32_t count)
{
    std::vector<FamilyElementPath> paths;
    for (std::uint32_t element = 1; element <= count; ++element)
    {
        paths.push_back({u"", Numbered(prefix, element)});
    }
    return paths;
}

std::vector<FamilyElementPath> NamedElements(std::initializer_list<const char16_t*> names)
{
    std::vector<FamilyElementPath> paths;
    for (const char16_t* name : names)
    {
        paths.push_back({u"", name});
    }
    return paths;
}

std::uint32_t LabelNumberOf(const FamilyLayout& layout, LabelNumber number, std::uint32_t index)
{
    switch (number)
    {
    case LabelNumber::WithinBank:
        return (layout.perBank == 0 ? index : index % layout.perBank) + 1;
    case LabelNumber::Bank:
        return (layout.perBank == 0 ? 0 : index / layout.perBank) + 1;
    case LabelNumber::Element:
    case LabelNumber::Keyed:
        break;
    }
    return index + 1;
}

void WriteFamilyLabel(LControl& label, const FamilyLayout& layout, const FamilyLabel& rule,
                      std::uint32_t index)
{
    WideString text;
    if (rule.number != LabelNumber::Keyed)
    {
        label.GetString(text, u"LABEL");
        label.SetText(FormatNumberText(text, LabelNumberOf(layout, rule.number, index)), true);
    }
    else if (index < rule.keys.size())
    {
        label.SetText(label.GetString(text, rule.keys[index]), true);
    }
}

} // namespace QZ
