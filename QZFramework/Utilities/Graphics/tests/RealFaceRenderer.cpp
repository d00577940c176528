#include "QZFramework/Utilities/Graphics/tests/RealFaceRenderer.h"

#include "Platform/Graphics2D/Graphics.h"
#include "QZFramework/Utilities/Graphics/Font.h"

#include <cmath>
#include <memory>
#include <string_view>

namespace QZ::Testing
{
namespace
{

Graphics2D::FontFamily FamilyOf(const LFont& font)
{
    Graphics2D::FontFamily family;
    const std::u16string_view name(font.GetFaceName().GetString(),
                                   static_cast<std::size_t>(font.GetFaceName().GetLength()));
    if (Graphics2D::FontFamily::FromName(name, family) != Graphics2D::Status::Ok)
    {
        (void)Graphics2D::FontFamily::GenericSansSerif(family);
    }
    return family;
}

std::int32_t CeilPixels(float value)
{
    return static_cast<std::int32_t>(std::ceil(value));
}

} // namespace

QZRESULT RealFaceRenderer::GetFontMetrics(const ConstRCPtr<LFont>& font, std::int32_t& height,
                                          std::int32_t& ascent, std::int32_t& descent)
{
    const Graphics2D::FontFamily family = FamilyOf(*font);
    const std::int32_t style = font->GetStyle();
    const float scale = font->GetSize() * 96.0f / 72.0f / family.GetEmHeight(style);
    height = CeilPixels(family.GetLineSpacing(style) * scale);
    ascent = -CeilPixels(family.GetCellAscent(style) * scale);
    descent = CeilPixels(family.GetCellDescent(style) * scale);
    return S_OK;
}

RectT<float> RealFaceRenderer::MeasureText(const WideString& text, const ConstRCPtr<LFont>& font)
{
    if (text.IsEmpty())
    {
        return {};
    }
    std::unique_ptr<Graphics2D::Image> surface;
    if (Graphics2D::Image::Create(1, 1, Graphics2D::PixelFormat::Format32bppPARGB, surface) !=
        Graphics2D::Status::Ok)
    {
        return {};
    }
    Graphics2D::Graphics graphics(*surface);
    const Graphics2D::Font face(FamilyOf(*font), font->GetSize(), font->GetStyle(),
                                Graphics2D::Unit::Point);
    Graphics2D::RectF bounds;
    (void)graphics.MeasureString(
        std::u16string_view(text.GetString(), static_cast<std::size_t>(text.GetLength())), face,
        {0, 0, 9999, 9999}, bounds);
    std::int32_t height = 0;
    std::int32_t ascent = 0;
    std::int32_t descent = 0;
    GetFontMetrics(font, height, ascent, descent);
    return {0.0f, static_cast<float>(ascent), bounds.x + bounds.width, static_cast<float>(height)};
}

} // namespace QZ::Testing
