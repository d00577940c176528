// What text layout and fonts need of a renderer: font metrics and the size of a line of text.
#pragma once

#include "QZFramework/ObjectBase/ConstRCPtr.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Graphics/RectT.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

// A font as the font cache keeps it; only passed through here.
class LFont;

class LMeasurementRenderer : public virtual LRefCountedObject
{
public:
    // Fills the font's height, ascent and descent in pixels; 0 on success. A renderer that cannot
    // measure answers 0 and leaves the three values as they were.
    [[nodiscard]] virtual QZRESULT GetFontMetrics(const ConstRCPtr<LFont>& font,
                                                  std::int32_t& height, std::int32_t& ascent,
                                                  std::int32_t& descent) = 0;
    // The box of one line of text in the font.
    virtual RectT<float> MeasureText(const WideString& text, const ConstRCPtr<LFont>& font) = 0;
};

} // namespace QZ
