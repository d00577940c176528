// A window for the tests of the 2D renderer: an in-memory picture (premultiplied ARGB, like the
// frames) that presented rectangles are copied into, and a record of the rectangles each
// presentation copied.
#pragma once

#include "Platform/Graphics2D/Image.h"
#include "QZFramework/Renderer/GDI/FramePresenter.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace QZ::Testing
{

class MemoryPresenter : public IFramePresenter
{
public:
    // A window of the size whose every pixel starts as the given colour (straight ARGB).
    MemoryPresenter(std::int32_t width, std::int32_t height, std::uint32_t argb);

    void Present(Graphics2D::Image& frame,
                 std::span<const RectT<std::int32_t>> rectangles) override;

    // The rectangles of each presentation, in the order they were copied.
    [[nodiscard]] const std::vector<std::vector<RectT<std::int32_t>>>& GetPresentations() const
    {
        return mPresentations;
    }
    // Straight ARGB of a window pixel.
    [[nodiscard]] std::uint32_t GetPixel(std::int32_t x, std::int32_t y) const;
    [[nodiscard]] Graphics2D::Image& GetPicture() const { return *mPicture; }

private:
    std::unique_ptr<Graphics2D::Image> mPicture;
    std::vector<std::vector<RectT<std::int32_t>>> mPresentations;
};

} // namespace QZ::Testing
