#include "QZFramework/ControlBase/SkinReader.h"

#include "QZFramework/ControlBase/XmlValues.h"

#include <array>
#include <limits>

namespace QZ
{
namespace
{

constexpr std::string_view kRoot = "Korvane_Skin_Definitions";
// Bounds of numbers read from skins: no real skin comes near them, and within them the layout
// arithmetic stays exact and finite.
constexpr double kMaxCoordinate = 1.0e6;
constexpr double kMaxFactor = 1.0e4;
constexpr double kMaxFontSize = 1000.0;
constexpr std::int64_t kMaxOrder = 1000000;
constexpr std::int64_t kMaxImageExtent = 16384;

using Element = std::string_view;

class SkinSink : public IXmlElementSink
{
public:
    SkinSink(LXmlReader& reader, const LSkinReader::ImageObserver& firstSkinImages)
        : mReader(reader), mFirstSkinImages(firstSkinImages)
    {
    }

    void StartElement(std::string_view name, const char** attributes) override;
    void EndElement(std::string_view name) override;
    void CharacterData(std::string_view text) override;

    std::vector<RCPtr<LSkin>> mSkins;

private:
    enum class Kind
    {
        Root,
        Skin,
        Look,
        LookList,
        SubControl,
        CreateParamList,
        CreateParam,
        Leaf,
        Ignored
    };
    struct Frame
    {
        Frame(Kind frameKind) : kind(frameKind) {}

        Kind kind;
        RCPtr<LControlDescriptor> control;
        RCPtr<LLookDescriptor> look;
        RCPtr<LLookListDescriptor> lookList;
        std::u16string paramID;
        std::string paramText;
    };

    Frame Open(Kind parent, Element name, const char** attributes);
    Frame OpenInSkin(Element name, const char** attributes);
    Frame OpenSubControl(const char** attributes);

    void ReadSkin(const char** attributes);
    void ReadColorizer(const char** attributes);
    void ReadPart(const char** attributes);
    RCPtr<LLookDescriptor> ReadLook(const char** attributes);
    void ReadDockedPart(LLookDescriptor& look, const char** attributes);
    void ReadText(LLookDescriptor& look, const char** attributes);
    RCPtr<LLookListDescriptor> ReadLookList(const char** attributes);
    void ReadLookRef(LLookListDescriptor& list, const char** attributes);
    void ReadSubControlAttribute(LControlDescriptor& control, Element name, const char* value,
                                 bool spans[2]);
    bool ReadAxisAttribute(LLayoutDescriptor& layout, Element attribute, const char* value,
                           bool spans[2]);
    Frame OpenCreateParam(const char** attributes);

    // Each reads one attribute into its target, warning and keeping the target when refused.
    void Number(Element element, Element attribute, const char* value, double bound,
                double& target);
    void Number(Element element, Element attribute, const char* value, double bound, float& target);
    void Integer(Element element, Element attribute, const char* value, std::int64_t minimum,
                 std::int64_t maximum, std::int32_t& target);
    void Color(Element element, Element attribute, const char* value, ColorRGBA& target);
    void UnknownAttribute(Element element, Element attribute);

    template <class T>
    RCPtr<T> FindNamed(const LSkin::NameMap<T>& map, Element what, const char* value);
    template <class T>
    void Define(LSkin::NameMap<T>& map, Element what, const WideString& name,
                const RCPtr<T>& object);

    LSkin& CurrentSkin() { return *mSkins.back(); }

    LXmlReader& mReader;
    const LSkinReader::ImageObserver& mFirstSkinImages;
    std::vector<Frame> mFrames;
    std::size_t mSubControlDepth = 0;
};

void SkinSink::StartElement(std::string_view name, const char** attributes)
{
    if (mFrames.empty())
    {
        if (name != kRoot)
        {
            mReader.Fail("the root element is not " + std::string(kRoot));
            return;
        }
        mFrames.push_back({Kind::Root});
        return;
    }
    const Kind parent = mFrames.back().kind;
    if (parent == Kind::Ignored || parent == Kind::Leaf || parent == Kind::CreateParam)
    {
        if (parent != Kind::Ignored)
        {
            mReader.Warn("unexpected element <" + std::string(name) + "> ignored");
        }
        mFrames.push_back({Kind::Ignored});
        return;
    }
    Frame frame = Open(parent, name, attributes);
    if (frame.kind == Kind::Ignored)
    {
        mReader.Warn("unknown element <" + std::string(name) + "> ignored");
    }
    if (frame.kind == Kind::SubControl)
    {
        ++mSubControlDepth;
    }
    mFrames.push_back(std::move(frame));
}

void SkinSink::EndElement(std::string_view)
{
    if (mFrames.empty())
    {
        return;
    }
    Frame& frame = mFrames.back();
    if (frame.kind == Kind::SubControl)
    {
        --mSubControlDepth;
    }
    else if (frame.kind == Kind::CreateParam)
    {
        const Frame& list = mFrames[mFrames.size() - 2];
        const RCPtr<LControlDescriptor>& control = mFrames[mFrames.size() - 3].control;
        if (list.kind == Kind::CreateParamList && control && !frame.paramID.empty())
        {
            control->createParams->SetString(frame.paramID, XmlValues::ToWide(frame.paramText));
        }
    }
    mFrames.pop_back();
}

void SkinSink::CharacterData(std::string_view text)
{
    if (!mFrames.empty() && mFrames.back().kind == Kind::CreateParam)
    {
        mFrames.back().paramText.append(text);
    }
}

SkinSink::Frame SkinSink::Open(Kind parent, Element name, const char** attributes)
{
    switch (parent)
    {
    case Kind::Root:
        if (name == "Skin")
        {
            ReadSkin(attributes);
            return {Kind::Skin};
        }
        break;
    case Kind::Skin:
        return OpenInSkin(name, attributes);
    case Kind::Look:
        if (name == "DockedPart")
        {
            ReadDockedPart(*mFrames.back().look, attributes);
            return {Kind::Leaf};
        }
        if (name == "Text")
        {
            ReadText(*mFrames.back().look, attributes);
            return {Kind::Leaf};
        }
        break;
    case Kind::LookList:
        if (name == "LookRef")
        {
            ReadLookRef(*mFrames.back().lookList, attributes);
            return {Kind::Leaf};
        }
        if (name == "Look")
        {
            Frame frame{Kind::Look};
            frame.look = ReadLook(attributes);
            mFrames.back().lookList->looks.push_back(frame.look);
            return frame;
        }
        break;
    case Kind::SubControl:
        if (name == "SubControl")
        {
            return OpenSubControl(attributes);
        }
        if (name == "CreateParamList")
        {
            LControlDescriptor& control = *mFrames.back().control;
            if (!control.createParams)
            {
                control.createParams = new LStringTable(WideString());
            }
            return {Kind::CreateParamList};
        }
        if (name == "LookList")
        {
            Frame frame{Kind::LookList};
            frame.lookList = ReadLookList(attributes);
            mFrames.back().control->appearance.lookList = frame.lookList;
            return frame;
        }
        break;
    case Kind::CreateParamList:
        if (name == "CreateParam")
        {
            return OpenCreateParam(attributes);
        }
        break;
    default:
        break;
    }
    return {Kind::Ignored};
}

SkinSink::Frame SkinSink::OpenInSkin(Element name, const char** attributes)
{
    if (name == "Colorizer")
    {
        ReadColorizer(attributes);
        return {Kind::Leaf};
    }
    if (name == "Part")
    {
        ReadPart(attributes);
        return {Kind::Leaf};
    }
    if (name == "Look")
    {
        Frame frame{Kind::Look};
        frame.look = ReadLook(attributes);
        return frame;
    }
    if (name == "LookList")
    {
        Frame frame{Kind::LookList};
        frame.lookList = ReadLookList(attributes);
        return frame;
    }
    if (name == "SubControl")
    {
        return OpenSubControl(attributes);
    }
    return {Kind::Ignored};
}

void SkinSink::ReadSkin(const char** attributes)
{
    RCPtr<LSkin> skin(new LSkin());
    for (const char** a = attributes; a[0] != nullptr; a += 2)
    {
        const Element attribute = a[0];
        if (attribute == "Name")
        {
            skin->name = XmlValues::ToWide(a[1]);
        }
        else if (attribute == "FontName")
        {
            skin->fontName = XmlValues::ToWide(a[1]);
        }
        else if (attribute == "FontSize")
        {
            Number("Skin", attribute, a[1], kMaxFontSize, skin->fontSize);
        }
        else if (attribute == "FontStyle")
        {
            Integer("Skin", attribute, a[1], -1, 15, skin->fontStyle);
        }
        else
        {
            UnknownAttribute("Skin", attribute);
        }
    }
    mSkins.push_back(skin);
}

void SkinSink::ReadColorizer(const char** attributes)
{
    WideString name;
    std::int32_t kind = 0;
    ColorRGBA first;
    ColorRGBA second;
    for (const char** a = attributes; a[0] != nullptr; a += 2)
    {
        const Element attribute = a[0];
        if (attribute == "Name")
        {
            name = XmlValues::ToWide(a[1]);
        }
        else if (attribute == "Kind")
        {
            Integer("Colorizer", attribute, a[1], std::numeric_limits<std::int32_t>::min(),
                    std::numeric_limits<std::int32_t>::max(), kind);
        }
        else if (attribute == "Color1")
        {
            Color("Colorizer", attribute, a[1], first);
        }
        else if (attribute == "Color2")
        {
            Color("Colorizer", attribute, a[1], second);
        }
        else
        {
            UnknownAttribute("Colorizer", attribute);
        }
    }
    Define(CurrentSkin().colorizers, "colorizer", name,
           RCPtr<LColorizer>(new LColorizer(kind, first, second)));
}

void SkinSink::ReadPart(const char** attributes)
{
    RCPtr<LVisualPartDescriptor> part(new LVisualPartDescriptor());
    for (const char** a = attributes; a[0] != nullptr; a += 2)
    {
        const Element attribute = a[0];
        if (attribute == "Name")
        {
            part->name = XmlValues::ToWide(a[1]);
        }
        else if (attribute == "Image")
        {
            part->image = XmlValues::ToWide(a[1]);
        }
        else if (attribute == "X" || attribute == "Y")
        {
            Integer("Part", attribute, a[1], 0, kMaxImageExtent,
                    attribute == "X" ? part->x : part->y);
        }
        else if (attribute == "Width" || attribute == "Height")
        {
            Integer("Part", attribute, a[1], 0, kMaxImageExtent,
                    attribute == "Width" ? part->width : part->height);
        }
        else if (attribute == "ResizeType")
        {
            const std::string_view type = a[1];
            part->resizeType = type == "Tile"     ? LVisualPartDescriptor::kTile
                               : type == "Center" ? LVisualPartDescriptor::kCenter
                                                  : LVisualPartDescriptor::kStretch;
        }
        else if (attribute == "Colorizer")
        {
            part->colorizer = FindNamed(CurrentSkin().colorizers, "colorizer", a[1]);
        }
        else if (attribute == "Alpha")
        {
            double alpha = part->alpha;
            Number("Part", attribute, a[1], 1.0, alpha);
            part->alpha = alpha < 0.0 ? part->alpha : static_cast<float>(alpha);
            if (alpha < 0.0)
            {
                mReader.Warn("<Part> Alpha below 0 refused");
            }
        }
        else if (attribute == "Mask")
        {
            part->mask = XmlValues::ToWide(a[1]);
        }
        else
        {
            UnknownAttribute("Part", attribute);
        }
    }
    Define(CurrentSkin().parts, "part", part->name, part);
    if (mSkins.size() == 1 && mFirstSkinImages)
    {
        for (const WideString* image : {&part->image, &part->mask})
        {
            if (!image->IsEmpty())
            {
                mFirstSkinImages(*image);
            }
        }
    }
}

RCPtr<LLookDescriptor> SkinSink::ReadLook(const char** attributes)
{
    RCPtr<LLookDescriptor> look(new LLookDescriptor());
    for (const char** a = attributes; a[0] != nullptr; a += 2)
    {
        const Element attribute = a[0];
        double* inset = attribute == "ClientLeft"     ? &look->clientLeft
                        : attribute == "ClientTop"    ? &look->clientTop
                        : attribute == "ClientRight"  ? &look->clientRight
                        : attribute == "ClientBottom" ? &look->clientBottom
                                                      : nullptr;
        if (attribute == "Name")
        {
            look->name = XmlValues::ToWide(a[1]);
        }
        else if (inset != nullptr)
        {
            Number("Look", attribute, a[1], kMaxCoordinate, *inset);
            look->hasClientInsets = true;
        }
        else
        {
            UnknownAttribute("Look", attribute);
        }
    }
    if (!look->name.IsEmpty())
    {
        Define(CurrentSkin().looks, "look", look->name, look);
    }
    return look;
}

void SkinSink::ReadDockedPart(LLookDescriptor& look, const char** attributes)
{
    static constexpr std::array<std::string_view, 9> kDocks = {
        "Fill",    "Left",     "Top",        "Right",      "Bottom",
        "TopLeft", "TopRight", "BottomLeft", "BottomRight"};
    RCPtr<LDockedPartDescriptor> docked(new LDockedPartDescriptor());
    for (const char** a = attributes; a[0] != nullptr; a += 2)
    {
        const Element attribute = a[0];
        if (attribute == "Dock")
        {
            std::size_t index = 0;
            while (index < kDocks.size() && kDocks[index] != a[1])
            {
                ++index;
            }
            if (index == kDocks.size())
            {
                mReader.Warn("<DockedPart> unknown Dock \"" + std::string(a[1]) + "\": Fill used");
                index = 0;
            }
            docked->dock = static_cast<LDockedPartDescriptor::Dock>(index);
        }
        else if (attribute == "Size")
        {
            Number("DockedPart", attribute, a[1], kMaxCoordinate, docked->size);
        }
        else if (attribute == "Part")
        {
            docked->part = FindNamed(CurrentSkin().parts, "part", a[1]);
        }
        else if (attribute == "Colorizer")
        {
            docked->colorizer = FindNamed(CurrentSkin().colorizers, "colorizer", a[1]);
        }
        else
        {
            UnknownAttribute("DockedPart", attribute);
        }
    }
    look.parts.push_back(docked);
}

void SkinSink::ReadText(LLookDescriptor& look, const char** attributes)
{
    RCPtr<LTextPropertiesDescriptor> text(new LTextPropertiesDescriptor());
    struct EdgeName
    {
        std::string_view stem;
        LTextPropertiesDescriptor::Edge* edge;
    };
    const std::array<EdgeName, 4> edges = {{{"Left", &text->left},
                                            {"Top", &text->top},
                                            {"Right", &text->right},
                                            {"Bottom", &text->bottom}}};
    for (const char** a = attributes; a[0] != nullptr; a += 2)
    {
        const Element attribute = a[0];
        bool known = false;
        for (const EdgeName& edge : edges)
        {
            if (attribute.starts_with(edge.stem) && attribute.size() == edge.stem.size() + 3)
            {
                const Element part = attribute.substr(edge.stem.size());
                if (part == "Rel" || part == "Abs")
                {
                    Number("Text", attribute, a[1], part == "Rel" ? kMaxFactor : kMaxCoordinate,
                           part == "Rel" ? edge.edge->relative : edge.edge->absolute);
                    known = true;
                }
            }
        }
        if (known)
        {
            continue;
        }
        if (attribute == "HAlign" || attribute == "VAlign")
        {
            Number("Text", attribute, a[1], kMaxFactor,
                   attribute == "HAlign" ? text->horizontalAlignment : text->verticalAlignment);
        }
        else if (attribute == "Color")
        {
            Color("Text", attribute, a[1], text->color);
        }
        else
        {
            UnknownAttribute("Text", attribute);
        }
    }
    look.text = text;
}

RCPtr<LLookListDescriptor> SkinSink::ReadLookList(const char** attributes)
{
    RCPtr<LLookListDescriptor> list(new LLookListDescriptor());
    for (const char** a = attributes; a[0] != nullptr; a += 2)
    {
        if (Element(a[0]) == "Name")
        {
            list->name = XmlValues::ToWide(a[1]);
        }
        else
        {
            UnknownAttribute("LookList", a[0]);
        }
    }
    if (!list->name.IsEmpty())
    {
        Define(CurrentSkin().lookLists, "look list", list->name, list);
    }
    return list;
}

void SkinSink::ReadLookRef(LLookListDescriptor& list, const char** attributes)
{
    RCPtr<LLookDescriptor> look;
    for (const char** a = attributes; a[0] != nullptr; a += 2)
    {
        if (Element(a[0]) == "Look")
        {
            look = FindNamed(CurrentSkin().looks, "look", a[1]);
        }
        else
        {
            UnknownAttribute("LookRef", a[0]);
        }
    }
    list.looks.push_back(look);
}

SkinSink::Frame SkinSink::OpenSubControl(const char** attributes)
{
    if (mSubControlDepth >= LSkinReader::kMaxNesting)
    {
        mReader.Warn("<SubControl> nested deeper than " + std::to_string(LSkinReader::kMaxNesting) +
                     " levels left out");
        return {Kind::Leaf};
    }
    RCPtr<LControlDescriptor> control(new LControlDescriptor());
    bool spans[2] = {false, false};
    for (const char** a = attributes; a[0] != nullptr; a += 2)
    {
        ReadSubControlAttribute(*control, a[0], a[1], spans);
    }
    for (std::uint32_t axis = 0; axis < 2; ++axis)
    {
        LLayoutDescriptor::SizeSpec& size = control->layout->size[axis];
        if (spans[axis] && size.kind == LLayoutDescriptor::kSibling && !size.name.IsEmpty())
        {
            size.kind = LLayoutDescriptor::kSpanToSibling;
        }
    }
    control->absoluteWidth = control->layout->size[0].absolute;
    control->absoluteHeight = control->layout->size[1].absolute;
    const Frame& parent = mFrames.back();
    if (parent.kind == Kind::SubControl && parent.control)
    {
        parent.control->subControls.push_back(control);
    }
    else
    {
        CurrentSkin().subControls.push_back(control);
    }
    Frame frame{Kind::SubControl};
    frame.control = control;
    return frame;
}

void SkinSink::ReadSubControlAttribute(LControlDescriptor& control, Element attribute,
                                       const char* value, bool spans[2])
{
    LLayoutDescriptor& layout = *control.layout;
    if ((attribute.starts_with('X') || attribute.starts_with('Y')) &&
        ReadAxisAttribute(layout, attribute, value, spans))
    {
        return;
    }
    LControlDescriptor::Appearance& appearance = control.appearance;
    if (attribute == "Class")
    {
        control.className = XmlValues::ToWide(value);
    }
    else if (attribute == "Name")
    {
        control.name = XmlValues::ToWide(value);
    }
    else if (attribute == "ClipToParent")
    {
        layout.clipToParent = XmlValues::IsTrue(value);
    }
    else if (attribute == "IsVisible")
    {
        layout.shown = XmlValues::IsTrue(value);
    }
    else if (attribute == "Z_Order" || attribute == "TabStop" || attribute == "LayoutOrder")
    {
        std::int32_t& target = attribute == "Z_Order"   ? layout.zOrder
                               : attribute == "TabStop" ? layout.tabStop
                                                        : layout.layoutOrder;
        Integer("SubControl", attribute, value, -kMaxOrder, kMaxOrder, target);
    }
    else if (attribute == "TextDecoration")
    {
        layout.textDecoration = XmlValues::ToWide(value);
    }
    else if (attribute == "TextOverflowXType" || attribute == "TextOverflowYType")
    {
        const std::string_view type = value;
        std::int32_t& target = layout.textOverflow[attribute == "TextOverflowXType" ? 0 : 1];
        if (type == "Clip" || type == "Expand" || type == "Wrap")
        {
            target = type == "Clip"     ? LLayoutDescriptor::kClip
                     : type == "Expand" ? LLayoutDescriptor::kExpand
                                        : LLayoutDescriptor::kWrap;
        }
        else
        {
            mReader.Warn("<SubControl> " + std::string(attribute) + " \"" + std::string(type) +
                         "\" is not Clip, Expand or Wrap");
        }
    }
    else if (attribute == "FontName")
    {
        appearance.fontName = XmlValues::ToWide(value);
    }
    else if (attribute == "FontSize")
    {
        Number("SubControl", attribute, value, kMaxFontSize, appearance.fontSize);
    }
    else if (attribute == "FontStyle")
    {
        Integer("SubControl", attribute, value, -1, 15, appearance.fontStyle);
    }
    else if (attribute == "FontInherit")
    {
        appearance.fontInheritsFromParent = XmlValues::IsTrue(value);
    }
    else if (attribute == "FontSizeRelative")
    {
        appearance.fontSizeIsRelative = XmlValues::IsTrue(value);
    }
    else if (attribute == "LookList")
    {
        appearance.lookList = FindNamed(CurrentSkin().lookLists, "look list", value);
    }
    else
    {
        UnknownAttribute("SubControl", attribute);
    }
}

bool SkinSink::ReadAxisAttribute(LLayoutDescriptor& layout, Element attribute, const char* value,
                                 bool spans[2])
{
    const std::uint32_t axis = attribute[0] == 'X' ? 0 : 1;
    const Element field = attribute.substr(1);
    LLayoutDescriptor::PositionSpec& position = layout.position[axis];
    LLayoutDescriptor::SizeSpec& size = layout.size[axis];
    const Element text = value;
    if (field == "IsDocked")
    {
        position.docked = XmlValues::IsTrue(value);
    }
    else if (field == "PlacementAnchor")
    {
        Number("SubControl", attribute, value, kMaxFactor, position.anchor);
    }
    else if (field == "PositionToControl")
    {
        position.kind = text == "Parent"                   ? LLayoutDescriptor::kParent
                        : text == "Client" || text.empty() ? LLayoutDescriptor::kClient
                                                           : LLayoutDescriptor::kSibling;
        position.name =
            position.kind == LLayoutDescriptor::kSibling ? XmlValues::ToWide(text) : WideString();
    }
    else if (field == "PositionRel")
    {
        Number("SubControl", attribute, value, kMaxFactor, position.relative);
    }
    else if (field == "PositionAbs")
    {
        Number("SubControl", attribute, value, kMaxCoordinate, position.absolute);
    }
    else if (field == "SizeToControl")
    {
        size.kind = text == "Parent"   ? LLayoutDescriptor::kParent
                    : text == "Client" ? LLayoutDescriptor::kClient
                                       : LLayoutDescriptor::kSibling;
        size.name =
            size.kind == LLayoutDescriptor::kSibling ? XmlValues::ToWide(text) : WideString();
    }
    else if (field == "SizeRel")
    {
        Number("SubControl", attribute, value, kMaxFactor, size.relative);
    }
    else if (field == "SizeAbs")
    {
        Number("SubControl", attribute, value, kMaxCoordinate, size.absolute);
    }
    else if (field == "SizeIsSpan")
    {
        spans[axis] = XmlValues::IsTrue(value);
    }
    else if (field.starts_with("MinSize") || field.starts_with("MaxSize"))
    {
        LLayoutDescriptor::LimitSpec& limit =
            field.starts_with("Min") ? layout.minimum[axis] : layout.maximum[axis];
        const Element part = field.substr(7);
        if (part == "ToControl")
        {
            limit.present = !text.empty() && text != "Self";
            limit.name = limit.present ? XmlValues::ToWide(text) : WideString();
        }
        else if (part == "Rel")
        {
            Number("SubControl", attribute, value, kMaxFactor, limit.relative);
        }
        else if (part == "Abs")
        {
            Number("SubControl", attribute, value, kMaxCoordinate, limit.absolute);
        }
        else
        {
            return false;
        }
    }
    else
    {
        return false;
    }
    return true;
}

SkinSink::Frame SkinSink::OpenCreateParam(const char** attributes)
{
    Frame frame{Kind::CreateParam};
    for (const char** a = attributes; a[0] != nullptr; a += 2)
    {
        const Element attribute = a[0];
        if (attribute == "ID")
        {
            frame.paramID = XmlValues::ToWide(a[1]).GetString();
        }
        else if (attribute != "Type")
        {
            UnknownAttribute("CreateParam", attribute);
        }
    }
    if (frame.paramID.empty())
    {
        mReader.Warn("<CreateParam> without ID ignored");
    }
    return frame;
}

void SkinSink::Number(Element element, Element attribute, const char* value, double bound,
                      double& target)
{
    if (!XmlValues::ReadNumber(value, bound, target))
    {
        mReader.Warn("<" + std::string(element) + "> " + std::string(attribute) + " \"" +
                     std::string(value) + "\" refused: not a finite number within " +
                     std::to_string(bound));
    }
}

void SkinSink::Number(Element element, Element attribute, const char* value, double bound,
                      float& target)
{
    double wide = target;
    Number(element, attribute, value, bound, wide);
    target = static_cast<float>(wide);
}

void SkinSink::Integer(Element element, Element attribute, const char* value, std::int64_t minimum,
                       std::int64_t maximum, std::int32_t& target)
{
    std::int64_t parsed = 0;
    if (!XmlValues::ReadInteger(value, minimum, maximum, parsed))
    {
        mReader.Warn("<" + std::string(element) + "> " + std::string(attribute) + " \"" +
                     std::string(value) + "\" refused: not a whole number from " +
                     std::to_string(minimum) + " to " + std::to_string(maximum));
        return;
    }
    target = static_cast<std::int32_t>(parsed);
}

void SkinSink::Color(Element element, Element attribute, const char* value, ColorRGBA& target)
{
    if (!XmlValues::ReadColor(value, target))
    {
        mReader.Warn("<" + std::string(element) + "> " + std::string(attribute) + " \"" +
                     std::string(value) + "\" refused: not 2, 6 or 8 hexadecimal digits");
    }
}

void SkinSink::UnknownAttribute(Element element, Element attribute)
{
    mReader.Warn("<" + std::string(element) + "> unknown attribute " + std::string(attribute) +
                 " ignored");
}

template <class T>
RCPtr<T> SkinSink::FindNamed(const LSkin::NameMap<T>& map, Element what, const char* value)
{
    if (value == nullptr || value[0] == 0)
    {
        return RCPtr<T>();
    }
    const WideString name = XmlValues::ToWide(value);
    const auto found = map.find(std::u16string_view(name.GetString()));
    if (found == map.end())
    {
        mReader.Warn("unknown " + std::string(what) + " \"" + std::string(value) + "\"");
        return RCPtr<T>();
    }
    return found->second;
}

template <class T>
void SkinSink::Define(LSkin::NameMap<T>& map, Element what, const WideString& name,
                      const RCPtr<T>& object)
{
    RCPtr<T>& slot = map[std::u16string(name.GetString())];
    if (slot)
    {
        mReader.Warn("second " + std::string(what) + " named \"" +
                     name.ToNarrowString().GetString() + "\" replaces the first");
    }
    slot = object;
}

} // namespace

QZRESULT LSkinReader::Read(std::span<const std::uint8_t> bytes, std::vector<RCPtr<LSkin>>& skins)
{
    SkinSink sink(mReader, mFirstSkinImages);
    const QZRESULT result = mReader.Parse(bytes, sink);
    if (Failed(result))
    {
        return result;
    }
    skins.insert(skins.end(), sink.mSkins.begin(), sink.mSkins.end());
    return S_OK;
}

} // namespace QZ
