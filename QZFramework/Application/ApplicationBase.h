// The application object as rendering sees it, in its least form: the clocks, the renderer
// through which fonts take their metrics and text is measured, and the default font.
//
// One application object exists at a time; its constructor makes it the application that
// GetApplication returns, and its destructor withdraws it. Everything here is used on the
// user-interface thread. The application shell builds the rest of the application on this class.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/Renderer/Renderer.h"
#include "QZFramework/Utilities/Graphics/Font.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

class LControlFactory;

class LApplicationBase
{
public:
    // A logic error when another application object is alive.
    LApplicationBase();
    virtual ~LApplicationBase();
    LApplicationBase(const LApplicationBase&) = delete;
    LApplicationBase& operator=(const LApplicationBase&) = delete;

    // The living application object, or null.
    [[nodiscard]] static LApplicationBase* GetApplication();

    // Milliseconds of a steady clock as an unsigned 32-bit count that wraps.
    [[nodiscard]] virtual std::uint32_t GetTimeMilliseconds() const;
    // Seconds since the first call, advanced by the difference of successive millisecond
    // readings (so a wrap of the millisecond count does not show).
    [[nodiscard]] double GetTimeSeconds();

    // The renderer the application draws and measures with: the GDI+ type (1).
    [[nodiscard]] static std::int32_t GetRendererType() { return 1; }
    [[nodiscard]] RCPtr<LRenderer> GetRenderer() const { return mRenderer; }
    void SetRenderer(const RCPtr<LRenderer>& renderer) { mRenderer = renderer; }

    // The desktop's default interface font: the layer's fallback sans-serif family at 9 points,
    // regular (style bits: 1 bold, 2 italic, 4 underline, 8 strikeout). E_FAIL when the machine
    // has no scalable font.
    [[nodiscard]] virtual QZRESULT GetDefaultFont(WideString& face, float& size,
                                                  std::int32_t& style) const;
    // The base font of controls that do not take their parent's; null until set.
    [[nodiscard]] RCPtr<LFont> GetApplicationFont() const { return mApplicationFont; }
    void SetApplicationFont(const RCPtr<LFont>& font) { mApplicationFont = font; }

    // The control factory that builds every control from the skins; null until set.
    [[nodiscard]] RCPtr<LControlFactory> GetControlFactory() const;
    void SetControlFactory(const RCPtr<LControlFactory>& factory);

private:
    RCPtr<LRenderer> mRenderer;
    RCPtr<LFont> mApplicationFont;
    RCPtr<LControlFactory> mControlFactory;
    bool mClockStarted = false;
    std::uint32_t mLastMilliseconds = 0;
    double mSeconds = 0.0;
};

} // namespace QZ
