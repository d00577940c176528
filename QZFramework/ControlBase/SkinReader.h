// Reads the skin XML format into skins:
//
//   <Korvane_Skin_Definitions>
//    <Skin Name="Dark" FontName="DejaVu Sans" FontSize="9" FontStyle="-1">
//     <Colorizer Name="Red" Kind="0" Color1="FFFF0000" Color2="FFFF0000"/>
//     <Part Name="knob" Image="::Assets.png" X="0" Y="40" Width="48" Height="48"
//           ResizeType="Stretch" Colorizer="Red" Alpha="1" Mask=""/>
//     <Look Name="Button.Normal" ClientLeft="2" ClientTop="2" ClientRight="2" ClientBottom="2">
//       <DockedPart Dock="Fill" Part="knob" Colorizer="Red"/>
//       <DockedPart Dock="Left" Size="2" Part="knob"/>
//       <Text LeftRel="0" LeftAbs="4" ... HAlign="0.5" VAlign="0.5" Color="FFFFFFFF"/>
//     </Look>
//     <LookList Name="Button"><LookRef Look="Button.Normal"/><LookRef/></LookList>
//     <SubControl Class="Some.Class" Name="mainControl" LookList="Button" XSizeAbs="1200" ...>
//       <CreateParamList><CreateParam ID="TOOLTIP"
//       Type="String">Name</CreateParam></CreateParamList> <SubControl .../>
//     </SubControl>
//    </Skin>
//   </Korvane_Skin_Definitions>
//
// A SubControl may hold its own LookList instead of the LookList attribute, and a LookList may
// hold Look elements instead of references. Unknown elements, attributes and names, and numbers
// that are not finite or out of bounds, give a warning and leave the default; sub-controls nested
// deeper than kMaxNesting are left out, so building the tree cannot exhaust the stack.
#pragma once

#include "QZFramework/ControlBase/Skin.h"
#include "QZFramework/ControlBase/XmlReader.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace QZ
{

class LSkinReader
{
public:
    static constexpr std::size_t kMaxNesting = 64;

    // Told each image (and mask) name of the first skin's parts as soon as the part is read.
    using ImageObserver = std::function<void(const WideString&)>;

    explicit LSkinReader(std::string sourceName, ImageObserver firstSkinImages = {})
        : mReader(std::move(sourceName)), mFirstSkinImages(std::move(firstSkinImages))
    {
    }

    // Appends the document's skins in file order. E_FAIL (GetError names source, line and cause)
    // for a document that is not well-formed or whose root is not a skin root; nothing is
    // appended then.
    [[nodiscard]] QZRESULT Read(std::span<const std::uint8_t> bytes,
                                std::vector<RCPtr<LSkin>>& skins);

    [[nodiscard]] const std::string& GetError() const { return mReader.GetError(); }
    [[nodiscard]] const std::vector<std::string>& GetWarnings() const
    {
        return mReader.GetWarnings();
    }

private:
    LXmlReader mReader;
    ImageObserver mFirstSkinImages;
};

} // namespace QZ
