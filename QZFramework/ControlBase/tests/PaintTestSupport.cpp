#include "QZFramework/ControlBase/tests/PaintTestSupport.h"

#include "Platform/Graphics2D/Image.h"
#include "QZFramework/Utilities/Graphics/Font.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace QZ::ToolkitTest
{

PaintedWindow::PaintedWindow(LApplicationBase& application, std::int32_t width, std::int32_t height)
    : mPresenter(width, height, 0xFF000000u), mRenderer(new LGDIRenderer()),
      mWindow(new LRootWindow())
{
    EXPECT_EQ(mRenderer->InitRenderContextInfo({0, 0, width, height}, mPresenter.ToWindowHandle(),
                                               false, mContext),
              S_OK);
    application.SetRenderer(mRenderer);
    application.SetApplicationFont(LFont::FindOrCreate(u"DejaVu Sans", 9.0f, 0));
    mWindow->SetClientScreenRect({0, 0, width, height});
}

PaintedWindow::~PaintedWindow()
{
    if (LApplicationBase* application = LApplicationBase::GetApplication())
    {
        application->SetRenderer(RCPtr<LRenderer>());
    }
}

std::vector<RectT<std::int32_t>> PaintedWindow::Frame()
{
    RegionT dirty;
    mWindow->TakeDirtyRegion(dirty);
    mContext->GetUpdateRegion().Clear();
    mContext->GetUpdateRegion().AppendRects(dirty);
    const std::size_t before = mPresenter.GetPresentations().size();
    (void)mRenderer->RenderStart(mContext);
    mWindow->Paint(RCPtr<LRenderer>(mRenderer.Get()), dirty);
    (void)mRenderer->RenderFinish(mContext);
    return mPresenter.GetPresentations().size() > before ? mPresenter.GetPresentations().back()
                                                         : std::vector<RectT<std::int32_t>>();
}

std::vector<RectT<std::int32_t>> PaintedWindow::DirtyRects() const
{
    Array<RectT<std::int32_t>> rects;
    mWindow->GetDirtyRegion().ToRectArray(rects);
    std::vector<RectT<std::int32_t>> out;
    for (std::int32_t i = 0; i < rects.GetCount(); ++i)
    {
        out.push_back(rects.GetAt(i));
    }
    return out;
}

std::int32_t ComparePicture(Graphics2D::Image& picture, const std::string& path,
                            const std::vector<RectT<std::int32_t>>& loose, std::int32_t tolerance,
                            const std::string& actualPath)
{
    std::unique_ptr<Graphics2D::Image> reference;
    const std::int32_t width = picture.GetWidth();
    const std::int32_t height = picture.GetHeight();
    std::int32_t differing = -1;
    if (Graphics2D::Image::FromFile(path.c_str(), reference) == Graphics2D::Status::Ok &&
        reference->GetWidth() == width && reference->GetHeight() == height)
    {
        differing = 0;
        for (std::int32_t y = 0; y < height; ++y)
        {
            for (std::int32_t x = 0; x < width; ++x)
            {
                std::uint32_t want = 0;
                std::uint32_t got = 0;
                (void)reference->GetPixel(x, y, want);
                (void)picture.GetPixel(x, y, got);
                const bool inLoose = std::any_of(loose.begin(), loose.end(),
                                                 [x, y](const RectT<std::int32_t>& r) {
                                                     return x >= r.x && y >= r.y &&
                                                            x < r.GetRight() && y < r.GetBottom();
                                                 });
                std::int32_t off = 0;
                for (int shift = 0; shift < 32; shift += 8)
                {
                    off = std::max(off, std::abs(static_cast<std::int32_t>((want >> shift) & 0xFF) -
                                                 static_cast<std::int32_t>((got >> shift) & 0xFF)));
                }
                differing += off > (inLoose ? tolerance : 0) ? 1 : 0;
            }
        }
    }
    if (differing != 0)
    {
        (void)picture.SaveToPngFile(actualPath.c_str());
    }
    return differing;
}

} // namespace QZ::ToolkitTest
