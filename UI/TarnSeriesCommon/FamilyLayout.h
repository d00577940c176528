// What a control family of the device drawing is made of, as its three panels need it: where its
// tiles stand, how its labels number an element, the skin names and error texts of its children
// and how its value travels (see FamilyGroupPanel.h for how the panels use it). A family keeps
// one layout for the life of the program.
#pragma once

#include "UI/TarnSeriesCommon/FamilyValue.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace QZ
{

class LControl;

// Where an element's tile stands: a child of a bank (a child of the group), or of the group
// itself when the bank is empty.
struct FamilyElementPath
{
    std::u16string bank;
    std::u16string name;
};

// "<bankPrefix>1" onward, each holding "<elementPrefix>1" to "<elementPrefix><perBank>".
[[nodiscard]] std::vector<FamilyElementPath> BankedElements(const char16_t* bankPrefix,
                                                            std::uint32_t banks,
                                                            const char16_t* elementPrefix,
                                                            std::uint32_t perBank);
// "<prefix>1" to "<prefix><count>", children of the group.
[[nodiscard]] std::vector<FamilyElementPath> NumberedElements(const char16_t* prefix,
                                                              std::uint32_t count);
// The named children of the group, in order.
[[nodiscard]] std::vector<FamilyElementPath>
NamedElements(std::initializer_list<const char16_t*> names);

// The number a label shows for an element: its place within its bank, its bank, or its place
// within the family, each counted from 1; Keyed labels show a string of their own per element.
enum class LabelNumber
{
    WithinBank,
    Bank,
    Element,
    Keyed
};

// A label a panel writes when it is bound. Numbered labels format their string-table entry
// "LABEL" each time; a Keyed label shows its string keys[index] and keeps its text for an index
// beyond the keys.
struct FamilyLabel
{
    const char16_t* name;
    // The detail of the error a skin without the label gives.
    const char* missing;
    LabelNumber number;
    std::vector<const char16_t*> keys{};
};

struct FamilyLayout
{
    std::vector<FamilyElementPath> elements{};
    // Elements per bank; 0 for a family without banks.
    std::uint32_t perBank = 0;
    // The control type the device view shows the edit panel of (EditPanelHost.h).
    std::int32_t controlType = 0;
    // Most families show the edit panel before they bind it; a family may bind first.
    bool bindBeforeShow = false;

    // The group panel: its class name (for its errors) and its edit panel under the device view.
    const char* groupClass = "";
    const char16_t* editPanelName = u"";
    // The detail of the error without that edit panel; null: the error of a refused subscription.
    const char* missingEditPanel = nullptr;

    // A tile: its class name, its summary child and the labels it numbers itself on.
    const char* viewClass = "";
    const char16_t* viewName = u"viewPanel";
    const char* missingView = "";
    std::vector<FamilyLabel> viewLabels{};

    // The edit panel: its class name, its shared editor and the labels it shows its element on.
    const char* editClass = "";
    const char16_t* editorName = u"moveableTypePanel";
    const char* missingEditor = "";
    std::vector<FamilyLabel> editLabels{};

    ValueConversion value{};
};

// The number a label shows for element `index` of the family.
[[nodiscard]] std::uint32_t LabelNumberOf(const FamilyLayout& layout, LabelNumber number,
                                          std::uint32_t index);
// Writes the label's text for element `index`.
void WriteFamilyLabel(LControl& label, const FamilyLayout& layout, const FamilyLabel& rule,
                      std::uint32_t index);

} // namespace QZ
