#include "UI/TarnSeriesCommon/ControlUtilities.h"

#include "DeviceControl/GeneratedCode/Engine/Inc/IRootModule.h"
#include "Engine/RededoVuvuvaCommon/RootModuleEngine.h"
#include "QZFramework/Controls/ComboBox.h"
#include "QZFramework/Controls/NumericUpDown.h"
#include "UI/TarnSeriesCommon/EditPanelHost.h"

#include <string>

namespace QZ
{

RCPtr<LControl> FindDescendant(const RCPtr<LControl>& from,
                               std::initializer_list<const char16_t*> path)
{
    RCPtr<LControl> control = from;
    for (const char16_t* name : path)
    {
        if (!control)
        {
            break;
        }
        control = control->FindChildByName(WideString(name));
    }
    return control;
}

WideString NumberedName(const char16_t* prefix, std::uint32_t number)
{
    std::u16string name(prefix);
    for (const char digit : std::to_string(number))
    {
        name.push_back(static_cast<char16_t>(digit));
    }
    return WideString(name.c_str());
}

RCPtr<LComboBox> FindComboBoxChild(const RCPtr<LControl>& control)
{
    return FindChildAs<LComboBox>(control, {u"comboBox"});
}

RCPtr<LNumericUpDown> FindNumericUpDownChild(const RCPtr<LControl>& control)
{
    return FindChildAs<LNumericUpDown>(control, {u"numericUpDown"});
}

RCPtr<LNumericUpDown> FindCCSelectorUpDown(const RCPtr<LControl>& control)
{
    return FindChildAs<LNumericUpDown>(control, {u"ccSelector", u"numericUpDown"});
}

RCPtr<LControl> FindMinMaxSelectors(const RCPtr<LControl>& control)
{
    return FindDescendant(control, {u"minMaxSelectors"});
}

RCPtr<LControl> FindMSBLSBSelectors(const RCPtr<LControl>& control)
{
    return FindDescendant(control, {u"msbLSBSelectors"});
}

RCPtr<LNumericUpDown> FindMinUpDown(const RCPtr<LControl>& page)
{
    return FindChildAs<LNumericUpDown>(page, {u"minMaxSelectors", u"min", u"numericUpDown"});
}

RCPtr<LNumericUpDown> FindMaxUpDown(const RCPtr<LControl>& page)
{
    return FindChildAs<LNumericUpDown>(page, {u"minMaxSelectors", u"max", u"numericUpDown"});
}

RCPtr<LNumericUpDown> FindLSBUpDown(const RCPtr<LControl>& page)
{
    return FindChildAs<LNumericUpDown>(page, {u"msbLSBSelectors", u"lsb", u"numericUpDown"});
}

RCPtr<LNumericUpDown> FindMSBUpDown(const RCPtr<LControl>& page)
{
    return FindChildAs<LNumericUpDown>(page, {u"msbLSBSelectors", u"msb", u"numericUpDown"});
}

RCPtr<LControl> FindDeviceViewChild(LControl& panel, const char16_t* name)
{
    RCPtr<LControl> root;
    panel.GetRootControl(root);
    return FindDescendant(root, {u"viewDevice", name});
}

bool ShowEditPanelOf(LControl& panel, std::int32_t controlType, std::int32_t subtype)
{
    RCPtr<LControl> root;
    panel.GetRootControl(root);
    const RCPtr<LControl> device = FindDescendant(root, {u"viewDevice"});
    auto* host = dynamic_cast<IEditPanelHost*>(device.Get());
    if (host == nullptr)
    {
        return false;
    }
    host->ShowEditPanel(controlType, subtype);
    return true;
}

bool SendToMainControl(LControl& panel, const ParamDescriptor& descriptor, const Variant& value)
{
    RCPtr<LControl> root;
    panel.GetRootControl(root);
    auto* main = dynamic_cast<IRootModule*>(root.Get());
    if (main == nullptr)
    {
        return false;
    }
    main->SendParamValue(descriptor, value);
    return true;
}

bool ShowEngineValue(LParameterizedModule& module)
{
    const RCPtr<LRootModuleEngine> engine = GetRootModuleEngine();
    const ParamDescriptor descriptor(module.GetFirstParamID());
    Variant value;
    return engine && engine->GetParamValue(descriptor, value) >= 0 &&
           module.SetParamValueLocal(descriptor, value, false) == 0;
}

bool IsSupersededEngineValue(const ParamDescriptor& descriptor, const Variant& value)
{
    const RCPtr<LRootModuleEngine> engine = GetRootModuleEngine();
    Variant current;
    return engine && engine->GetParamValue(descriptor, current) >= 0 && current != value;
}

} // namespace QZ
