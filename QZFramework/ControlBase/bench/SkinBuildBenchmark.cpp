// Reads a skin shaped like the editor's (about 2,000 controls in nested groups, with looks,
// fonts and create parameters) and builds its control tree, as the program does at start-up.
#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/ControlFactory.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <span>
#include <string>

namespace
{

constexpr int kGroups = 20;
constexpr int kPanelsPerGroup = 10;
constexpr int kControlsPerPanel = 9;

std::string MakeEditorSizedSkin()
{
    std::string xml =
        R"(<Korvane_Skin_Definitions><Skin Name="Dark" FontName="DejaVu Sans" FontSize="9">
      <Colorizer Name="Grey" Kind="1" Color1="FF404040" Color2="FF202020"/>
      <Part Name="face" Width="48" Height="48" Colorizer="Grey"/>
      <Look Name="Normal" ClientLeft="2" ClientTop="2" ClientRight="2" ClientBottom="2">
        <DockedPart Dock="Fill" Part="face"/><DockedPart Dock="Left" Size="2" Colorizer="Grey"/>
        <Text LeftRel="0" LeftAbs="4" RightRel="1" RightAbs="-4" HAlign="0.5" VAlign="0.5" Color="FFFFFFFF"/>
      </Look>
      <LookList Name="Button"><LookRef Look="Normal"/><LookRef/><LookRef Look="Normal"/></LookList>
      <SubControl Class="Panel" Name="mainControl" XSizeAbs="1200" YSizeAbs="750" LookList="Button">)";
    for (int group = 0; group < kGroups; ++group)
    {
        xml += "<SubControl Class=\"Panel\" Name=\"group" + std::to_string(group) +
               "\" XPositionAbs=\"" + std::to_string(group * 60) +
               "\" XSizeAbs=\"60\" YSizeAbs=\"700\" LookList=\"Button\">";
        for (int panel = 0; panel < kPanelsPerGroup; ++panel)
        {
            // Each panel below the one before; the first at the top of its group.
            const std::string above =
                panel > 0 ? "\" YPositionToControl=\"panel" + std::to_string(panel - 1) +
                                "\" YPositionRel=\"1"
                          : "";
            xml += "<SubControl Class=\"Panel\" Name=\"panel" + std::to_string(panel) + above +
                   "\" XSizeToControl=\"Client\" XSizeRel=\"1\" YSizeAbs=\"70\">";
            for (int control = 0; control < kControlsPerPanel; ++control)
            {
                xml += "<SubControl Class=\"Button\" Name=\"button" + std::to_string(control) +
                       "\" XPositionAbs=\"" + std::to_string(control * 6) +
                       "\" XSizeAbs=\"6\" YSizeAbs=\"20\" LookList=\"Button\" FontSize=\"0.9\" "
                       "FontSizeRelative=\"True\" TabStop=\"" +
                       std::to_string(control) +
                       "\"><CreateParamList><CreateParam ID=\"TOOLTIP\" Type=\"String\">Button "
                       "tip</CreateParam><CreateParam ID=\"LABEL\">B</CreateParam>"
                       "</CreateParamList></SubControl>";
            }
            xml += "</SubControl>";
        }
        xml += "</SubControl>";
    }
    xml += "</SubControl></Skin></Korvane_Skin_Definitions>";
    return xml;
}

void ReadAndBuildEditorSizedSkin(benchmark::State& state)
{
    static QZ::LApplicationBase application;
    const std::string xml = MakeEditorSizedSkin();
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(xml.data()),
                                              xml.size());
    std::int64_t controls = 0;
    for (auto _ : state)
    {
        QZ::RCPtr<QZ::LControlFactory> factory(
            new QZ::LControlFactory(QZ::WideString(u"Bench"), QZ::WideString(u"Bench")));
        application.SetControlFactory(factory);
        for (const char16_t* name : {u"Panel", u"Button"})
        {
            factory->RegisterControlClass(QZ::WideString(name),
                                          &QZ::LControlFactory::Create<QZ::LControl>);
        }
        if (factory->LoadSkinsFrom(bytes, "editor-sized skin") != QZ::S_OK)
        {
            state.SkipWithError(factory->GetLastError().c_str());
            break;
        }
        QZ::RCPtr<QZ::LControl> root;
        factory->CreateRootControl(root, QZ::WideString(u"mainControl"));
        benchmark::DoNotOptimize(root.Get());
        controls = 1 + kGroups * (1 + kPanelsPerGroup * (1 + kControlsPerPanel));
        root = nullptr;
        application.SetControlFactory(QZ::RCPtr<QZ::LControlFactory>());
    }
    state.counters["controls"] = static_cast<double>(controls);
}
BENCHMARK(ReadAndBuildEditorSizedSkin)->Unit(benchmark::kMillisecond)->Repetitions(10);

} // namespace
