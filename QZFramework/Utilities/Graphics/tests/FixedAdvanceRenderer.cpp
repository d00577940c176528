#include "QZFramework/Utilities/Graphics/tests/FixedAdvanceRenderer.h"

#include "QZFramework/Utilities/Storage/StringT.h"

namespace QZ::Testing
{

QZRESULT FixedAdvanceRenderer::GetFontMetrics(const ConstRCPtr<LFont>&, std::int32_t& height,
                                              std::int32_t& ascent, std::int32_t& descent)
{
    ++metricsRequests;
    if (fillMetrics)
    {
        height = lineHeight;
        ascent = -(lineHeight - lineHeight / 4);
        descent = lineHeight / 4;
    }
    return S_OK;
}

RectT<float> FixedAdvanceRenderer::MeasureText(const WideString& text, const ConstRCPtr<LFont>&)
{
    if (text.IsEmpty())
    {
        return {};
    }
    return {xOffset, -9.0f, advance * static_cast<float>(text.GetLength()),
            static_cast<float>(lineHeight)};
}

} // namespace QZ::Testing
