// A whole process that shows a window with a tree of 2,000 controls and ends once its first frame
// is on the screen: the skin is read, the tree built, the window opened and painted. Run by
// FirstFrameBenchmark; needs a display.
#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/ControlBase/OSWindow.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/ControlBase/WindowEventLoop.h"
#include "QZFramework/Renderer/Renderer.h"

#include <cstdio>
#include <span>
#include <string>

namespace
{

using namespace QZ;

constexpr int kColumns = 50;
constexpr int kRows = 40;

// Paints a flat colour.
class Tile : public LControl
{
public:
    using LControl::LControl;

protected:
    QZRESULT DrawUnderlay(LRenderer& renderer) override
    {
        const PointT<double> size = GetSize();
        renderer.FillRect(
            {0, 0, static_cast<std::int32_t>(size.x), static_cast<std::int32_t>(size.y)},
            ColorRGBA(GetParent() ? 0xFF3070A0u : 0xFF202020u), false);
        return S_OK;
    }
};

std::string BuildSkin()
{
    std::string skin = R"(<Korvane_Skin_Definitions><Skin Name="Bench">)"
                       R"(<SubControl Class="Bench.Tile" Name="main" XSizeAbs="1000" )"
                       R"(YSizeAbs="720">)";
    for (int row = 0; row < kRows; ++row)
    {
        for (int column = 0; column < kColumns; ++column)
        {
            skin += "<SubControl Class=\"Bench.Tile\" Name=\"t" + std::to_string(row) + "_" +
                    std::to_string(column) + "\" XPositionAbs=\"" + std::to_string(column * 20) +
                    "\" YPositionAbs=\"" + std::to_string(row * 18) +
                    "\" XSizeAbs=\"18\" YSizeAbs=\"16\"/>";
        }
    }
    return skin + "</SubControl></Skin></Korvane_Skin_Definitions>";
}

int Fail(const std::string& what)
{
    std::fprintf(stderr, "FirstFrameProgram: %s\n", what.c_str());
    return 1;
}

} // namespace

int main()
{
    LApplicationBase application;
    const RCPtr<LControlFactory> factory(
        new LControlFactory(WideString(u"Bench"), WideString(u"Bench")));
    application.SetControlFactory(factory);
    factory->RegisterControlClass(WideString(u"Bench.Tile"), &LControlFactory::Create<Tile>);
    const std::string skin = BuildSkin();
    if (factory->LoadSkinsFrom({reinterpret_cast<const std::uint8_t*>(skin.data()), skin.size()},
                               "bench skin") != S_OK)
    {
        return Fail("the skin did not load");
    }
    std::string error;
    const std::unique_ptr<LWindowEventLoop> loop = LWindowEventLoop::Open(nullptr, error);
    if (!loop)
    {
        return Fail(error);
    }
    int result = 0;
    {
        OSWindow window;
        if (window.CreateEx(0, WideString(), WideString(u"Bench"), 0, 0, 0, 1000, 720, nullptr,
                            nullptr, nullptr) == 0 ||
            window.AttachRootWindow(LRenderer::kTypeGDIPlus) != S_OK ||
            window.GetRootWindow()->CreateRootControl(WideString(u"main")) != S_OK)
        {
            return Fail("the window did not open");
        }
        window.Show();
        loop->RunModal([&] { return !window.NeedsPaint(); });
        result =
            window.GetRootWindow()->GetRootControl()->GetChildren().GetCount() == kColumns * kRows
                ? 0
                : Fail("the tree is incomplete");
    }
    application.SetControlFactory(RCPtr<LControlFactory>());
    return result;
}
