#include "QZFramework/Application/ApplicationBase.h"

#include <gtest/gtest.h>

#include <string>

using namespace QZ;

namespace
{

class ScriptedClockApplication : public LApplicationBase
{
public:
    std::uint32_t GetTimeMilliseconds() const override { return now; }
    std::uint32_t now = 0;
};

} // namespace

TEST(ApplicationObject, ConstructorInstallsAndDestructorWithdrawsTheOneApplication)
{
    EXPECT_EQ(LApplicationBase::GetApplication(), nullptr);
    {
        LApplicationBase application;
        EXPECT_EQ(LApplicationBase::GetApplication(), &application);
        try
        {
            LApplicationBase second;
            ADD_FAILURE() << "a second application was made";
        }
        catch (const std::logic_error& e)
        {
            EXPECT_EQ(
                std::string(e.what()).rfind("Logic Error : an application object already exists : "
                                            "QZ::LApplicationBase::LApplicationBase : ",
                                            0),
                0u)
                << e.what();
        }
        EXPECT_EQ(LApplicationBase::GetApplication(), &application);
    }
    EXPECT_EQ(LApplicationBase::GetApplication(), nullptr);
}

TEST(ApplicationClock, SecondsAdvanceByMillisecondDifferencesAcrossTheWrap)
{
    ScriptedClockApplication application;
    application.now = 0xFFFFFE00u;
    EXPECT_EQ(application.GetTimeSeconds(), 0.0);
    application.now = 0xFFFFFFFFu;
    EXPECT_DOUBLE_EQ(application.GetTimeSeconds(), 0.511);
    application.now = 0x00000101u;
    EXPECT_DOUBLE_EQ(application.GetTimeSeconds(), 0.769);
}

TEST(ApplicationClock, MillisecondsComeFromASteadyClock)
{
    LApplicationBase application;
    const std::uint32_t first = application.GetTimeMilliseconds();
    EXPECT_LT(application.GetTimeMilliseconds() - first, 1000u);
}

TEST(ApplicationFont, DefaultFontIsTheFallbackFamilyAtNinePoints)
{
    LApplicationBase application;
    WideString face;
    float size = 0;
    std::int32_t style = -1;
    ASSERT_EQ(application.GetDefaultFont(face, size, style), S_OK);
    EXPECT_EQ(face, WideString(u"DejaVu Sans"));
    EXPECT_EQ(size, 9.0f);
    EXPECT_EQ(style, 0);
}
