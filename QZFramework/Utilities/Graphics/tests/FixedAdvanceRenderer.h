// A renderer for the tests of fonts and text layout, built on the stub renderer (which draws
// nothing), that measures every UTF-16 unit at a fixed advance so that layout tests do not depend
// on installed fonts.
#pragma once

#include "QZFramework/Renderer/D3D9/D3D9Renderer.h"

#include <cstdint>

namespace QZ::Testing
{

class FixedAdvanceRenderer : public LD3D9Renderer
{
public:
    // Height lineHeight, ascent -(lineHeight - lineHeight / 4), descent lineHeight / 4, unless
    // fillMetrics is false (then the values are left as they were, as the stub leaves them).
    QZRESULT GetFontMetrics(const ConstRCPtr<LFont>& font, std::int32_t& height,
                            std::int32_t& ascent, std::int32_t& descent) override;
    // (xOffset, -9, advance x units, lineHeight); an empty text measures (0, 0, 0, 0).
    RectT<float> MeasureText(const WideString& text, const ConstRCPtr<LFont>& font) override;

    float advance = 10.0f;
    float xOffset = 0.0f;
    std::int32_t lineHeight = 12;
    bool fillMetrics = true;
    int metricsRequests = 0;
};

} // namespace QZ::Testing
