#include "QZFramework/Application/ApplicationBase.h"

#include "Platform/Graphics2D/FontFamily.h"
#include "QZFramework/ControlBase/ControlFactory.h"

#include <atomic>
#include <chrono>

namespace QZ
{
namespace
{

std::atomic<LApplicationBase*> gApplication{nullptr};

// The interface font size of the desktop the program was made for: an icon-title font of
// 12 pixels at 96 dots per inch.
constexpr float kDefaultFontPoints = 9.0f;

} // namespace

LApplicationBase::LApplicationBase()
{
    LApplicationBase* none = nullptr;
    if (!gApplication.compare_exchange_strong(none, this))
    {
        QZ_THROW_LOGIC("QZ::LApplicationBase::LApplicationBase",
                       "an application object already exists");
    }
}

LApplicationBase::~LApplicationBase()
{
    LApplicationBase* self = this;
    gApplication.compare_exchange_strong(self, nullptr);
}

LApplicationBase* LApplicationBase::GetApplication()
{
    return gApplication.load();
}

RCPtr<LControlFactory> LApplicationBase::GetControlFactory() const
{
    return mControlFactory;
}

void LApplicationBase::SetControlFactory(const RCPtr<LControlFactory>& factory)
{
    mControlFactory = factory;
}

std::uint32_t LApplicationBase::GetTimeMilliseconds() const
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

double LApplicationBase::GetTimeSeconds()
{
    const std::uint32_t now = GetTimeMilliseconds();
    if (mClockStarted)
    {
        mSeconds += static_cast<std::uint32_t>(now - mLastMilliseconds) / 1000.0;
    }
    mClockStarted = true;
    mLastMilliseconds = now;
    return mSeconds;
}

QZRESULT LApplicationBase::GetDefaultFont(WideString& face, float& size, std::int32_t& style) const
{
    Graphics2D::FontFamily family;
    if (Graphics2D::FontFamily::GenericSansSerif(family) != Graphics2D::Status::Ok)
    {
        return E_FAIL;
    }
    face = WideString(family.GetName().c_str());
    size = kDefaultFontPoints;
    style = 0;
    return S_OK;
}

} // namespace QZ
