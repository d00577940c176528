// The driver-failure messages: texts from the framework string table with their numbers filled
// in safely, shown through the application's message-box service.
#include "QZFramework/Renderer/OpenGL/GLMessages.h"
#include "QZFramework/Renderer/Renderer.h"

#include <gtest/gtest.h>

#include <exception>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace QZ
{
namespace
{

class RecordingMessages : public IGLMessageService
{
public:
    struct Box
    {
        std::u16string text;
        std::u16string caption;
        std::uint32_t style;
    };

    RecordingMessages() { SetGLMessageService(this); }
    ~RecordingMessages() override { SetGLMessageService(nullptr); }
    RecordingMessages(const RecordingMessages&) = delete;
    RecordingMessages& operator=(const RecordingMessages&) = delete;

    bool LookupFrameworkString(const char16_t* key, WideString& text) const override
    {
        if (std::u16string_view(key) != u"GL_ERROR_CAPTION")
        {
            return false;
        }
        text = u"OpenGL-Fehler";
        return true;
    }
    void ShowMessageBox(const WideString& text, const WideString& caption,
                        std::uint32_t style) override
    {
        boxes.push_back({text.GetString(), caption.GetString(), style});
    }

    std::vector<Box> boxes;
};

const std::u16string kAdvice = u"Updating your video card driver, with the latest driver from "
                               u"the manufacturer of your video card, may solve this issue.";

TEST(GLMessages, NumbersGoOnlyIntoTheirPlaceholders)
{
    using Case = std::tuple<const char16_t*, const char16_t*>;
    const Case cases[] = {
        {u"wglMakeCurrent failed with error %d: %s.", u"wglMakeCurrent failed with error 12: bad."},
        // A translation with stray conversions: each placeholder is filled once, the rest stays.
        {u"%s %s %d %d %n %x %%", u"bad %s 12 %d %n %x %%"},
        {u"no placeholders", u"no placeholders"},
        {u"%", u"%"},
    };
    for (const auto& [text, expected] : cases)
    {
        EXPECT_EQ(std::u16string(FillErrorNumber(text, 12, u"bad").GetString()), expected);
    }
    const std::u16string longText(400, u'x');
    EXPECT_EQ(FillErrorNumber(longText.c_str(), 1, u"").GetLength(), kGLMessageMaxLength);
}

TEST(GLMessages, ReportsGoThroughTheMessageService)
{
    RecordingMessages messages;
    ReportGLError(u"GL_ERROR_MESSAGE_MAKE_CONTEXT_CURRENT", 12289, u"EGL is not initialised");
    ASSERT_EQ(messages.boxes.size(), 1u);
    EXPECT_EQ(messages.boxes[0].text,
              u"wglMakeCurrent failed with error 12289: EGL is not initialised." + kAdvice);
    EXPECT_EQ(messages.boxes[0].caption, u"OpenGL-Fehler");
    EXPECT_EQ(messages.boxes[0].style, kGLMessageBoxExclamation);
}

// A renderer that gets no context, and an off-screen context that has no window to be made
// current on.
TEST(GLMessages, ContextFailuresAreReportedAndThrown)
{
    RecordingMessages messages;
    const RCPtr<LRenderer> offScreen = LRenderer::Create(LRenderer::kTypeOpenGL, {}, nullptr);
    int window = 0;
    RCPtr<LRenderContextInfo> context;
    using Case = std::tuple<std::function<void()>, const char*, std::u16string>;
    const Case cases[] = {
        {[&] {
             (void)LRenderer::Create(LRenderer::kTypeOpenGL, {0, 0, 10, 10}, &window);
         },
         "QZ::LGLRenderer::LGLRenderer", u"wglCreateContext failed."},
        {[&] {
             (void)offScreen->InitRenderContextInfo({0, 0, 4, 4}, &window, false, context);
         },
         "QZ::LGLRenderer::InitRenderContextInfo",
         u"wglMakeCurrent failed with error 12301: eglMakeCurrent: an off-screen context has no "
         u"window."},
    };
    for (const auto& [action, where, text] : cases)
    {
        messages.boxes.clear();
        std::string thrown;
        try
        {
            action();
        }
        catch (const std::exception& e)
        {
            thrown = e.what();
        }
        EXPECT_EQ(thrown.rfind("Runtime Error : ", 0), 0u) << thrown;
        EXPECT_NE(thrown.find(where), std::string::npos) << thrown;
        ASSERT_EQ(messages.boxes.size(), 1u);
        EXPECT_EQ(messages.boxes[0].text, text + kAdvice);
    }
    EXPECT_TRUE(context.IsNull());
}

} // namespace
} // namespace QZ
