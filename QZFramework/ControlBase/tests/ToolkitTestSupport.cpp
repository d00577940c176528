#include "QZFramework/ControlBase/tests/ToolkitTestSupport.h"

#include <stdexcept>

namespace QZ
{

void PrintTo(const WideString& text, std::ostream* out)
{
    *out << '"' << text.ToNarrowString().GetString() << '"';
}

} // namespace QZ

namespace QZ::ToolkitTest
{

std::string ToUtf16WithBom(std::string_view utf8)
{
    const WideString wide(std::string(utf8).c_str());
    std::string bytes = "\xFF\xFE";
    for (const char16_t* unit = wide.GetString(); *unit != 0; ++unit)
    {
        bytes.push_back(static_cast<char>(*unit & 0xFF));
        bytes.push_back(static_cast<char>(*unit >> 8));
    }
    return bytes;
}

RCPtr<LControl> FindDescendant(const RCPtr<LControl>& root, const WideString& name)
{
    std::vector<RCPtr<LControl>> found;
    root->FindDescendantsByName(name, found);
    return found.empty() ? root : found.front();
}

std::vector<std::string>& PhaseLog()
{
    static std::vector<std::string> log;
    return log;
}

namespace
{

void Log(const LControl& control, const char* phase)
{
    PhaseLog().push_back(Narrow(control.GetName()) + ":" + phase);
}

} // namespace

LoggingControl::LoggingControl(const RCPtr<LControl>& parent, const WideString& name,
                               bool mostDerived)
    : LControl(parent, name, mostDerived)
{
    Log(*this, "construct");
}

LoggingControl::~LoggingControl()
{
    Log(*this, "destroy");
}

QZRESULT LoggingControl::ApplyDescriptor(const ConstRCPtr<LControlDescriptor>& descriptor)
{
    Log(*this, "apply");
    return LControl::ApplyDescriptor(descriptor);
}

QZRESULT LoggingControl::CreateChildren(const ConstRCPtr<LControlDescriptor>& descriptor)
{
    Log(*this, "children");
    if (GetName() == u"throwing")
    {
        throw std::runtime_error("creation refused");
    }
    return LControl::CreateChildren(descriptor);
}

QZRESULT LoggingControl::Initialize()
{
    Log(*this, "initialize");
    const QZRESULT result = LControl::Initialize();
    return GetName() == u"failing" ? E_FAIL : result;
}

QZRESULT LoggingControl::PostInitialize()
{
    Log(*this, "post");
    return LControl::PostInitialize();
}

ToolkitFixture::ToolkitFixture()
    : mApplication(std::make_unique<LApplicationBase>()),
      mFactory(new LControlFactory(WideString(u"Test Product"), WideString(u"TestApp")))
{
    mApplication->SetControlFactory(mFactory);
    mFactory->RegisterControlClass(WideString(u"Test.Control"),
                                   &LControlFactory::Create<LoggingControl>);
    PhaseLog().clear();
}

ToolkitFixture::~ToolkitFixture()
{
    mApplication->SetControlFactory(RCPtr<LControlFactory>());
}

void ToolkitFixture::LoadSkin(std::string_view xml)
{
    ASSERT_EQ(mFactory->LoadSkinsFrom(Bytes(xml), "test skin"), S_OK) << mFactory->GetLastError();
}

void ToolkitFixture::LoadStrings(std::string_view xml, std::uint32_t locale)
{
    const std::string utf16 = ToUtf16WithBom(xml);
    ASSERT_EQ(mFactory->LoadStringTablesFrom(Bytes(utf16), "test strings", locale), S_OK)
        << mFactory->GetLastError();
}

void ToolkitFixture::DropApplication()
{
    mApplication->SetControlFactory(RCPtr<LControlFactory>());
    mApplication.reset();
}

RootWindowFixture::RootWindowFixture()
{
    UseApplication<ClockApplication>();
}

void RootWindowFixture::OpenRoot(const char16_t* name,
                                 const RCPtr<LMeasurementRenderer>& measurement)
{
    mWindow = RCPtr<LRootWindow>(new LRootWindow(&mServices));
    if (measurement)
    {
        mWindow->SetMeasurementRenderer(measurement);
    }
    mWindow->GetClientScreenRect();
    ASSERT_EQ(mWindow->CreateRootControl(WideString(name)), S_OK);
    mWindow->GetRootControl()->UpdateConditions();
}

void RootWindowFixture::Press(long x, long y, std::uint32_t button, bool doubleClick)
{
    mHeld |= button;
    mWindow->OnPointerButton(true, button, {x, y}, mHeld, 0, doubleClick);
}

void RootWindowFixture::Release(long x, long y, std::uint32_t button)
{
    mHeld &= ~button;
    mWindow->OnPointerButton(false, button, {x, y}, mHeld, 0, false);
}

void RootWindowFixture::IdleAt(std::uint32_t now)
{
    SetClock(now);
    mWindow->Idle(true);
}

LControl* RootWindowFixture::FindPath(std::u16string_view path) const
{
    LControl* control = mWindow->GetRootControl().Get();
    while (control != nullptr && !path.empty())
    {
        const std::size_t slash = path.find(u'/');
        const std::u16string part(path.substr(0, slash));
        control = control->FindChildByName(WideString(part.c_str())).Get();
        path = slash == std::u16string_view::npos ? std::u16string_view() : path.substr(slash + 1);
    }
    return control;
}

} // namespace QZ::ToolkitTest
