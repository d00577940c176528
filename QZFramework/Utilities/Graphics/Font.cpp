#include "QZFramework/Utilities/Graphics/Font.h"

#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/Utilities/Storage/RCPtrArray.h"

#include <atomic>

namespace QZ
{
namespace
{

using FontCache = RCPtrArray<LFont, 1, 0>;

// Lives for the whole process, so that a font released during static destruction still finds
// it.
FontCache& Cache()
{
    static auto* cache = new FontCache();
    return *cache;
}

std::int32_t NextUniqueID()
{
    static std::atomic<std::int32_t> counter{0};
    return ++counter;
}

} // namespace

LFont::LFont(const WideString& faceName, float size, std::int32_t style)
    : mFaceName(faceName), mSize(size), mStyle(style), mUniqueID(NextUniqueID())
{
}

RCPtr<LFont> LFont::FindOrCreate(const WideString& faceName, float size, std::int32_t style)
{
    const std::int32_t index = FindFont(faceName, size, style);
    if (index >= 0)
    {
        return Cache().GetAt(index);
    }
    RCPtr<LFont> font(new LFont(faceName, size, style));
    Cache().Add(font);
    font->AdjustCyclicRefCount(1);
    return font;
}

std::int32_t LFont::FindFont(const WideString& faceName, float size, std::int32_t style)
{
    const FontCache& cache = Cache();
    for (std::int32_t i = cache.GetCount() - 1; i >= 0; --i)
    {
        const LFont& font = *cache.GetAt(i);
        const bool sameFace = font.mFaceName.GetBuffer() == faceName.GetBuffer() ||
                              font.mFaceName.EqualsNoCase(faceName);
        if (sameFace && font.mSize == size && font.mStyle == style)
        {
            return i;
        }
    }
    return -1;
}

QZRESULT LFont::ReleaseInternalReferences()
{
    FontCache& cache = Cache();
    for (std::int32_t i = cache.GetCount() - 1; i >= 0; --i)
    {
        if (cache.GetAt(i).Get() == this)
        {
            AdjustCyclicRefCount(-1);
            cache.RemoveItem(i);
            return S_OK;
        }
    }
    return E_FAIL;
}

std::int32_t LFont::ComputeMetrics() const
{
    if (mHeight >= 0)
    {
        return mHeight;
    }
    LApplicationBase* application = LApplicationBase::GetApplication();
    RCPtr<LRenderer> renderer = application != nullptr ? application->GetRenderer() : nullptr;
    if (!renderer)
    {
        return mHeight;
    }
    std::int32_t height = mHeight;
    std::int32_t ascent = mAscent;
    std::int32_t descent = mDescent;
    if (renderer->GetFontMetrics(ConstRCPtr<LFont>(const_cast<LFont*>(this)), height, ascent,
                                 descent) == S_OK)
    {
        mHeight = height;
        mAscent = ascent;
        mDescent = descent;
    }
    return mHeight;
}

std::int32_t LFont::GetAscent() const
{
    ComputeMetrics();
    return mAscent;
}

std::int32_t LFont::GetDescent() const
{
    ComputeMetrics();
    return mDescent;
}

std::int32_t LFont::GetUniqueID(const ConstRCPtr<LFont>& font)
{
    return font ? font->mUniqueID : 0;
}

} // namespace QZ
