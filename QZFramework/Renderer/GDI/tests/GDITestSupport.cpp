#include "QZFramework/Renderer/GDI/tests/GDITestSupport.h"

#include "Platform/Graphics2D/Image.h"

#include <gtest/gtest.h>

#include <exception>
#include <utility>

namespace QZ::Testing
{

OffscreenFrame::OffscreenFrame(std::int32_t width, std::int32_t height,
                               RCPtr<LGDIRenderer> renderer)
    : mRenderer(std::move(renderer))
{
    EXPECT_EQ(mRenderer->InitRenderContextInfo({0, 0, width, height}, nullptr, true, mContext),
              S_OK);
}

LGDIRenderContextInfo& OffscreenFrame::GDIContext() const
{
    return dynamic_cast<LGDIRenderContextInfo&>(*mContext);
}

void OffscreenFrame::Start() const
{
    (void)mRenderer->RenderStart(mContext);
}

void OffscreenFrame::Finish() const
{
    (void)mRenderer->RenderFinish(mContext);
}

void OffscreenFrame::Draw(const std::function<void(LGDIRenderer&)>& drawing) const
{
    Start();
    drawing(*mRenderer);
    Finish();
}

std::uint32_t OffscreenFrame::Pixel(std::int32_t x, std::int32_t y) const
{
    std::uint32_t argb = 0;
    EXPECT_EQ(GDIContext().GetFrontSurface()->GetBitmap()->GetPixel(x, y, argb),
              Graphics2D::Status::Ok);
    return argb;
}

std::string OffscreenFrame::Picture(std::uint32_t argb) const
{
    const PointT<std::int32_t> size = GDIContext().GetFrontSurface()->GetSize();
    std::string text;
    for (std::int32_t y = 0; y < size.y; ++y)
    {
        for (std::int32_t x = 0; x < size.x; ++x)
        {
            text += Pixel(x, y) == argb ? '#' : '.';
        }
        text += '\n';
    }
    return text;
}

std::string OffscreenFrame::Colours(std::int32_t width, std::int32_t height) const
{
    std::string text;
    for (std::int32_t y = 0; y < height; ++y)
    {
        for (std::int32_t x = 0; x < width; ++x)
        {
            text += ColourLetter(Pixel(x, y));
        }
        text += '\n';
    }
    return text;
}

std::string OffscreenFrame::Colours() const
{
    const PointT<std::int32_t> size = GDIContext().GetFrontSurface()->GetSize();
    return Colours(size.x, size.y);
}

char ColourLetter(std::uint32_t argb)
{
    constexpr std::pair<std::uint32_t, char> kLetters[] = {
        {kRed, 'R'}, {kGreen, 'G'}, {kBlue, 'B'}, {kWhite, 'W'}, {kBlack, 'K'}, {0, '.'}};
    for (const auto& [colour, letter] : kLetters)
    {
        if (argb == colour)
        {
            return letter;
        }
    }
    return '?';
}

std::string ExceptionText(const std::function<void()>& action)
{
    try
    {
        action();
    }
    catch (const std::exception& e)
    {
        return e.what();
    }
    return "no exception";
}

} // namespace QZ::Testing
