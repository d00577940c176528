// Shared pieces of the toolkit tests: an application with a control factory, a control class
// that logs its creation phases, and byte helpers for in-memory skins and string tables.
#pragma once

#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/ClipboardTextInterface.h"
#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/Renderer/MeasurementRenderer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace QZ
{

// Failure messages show wide text as UTF-8.
void PrintTo(const WideString& text, std::ostream* out);

} // namespace QZ

namespace QZ::ToolkitTest
{

[[nodiscard]] inline std::span<const std::uint8_t> Bytes(std::string_view text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// UTF-8 text as UTF-16 little-endian bytes, led by a byte-order mark.
[[nodiscard]] std::string ToUtf16WithBom(std::string_view utf8);

[[nodiscard]] inline std::string Narrow(const WideString& text)
{
    return text.ToNarrowString().GetString();
}

// The first control of that name below the root, or the root itself when there is none.
[[nodiscard]] RCPtr<LControl> FindDescendant(const RCPtr<LControl>& root, const WideString& name);

// Every creation phase and destruction of a LoggingControl, as "<name>:<phase>".
std::vector<std::string>& PhaseLog();

// A control that logs its phases. A control named "failing" fails Initialize; one named
// "throwing" throws from CreateChildren.
class LoggingControl : public LControl
{
public:
    LoggingControl(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LoggingControl() override;

    QZRESULT ApplyDescriptor(const ConstRCPtr<LControlDescriptor>& descriptor) override;
    QZRESULT CreateChildren(const ConstRCPtr<LControlDescriptor>& descriptor) override;
    QZRESULT Initialize() override;
    QZRESULT PostInitialize() override;
};

// An application object holding a factory (application ID "TestApp") that knows the class
// "Test.Control" as a LoggingControl.
class ToolkitFixture : public ::testing::Test
{
protected:
    ToolkitFixture();
    ~ToolkitFixture() override;

    void LoadSkin(std::string_view xml);
    void LoadStrings(std::string_view xml, std::uint32_t locale = 0x0409);
    // Puts an App in place of the application (only one may exist at a time), with the same
    // factory.
    template <class App> App& UseApplication()
    {
        DropApplication();
        auto application = std::make_unique<App>();
        App& used = *application;
        mApplication = std::move(application);
        mApplication->SetControlFactory(mFactory);
        return used;
    }
    template <class T> void Register(const char16_t* className)
    {
        mFactory->RegisterControlClass(WideString(className), &LControlFactory::Create<T>);
    }

    std::unique_ptr<LApplicationBase> mApplication;
    RCPtr<LControlFactory> mFactory;

private:
    void DropApplication();
};

// An application whose millisecond clock the test sets.
class ClockApplication : public LApplicationBase
{
public:
    [[nodiscard]] std::uint32_t GetTimeMilliseconds() const override { return now; }
    std::uint32_t now = 1000;
};

// An operating-system window at the screen's origin, 200 x 100 client pixels unless the test
// sets another size, that records the cursors it is given, counts its immediate redraws and
// records the results its modal loops were ended with.
class FakeWindow : public IWindowOSServices
{
public:
    FakeWindow() = default;
    FakeWindow(std::int32_t clientWidth, std::int32_t clientHeight)
        : width(clientWidth), height(clientHeight)
    {
    }

    void GetClientRect(std::int32_t& x, std::int32_t& y, std::int32_t& w, std::int32_t& h) override
    {
        x = 0;
        y = 0;
        w = width;
        h = height;
    }
    void ClientToScreen(PointT<std::int32_t>& out, const PointT<std::int32_t>& point) override
    {
        out = point;
    }
    void InvalidateRect(const RectT<long>&) override {}
    QZRESULT RedrawNow() override
    {
        ++redraws;
        return S_OK;
    }
    bool IsActive() override { return true; }
    std::int32_t RunModalLoop() override { return 0; }
    void EndModalLoop(std::int32_t result) override { ended.push_back(result); }
    void* GetWindowHandle() override { return nullptr; }
    LCursor SetCursor(LCursor cursor) override
    {
        cursors.push_back(cursor);
        const LCursor previous = current;
        current = cursor;
        return previous;
    }
    void SetWindowTitle(const WideString&) override {}
    void SetClientScreenRect(const RectT<std::int32_t>&) override {}

    std::int32_t width = 200;
    std::int32_t height = 100;
    std::vector<LCursor> cursors;
    LCursor current = kNoCursor;
    std::int32_t redraws = 0;
    std::vector<std::int32_t> ended;
};

// The same window at 300 x 200 client pixels.
class FakeWindowServices : public FakeWindow
{
public:
    FakeWindowServices() : FakeWindow(300, 200) {}
};

// A clipboard holding one text; one that fails refuses both to give and to take it.
class FakeClipboard : public IClipboardText
{
public:
    QZRESULT SetText(const WideString& value) override
    {
        if (fails)
        {
            return E_FAIL;
        }
        text = value;
        return S_OK;
    }
    QZRESULT GetText(WideString& value) override
    {
        value = fails ? WideString() : text;
        return fails ? E_FAIL : S_OK;
    }

    WideString text;
    bool fails = false;
};

// Text measured without fonts: every UTF-16 unit is 10 pixels wide, every line the given height
// with 2 pixels of it below the baseline.
class FixedWidthMeasurement : public LMeasurementRenderer
{
public:
    explicit FixedWidthMeasurement(std::int32_t lineHeight) : mLineHeight(lineHeight) {}

    QZRESULT GetFontMetrics(const ConstRCPtr<LFont>&, std::int32_t& height, std::int32_t& ascent,
                            std::int32_t& descent) override
    {
        height = mLineHeight;
        ascent = mLineHeight - 2;
        descent = 2;
        return S_OK;
    }
    RectT<float> MeasureText(const WideString& text, const ConstRCPtr<LFont>&) override
    {
        return {0.0f, 0.0f, 10.0f * static_cast<float>(text.GetLength()),
                static_cast<float>(mLineHeight)};
    }

private:
    std::int32_t mLineHeight;
};

// A toolkit fixture whose application clock the test sets, with a root window over a fake
// operating-system window of 300 x 200 client pixels (a test may size it before it opens the
// root) and pointer buttons held down by Press and let go by Release.
class RootWindowFixture : public ToolkitFixture
{
protected:
    RootWindowFixture();

    void TearDown() override { mWindow = RCPtr<LRootWindow>(); }

    // The skin's top-level control of that name as the window's root, its conditions updated;
    // the window measures text with the renderer given, if any.
    void OpenRoot(const char16_t* name,
                  const RCPtr<LMeasurementRenderer>& measurement = RCPtr<LMeasurementRenderer>());
    // The control at a path of child names below the root, "/" between them; null if there is
    // none or it is not a T.
    template <class T = LControl> T* Find(const char16_t* path)
    {
        return dynamic_cast<T*>(FindPath(path));
    }

    void Move(long x, long y) { mWindow->OnPointerMove({x, y}, mHeld, 0); }
    void Press(long x, long y, std::uint32_t button = 1, bool doubleClick = false);
    void Release(long x, long y, std::uint32_t button = 1);
    ClockApplication& Clock() { return static_cast<ClockApplication&>(*mApplication); }
    void SetClock(std::uint32_t now) { Clock().now = now; }
    // Sets the clock and runs one idle step.
    void IdleAt(std::uint32_t now);

    FakeWindow mServices{300, 200};
    RCPtr<LRootWindow> mWindow;
    std::uint32_t mHeld = 0;

private:
    LControl* FindPath(std::u16string_view path) const;
};

} // namespace QZ::ToolkitTest
