// A font described by face name, size and style, shared and never changed after creation.
//
// The process-wide font cache hands every caller asking for the same face (ignoring case), size
// and style the same object. The cache's reference counts as an internal reference of the font:
// when nothing outside the cache holds a font any more it leaves the cache and is destroyed, and
// a later request makes a new font with a new identity, so renderer caches keyed by the old
// identity no longer match. Fonts and the cache are used on the user-interface thread only.
//
// The three pixel metrics come from the application's renderer on first use. A renderer that
// cannot measure leaves the height at -1, and the next call asks again.
#pragma once

#include "QZFramework/ObjectBase/ConstRCPtr.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

class LFont : public virtual LRefCountedObject
{
public:
    // Takes the next identity; the first font of the process has identity 1.
    LFont(const WideString& faceName, float size, std::int32_t style);
    LFont(const LFont&) = delete;
    LFont& operator=(const LFont&) = delete;

    // The cached font of that face, size and style, made and cached when there is none.
    [[nodiscard]] static RCPtr<LFont> FindOrCreate(const WideString& faceName, float size,
                                                   std::int32_t style);
    // The index in the cache of the most recently added matching font, or -1. A size that is
    // not a number matches nothing.
    [[nodiscard]] static std::int32_t FindFont(const WideString& faceName, float size,
                                               std::int32_t style);

    // Removes this very font from the cache (never another font of equal description); E_FAIL
    // when it is not there.
    QZRESULT ReleaseInternalReferences() override;

    // The line height in pixels, asking the application's renderer while it is unknown; -1 while
    // no renderer has given it.
    std::int32_t ComputeMetrics() const;
    // Pixels from the baseline up to the top of the cell, as the renderer gives it (the GDI+
    // renderer gives it negative).
    [[nodiscard]] std::int32_t GetAscent() const;
    // Pixels from the baseline down to the bottom of the cell.
    [[nodiscard]] std::int32_t GetDescent() const;

    [[nodiscard]] static std::int32_t GetUniqueID(const ConstRCPtr<LFont>& font);
    [[nodiscard]] std::int32_t GetUniqueID() const { return mUniqueID; }
    [[nodiscard]] const WideString& GetFaceName() const { return mFaceName; }
    [[nodiscard]] float GetSize() const { return mSize; }
    [[nodiscard]] std::int32_t GetStyle() const { return mStyle; }

private:
    WideString mFaceName;
    float mSize;
    std::int32_t mStyle;
    // Filled once by the renderer; a cache of values every holder would compute alike.
    mutable std::int32_t mHeight = -1;
    mutable std::int32_t mAscent = 0;
    mutable std::int32_t mDescent = 0;
    std::int32_t mUniqueID;
};

} // namespace QZ
