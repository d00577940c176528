#include "QZFramework/Renderer/GDI/tests/MemoryPresenter.h"

#include <algorithm>
#include <cstring>

namespace QZ::Testing
{
namespace
{

// The frame's own format: its rows are copied as they are, as a window would take them.
constexpr Graphics2D::PixelFormat kFormat = Graphics2D::PixelFormat::Format32bppPARGB;

} // namespace

MemoryPresenter::MemoryPresenter(std::int32_t width, std::int32_t height, std::uint32_t argb)
{
    (void)Graphics2D::Image::Create(width, height, Graphics2D::PixelFormat::Format32bppPARGB,
                                    mPicture);
    Graphics2D::BitmapData data;
    if (mPicture && mPicture->LockBits({0, 0, width, height}, Graphics2D::LockModeWrite, data) ==
                        Graphics2D::Status::Ok)
    {
        for (std::int32_t y = 0; y < height; ++y)
        {
            auto* row =
                reinterpret_cast<std::uint32_t*>(data.scan0 + std::ptrdiff_t{y} * data.stride);
            std::fill_n(row, width, argb);
        }
        mPicture->UnlockBits(data);
    }
}

void MemoryPresenter::Present(Graphics2D::Image& frame,
                              std::span<const RectT<std::int32_t>> rectangles)
{
    mPresentations.emplace_back(rectangles.begin(), rectangles.end());
    for (const RectT<std::int32_t>& rect : rectangles)
    {
        const Graphics2D::RectI area{rect.x, rect.y, rect.width, rect.height};
        Graphics2D::BitmapData from;
        Graphics2D::BitmapData to;
        if (frame.LockBits(area, Graphics2D::LockModeRead, kFormat, from) != Graphics2D::Status::Ok)
        {
            continue;
        }
        if (mPicture->LockBits(area, Graphics2D::LockModeWrite, kFormat, to) ==
            Graphics2D::Status::Ok)
        {
            for (std::int32_t y = 0; y < area.height; ++y)
            {
                std::memcpy(to.scan0 + std::ptrdiff_t{y} * to.stride,
                            from.scan0 + std::ptrdiff_t{y} * from.stride,
                            static_cast<std::size_t>(area.width) * 4);
            }
            mPicture->UnlockBits(to);
        }
        frame.UnlockBits(from);
    }
}

std::uint32_t MemoryPresenter::GetPixel(std::int32_t x, std::int32_t y) const
{
    std::uint32_t argb = 0;
    (void)mPicture->GetPixel(x, y, argb);
    return argb;
}

} // namespace QZ::Testing
