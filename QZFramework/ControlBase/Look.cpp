#include "QZFramework/ControlBase/Look.h"

#include "QZFramework/Renderer/RenderState.h"
#include "QZFramework/Renderer/Renderer.h"
#include "QZFramework/Renderer/Stencil.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace QZ
{
namespace
{

using Dock = LDockedPartDescriptor::Dock;

std::int32_t WholePixels(double value)
{
    return std::isfinite(value) ? static_cast<std::int32_t>(
                                      std::clamp(std::round(value), -1073741824.0, 1073741824.0))
                                : 0;
}

bool Contains(const RectT<std::int32_t>& rect, const PointT<long>& point)
{
    return point.x >= rect.x && point.y >= rect.y && point.x < rect.GetRight() &&
           point.y < rect.GetBottom();
}

bool InRegion(const RegionT& region, const PointT<long>& point)
{
    for (const RegionRect& r : region)
    {
        if (point.x >= r.left && point.y >= r.top && point.x < r.right && point.y < r.bottom)
        {
            return true;
        }
    }
    return false;
}

} // namespace

RCPtr<LLook>& LLook::Create(RCPtr<LLook>& out, const ConstRCPtr<LLookDescriptor>& descriptor,
                            bool wrap)
{
    out = RCPtr<LLook>();
    if (!descriptor)
    {
        return out;
    }
    RCPtr<LLook> look(new LLook());
    for (const RCPtr<LDockedPartDescriptor>& docked : descriptor->parts)
    {
        if (!docked)
        {
            continue;
        }
        RCPtr<LVisualPart> visual;
        if (docked->part)
        {
            docked->part->GetVisualPart(visual);
        }
        if (!visual && !docked->colorizer)
        {
            continue;
        }
        RCPtr<LDockedPart> part(
            new LDockedPart(docked->dock, docked->size, visual, docked->colorizer));
        (docked->dock == Dock::kFill ? look->mFills : look->mFrames).push_back(part);
    }
    look->mHasClientInsets = descriptor->hasClientInsets;
    look->mClientInsets = {WholePixels(descriptor->clientLeft), WholePixels(descriptor->clientTop),
                           WholePixels(descriptor->clientRight),
                           WholePixels(descriptor->clientBottom)};
    look->mTextProperties = descriptor->text;
    if (look->mTextProperties)
    {
        look->mFontText = new LFontText();
        look->mFontText->SetWrap(wrap);
        look->mFontText->SetAlignment(look->mTextProperties->horizontalAlignment,
                                      look->mTextProperties->verticalAlignment);
    }
    look->UpdateFrame();
    out = look;
    return out;
}

void LLook::UpdateFrame()
{
    mFrame = {};
    for (const RCPtr<LDockedPart>& part : mFrames)
    {
        const std::int32_t t = part->GetThickness();
        const Dock dock = part->GetDock();
        if (dock == Dock::kLeft || dock == Dock::kTopLeft || dock == Dock::kBottomLeft)
        {
            mFrame.left = std::max(mFrame.left, t);
        }
        if (dock == Dock::kRight || dock == Dock::kTopRight || dock == Dock::kBottomRight)
        {
            mFrame.right = std::max(mFrame.right, t);
        }
        if (dock == Dock::kTop || dock == Dock::kTopLeft || dock == Dock::kTopRight)
        {
            mFrame.top = std::max(mFrame.top, t);
        }
        if (dock == Dock::kBottom || dock == Dock::kBottomLeft || dock == Dock::kBottomRight)
        {
            mFrame.bottom = std::max(mFrame.bottom, t);
        }
    }
}

void LLook::UpdateTextBox(const RectT<double>& area)
{
    const PointT<std::int32_t> box(WholePixels(area.width), WholePixels(area.height));
    if (box != mTextBox)
    {
        mTextBox = box;
        mFontText->SetBoxSize(box.x, box.y);
    }
}

void LLook::SetRect(const RectT<double>& rect)
{
    mSize = {std::max(WholePixels(rect.width), 0), std::max(WholePixels(rect.height), 0)};
}

void LLook::SetText(const WideString& text)
{
    mText = text;
    if (mFontText && !(mFontText->GetText() == text))
    {
        mFontText->SetText(text);
    }
}

void LLook::SetFont(const RCPtr<LFont>& font)
{
    if (mFontText && mFontText->GetFont() != font)
    {
        mFontText->SetFont(font);
    }
}

void LLook::SetBitmapPart(const RCPtr<LBitmap>& bitmap, std::uint32_t resizeType)
{
    LVisualPart::Create(mBitmapPart, WideString(), bitmap, resizeType, RCPtr<LColorizer>(), 1.0f,
                        RCPtr<LBitmap>());
}

void LLook::SetMainPart(const RCPtr<LVisualPart>& part)
{
    if (mFills.empty())
    {
        mFills.push_back(RCPtr<LDockedPart>(new LDockedPart(Dock::kFill, 0.0, part, nullptr)));
    }
    else
    {
        mFills.front()->SetVisualPart(part);
    }
}

RCPtr<LVisualPart> LLook::GetMainVisualPart() const
{
    return mFills.empty() ? RCPtr<LVisualPart>() : mFills.front()->GetVisualPart();
}

RectT<std::int32_t> LLook::Inside(const Insets& insets) const
{
    return {insets.left, insets.top, std::max(mSize.x - insets.left - insets.right, 0),
            std::max(mSize.y - insets.top - insets.bottom, 0)};
}

RectT<std::int32_t> LLook::GetClientRect() const
{
    return Inside(mHasClientInsets ? mClientInsets : mFrame);
}

RectT<std::int32_t> LLook::GetDockRect(Dock dock) const
{
    const RectT<std::int32_t> inner = Inside(mFrame);
    const std::int32_t right = mSize.x - mFrame.right;
    const std::int32_t bottom = mSize.y - mFrame.bottom;
    switch (dock)
    {
    case Dock::kLeft:
        return {0, inner.y, mFrame.left, inner.height};
    case Dock::kRight:
        return {right, inner.y, mFrame.right, inner.height};
    case Dock::kTop:
        return {inner.x, 0, inner.width, mFrame.top};
    case Dock::kBottom:
        return {inner.x, bottom, inner.width, mFrame.bottom};
    case Dock::kTopLeft:
        return {0, 0, mFrame.left, mFrame.top};
    case Dock::kTopRight:
        return {right, 0, mFrame.right, mFrame.top};
    case Dock::kBottomLeft:
        return {0, bottom, mFrame.left, mFrame.bottom};
    case Dock::kBottomRight:
        return {right, bottom, mFrame.right, mFrame.bottom};
    default:
        return inner;
    }
}

bool LLook::IsOpaque() const
{
    if (!mRegion.IsEmpty() || mSize.x <= 0 || mSize.y <= 0)
    {
        return false;
    }
    const auto filled = [](const std::vector<RCPtr<LDockedPart>>& parts, Dock dock)
    {
        return std::any_of(parts.begin(), parts.end(), [dock](const RCPtr<LDockedPart>& part)
                           { return part->GetDock() == dock && part->IsOpaque(); });
    };
    // The inside and the eight places of the frame together cover the look, overlapping where
    // the frame is wider than the look.
    if (!Inside(mFrame).IsEmpty() && !filled(mFills, Dock::kFill))
    {
        return false;
    }
    for (const Dock dock : {Dock::kLeft, Dock::kTop, Dock::kRight, Dock::kBottom, Dock::kTopLeft,
                            Dock::kTopRight, Dock::kBottomLeft, Dock::kBottomRight})
    {
        if (!GetDockRect(dock).IsEmpty() && !filled(mFrames, dock))
        {
            return false;
        }
    }
    return true;
}

RCPtr<LStencil> LLook::GetStencil() const
{
    return mRegion.IsEmpty() ? RCPtr<LStencil>() : LStencil::Create(mSize.x, mSize.y);
}

RectT<double> LLook::GetTextRect() const
{
    if (!mTextProperties)
    {
        return {};
    }
    const LTextPropertiesDescriptor& t = *mTextProperties;
    const double w = mSize.x;
    const double h = mSize.y;
    const double left = t.left.relative * w + t.left.absolute;
    const double top = t.top.relative * h + t.top.absolute;
    const double right = t.right.relative * w + t.right.absolute;
    const double bottom = t.bottom.relative * h + t.bottom.absolute;
    return {left, top, std::max(right - left, 0.0), std::max(bottom - top, 0.0)};
}

bool LLook::IsTextClipped()
{
    if (!mFontText || mText.IsEmpty())
    {
        return false;
    }
    const RectT<double> area = GetTextRect();
    UpdateTextBox(area);
    mFontText->GetLineCount();
    const Array<RectT<float>>& boxes = mFontText->GetLineBoxes();
    if (boxes.GetCount() == 0)
    {
        return false;
    }
    const RectT<float>& first = *boxes.GetItemPtr(0);
    const PointT<std::int32_t> size = mFontText->GetTextSize();
    return first.width > area.width || size.y > area.height;
}

double LLook::GetContentExtent(std::uint32_t axis, std::int32_t overflow) const
{
    if (!mFontText || axis > 1 || (overflow != 1 && !(overflow == 2 && axis == 1)))
    {
        return 0.0;
    }
    const RectT<double> area = GetTextRect();
    if (axis == 0)
    {
        return mFontText->GetNaturalWidth() + (mSize.x - area.width);
    }
    const std::int32_t width =
        overflow == 2 ? WholePixels(area.width) : std::numeric_limits<std::int32_t>::max() / 2;
    return static_cast<double>(mFontText->GetHeightForWidth(width)) + (mSize.y - area.height);
}

void LLook::DrawClientPart(LRenderer& renderer, const RegionT&) const
{
    for (const RCPtr<LDockedPart>& part : mFills)
    {
        part->Draw(renderer, GetPartRect(*part));
    }
    if (mBitmapPart)
    {
        mBitmapPart->Draw(renderer, GetClientRect());
    }
}

void LLook::DrawNonClientParts(LRenderer& renderer, const RegionT&) const
{
    for (const RCPtr<LDockedPart>& part : mFrames)
    {
        part->Draw(renderer, GetPartRect(*part));
    }
}

void LLook::DrawLabelText(LRenderer& renderer, const RegionT&, const PointT<double>& offset)
{
    if (!mFontText || mText.IsEmpty() || !mFontText->GetFont())
    {
        return;
    }
    const RectT<double> area = GetTextRect();
    UpdateTextBox(area);
    const std::uint32_t count = mFontText->GetLineCount();
    const RenderState* state = renderer.GetCurrentState();
    ColorRGBA color = mTextProperties->color;
    color.alpha *= state != nullptr ? state->alpha : 1.0f;
    const ConstRCPtr<LFont> font(mFontText->GetFont());
    for (std::uint32_t i = 0; i < count; ++i)
    {
        const RectT<float>& box =
            *mFontText->GetLineBoxes().GetItemPtr(static_cast<std::int32_t>(i));
        const PointT<std::int32_t> position(WholePixels(area.x + box.x + offset.x),
                                            WholePixels(area.y + box.y + offset.y));
        renderer.DrawText(*mFontText->GetLines().GetItemPtr(static_cast<std::int32_t>(i)), font,
                          position, color);
    }
}

std::uint32_t LLook::GetColorAtPoint(const PointT<long>& point) const
{
    if (!Contains({0, 0, mSize.x, mSize.y}, point) ||
        (!mRegion.IsEmpty() && !InRegion(mRegion, point)))
    {
        return 0;
    }
    const PointT<std::int32_t> p(static_cast<std::int32_t>(point.x),
                                 static_cast<std::int32_t>(point.y));
    const auto shown = [](const ColorRGBA& color) { return color.alpha > 0.0f; };
    for (auto it = mFrames.rbegin(); it != mFrames.rend(); ++it)
    {
        const ColorRGBA color = (*it)->GetColorAt(GetPartRect(**it), p);
        if (shown(color))
        {
            return color.ToARGB();
        }
    }
    if (mBitmapPart)
    {
        const ColorRGBA color = mBitmapPart->GetColorAt(GetClientRect(), p);
        if (shown(color))
        {
            return color.ToARGB();
        }
    }
    for (auto it = mFills.rbegin(); it != mFills.rend(); ++it)
    {
        const ColorRGBA color = (*it)->GetColorAt(GetPartRect(**it), p);
        if (shown(color))
        {
            return color.ToARGB();
        }
    }
    return 0;
}

} // namespace QZ
