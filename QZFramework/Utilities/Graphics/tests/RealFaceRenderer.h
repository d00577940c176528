// A renderer for the tests of fonts and text layout, built on the stub renderer (which draws
// nothing), that measures with the real faces through the 2D graphics layer.
#pragma once

#include "QZFramework/Renderer/D3D9/D3D9Renderer.h"

#include <cstdint>

namespace QZ::Testing
{

// Metrics and widths of the named family (DejaVu Sans when it is missing) at the font's size in
// points on a 96-dpi surface, the way the program's 2D renderer takes them.
class RealFaceRenderer : public LD3D9Renderer
{
public:
    QZRESULT GetFontMetrics(const ConstRCPtr<LFont>& font, std::int32_t& height,
                            std::int32_t& ascent, std::int32_t& descent) override;
    RectT<float> MeasureText(const WideString& text, const ConstRCPtr<LFont>& font) override;
};

} // namespace QZ::Testing
