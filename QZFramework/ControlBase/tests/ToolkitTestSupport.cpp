#include "QZFramework/ControlBase/tests/ToolkitTestSupport.h"

#include <stdexcept>

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

} // namespace QZ::ToolkitTest
