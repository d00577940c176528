#include "Platform/Dialogs/MessageBox.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace QZ::Dialogs;

TEST(MessageBox, WithoutADisplayTheTextGoesToStderrOnly)
{
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    testing::internal::CaptureStderr();
    EXPECT_EQ(ShowMessageBox("Die Anwendung wird beendet.", "Fehler", kIconError), kResultNone);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Fehler: Die Anwendung wird beendet.\n");

    // An empty variable is no display either.
    setenv("DISPLAY", "", 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(ShowMessageBox("text", "caption", kIconInformation), kResultNone);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "caption: text\n");
    unsetenv("DISPLAY");
}
