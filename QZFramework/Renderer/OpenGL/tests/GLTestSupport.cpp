#include "QZFramework/Renderer/OpenGL/tests/GLTestSupport.h"

#include <gtest/gtest.h>

namespace QZ::Testing
{

GLFrame::GLFrame(std::int32_t width, std::int32_t height)
    : mRenderer(RCPtr<LGLRenderer>::DynamicCastFrom(
          LRenderer::Create(LRenderer::kTypeOpenGL, {0, 0, width, height}, nullptr)))
{
    EXPECT_EQ(mRenderer->InitRenderContextInfo({0, 0, width, height}, nullptr, true, mContext),
              S_OK);
}

LGLRenderContextInfo& GLFrame::GLContext() const
{
    return dynamic_cast<LGLRenderContextInfo&>(*mContext);
}

void GLFrame::Draw(const std::function<void(LGLRenderer&)>& drawing) const
{
    (void)mRenderer->RenderStart(mContext);
    drawing(*mRenderer);
    (void)mRenderer->RenderFinish(mContext);
}

std::vector<std::uint32_t> GLFrame::Picture() const
{
    return GLContext().ReadPixels();
}

std::uint32_t GLFrame::Pixel(std::int32_t x, std::int32_t y) const
{
    return Picture().at(static_cast<std::size_t>(y * GLContext().GetPictureWidth() + x));
}

std::string GLFrame::Map(std::uint32_t argb) const
{
    const std::vector<std::uint32_t> picture = Picture();
    const std::int32_t width = GLContext().GetPictureWidth();
    std::string text;
    for (std::size_t i = 0; i < picture.size(); ++i)
    {
        text += picture[i] == argb ? '#' : '.';
        if ((i + 1) % static_cast<std::size_t>(width) == 0)
        {
            text += '\n';
        }
    }
    return text;
}

} // namespace QZ::Testing
