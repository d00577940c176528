#include "UI/TarnSeriesCommon/tests/ShippedSkinFixture.h"

#include "QZFramework/ControlBase/ControlDescriptor.h"
#include "QZFramework/Controls/Button.h"
#include "QZFramework/Controls/ComboBox.h"
#include "QZFramework/Controls/Label.h"
#include "QZFramework/Controls/ListBox.h"
#include "QZFramework/Controls/NumericUpDown.h"
#include "QZFramework/Controls/TabControl.h"
#include "QZFramework/Controls/TextBox.h"

#include <stdexcept>

namespace QZ
{
namespace
{

constexpr std::uint32_t kEnglish = 0x0009;

std::vector<std::u16string> Split(const std::u16string& path)
{
    std::vector<std::u16string> parts;
    std::size_t start = 0;
    while (start <= path.size())
    {
        const std::size_t slash = std::min(path.find(u'/', start), path.size());
        parts.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    return parts;
}

LControlFactory::CreateFunction DefaultFor(const std::u16string& className)
{
    static const std::map<std::u16string, LControlFactory::CreateFunction> framework{
        {u"Framework.Button", &LControlFactory::Create<LButton>},
        {u"Framework.ComboBox", &LControlFactory::Create<LComboBox>},
        {u"Framework.Label", &LControlFactory::Create<LLabel>},
        {u"Framework.ListBox", &LControlFactory::Create<LListBox>},
        {u"Framework.NumericUpDown", &LControlFactory::Create<LNumericUpDown>},
        {u"Framework.TextBox", &LControlFactory::Create<LTextBox>}};
    const auto found = framework.find(className);
    if (found != framework.end())
    {
        return found->second;
    }
    if (className.ends_with(u".TabControl"))
    {
        return &LControlFactory::Create<LTabControl>;
    }
    return &LControlFactory::Create<LPanel>;
}

} // namespace

ShippedSkinFixture::ShippedSkinFixture()
{
    mApplication.SetControlFactory(mFactory);
    mFactory->SetBaseFolder(WideString(u"::"));
    EXPECT_EQ(mFactory->LoadStringTables(WideString(u"::APP_STRINGS"),
                                         WideString(u"::FRAMEWORK_STRINGS"), kEnglish),
              S_OK)
        << mFactory->GetLastError();
    EXPECT_EQ(mFactory->LoadSkins(WideString(u"::APP_SKINS")), S_OK) << mFactory->GetLastError();
}

ShippedSkinFixture::~ShippedSkinFixture()
{
    mHost = nullptr;
    mFormerHosts.clear();
    mApplication.SetControlFactory(RCPtr<LControlFactory>());
}

void ShippedSkinFixture::Register(const char16_t* className, LControlFactory::CreateFunction create)
{
    mPanels[className] = create;
}

void ShippedSkinFixture::RegisterDefaults(const LControlDescriptor& descriptor)
{
    const std::u16string className(descriptor.className.GetString());
    const auto panel = mPanels.find(className);
    mFactory->RegisterControlClass(descriptor.className,
                                   panel != mPanels.end() ? panel->second : DefaultFor(className));
    for (const RCPtr<LControlDescriptor>& child : descriptor.subControls)
    {
        RegisterDefaults(*child);
    }
}

RCPtr<LControlDescriptor> ShippedSkinFixture::FindDescriptor(const std::u16string& path) const
{
    const std::vector<std::u16string> names = Split(path);
    RCPtr<LControlDescriptor> at = mFactory->FindSkinSubControl(WideString(names[0].c_str()));
    for (std::size_t i = 1; at && i < names.size(); ++i)
    {
        RCPtr<LControlDescriptor> next;
        for (const RCPtr<LControlDescriptor>& child : at->subControls)
        {
            if (names[i] == child->name.GetString())
            {
                next = child;
            }
        }
        at = next;
    }
    return at;
}

RCPtr<LControl> ShippedSkinFixture::Build(const std::u16string& path)
{
    const RCPtr<LControlDescriptor> at = FindDescriptor(path);
    if (!at)
    {
        ADD_FAILURE() << "no skin control at the path";
        return nullptr;
    }
    RegisterDefaults(*at);
    if (mHost->FindChildByName(at->name))
    {
        mFormerHosts.push_back(mHost);
        mHost = new LControl(RCPtr<LControl>(), WideString(u"host"), true);
    }
    RCPtr<LControl> control;
    EXPECT_EQ(mFactory->CreateControl(control, at, mHost), S_OK);
    return control;
}

std::string ShippedSkinFixture::BuildWithout(const std::u16string& path,
                                             const std::u16string& parent,
                                             const std::u16string& removed)
{
    const RCPtr<LControlDescriptor> at = FindDescriptor(parent);
    if (!at)
    {
        ADD_FAILURE() << "no skin control at the parent path";
        return {};
    }
    const std::vector<RCPtr<LControlDescriptor>> all = at->subControls;
    std::erase_if(at->subControls, [&removed](const RCPtr<LControlDescriptor>& child)
                  { return removed == child->name.GetString(); });
    std::string text;
    try
    {
        Build(path);
    }
    catch (const std::runtime_error& error)
    {
        text = error.what();
    }
    at->subControls = all;
    return text;
}

RCPtr<LControl> ShippedSkinFixture::BuildRoot(const std::u16string& name)
{
    const RCPtr<LControlDescriptor> top = FindDescriptor(name);
    if (!top)
    {
        ADD_FAILURE() << "no top-level skin control of that name";
        return nullptr;
    }
    RegisterDefaults(*top);
    RCPtr<LControl> control;
    EXPECT_EQ(mFactory->CreateRootControl(control, WideString(name.c_str())), S_OK);
    return control;
}

RCPtr<LControl> ShippedSkinFixture::Descend(const RCPtr<LControl>& from, const std::u16string& path)
{
    RCPtr<LControl> control = from;
    for (const std::u16string& name : Split(path))
    {
        if (!control)
        {
            break;
        }
        control = control->FindChildByName(WideString(name.c_str()));
    }
    return control;
}

} // namespace QZ
