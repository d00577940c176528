#include "QZFramework/Application/StandInControls.h"

#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/Controls/Panel.h"

#include <set>
#include <string_view>

namespace QZ
{
namespace
{

constexpr std::u16string_view kEditorPrefix = u"RededoVuvuva.";

void CollectEditorClasses(const std::vector<RCPtr<LControlDescriptor>>& descriptors,
                          std::set<std::u16string>& classes)
{
    for (const RCPtr<LControlDescriptor>& descriptor : descriptors)
    {
        const std::u16string_view name(descriptor->className.GetString(),
                                       static_cast<std::size_t>(descriptor->className.GetLength()));
        if (name.starts_with(kEditorPrefix))
        {
            classes.emplace(name);
        }
        CollectEditorClasses(descriptor->subControls, classes);
    }
}

} // namespace

void RegisterStandInControls(LControlFactory& factory)
{
    std::set<std::u16string> classes;
    for (std::int32_t index = 0; index < factory.GetSkinCount(); ++index)
    {
        CollectEditorClasses(factory.GetSkin(index)->subControls, classes);
    }
    for (const std::u16string& name : classes)
    {
        factory.RegisterControlClass(WideString(name.c_str()), &LControlFactory::Create<LPanel>);
    }
}

} // namespace QZ
