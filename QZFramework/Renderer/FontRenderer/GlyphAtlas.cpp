#include "QZFramework/Renderer/FontRenderer/GlyphAtlas.h"

#include "QZFramework/System/DebugStreams.h"
#include "QZFramework/Utilities/Graphics/Font.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <ostream>

namespace QZ
{
namespace
{

// The smallest power of two not below rows (1 for 0).
std::int32_t PowerOfTwoAtLeast(std::int32_t rows)
{
    std::int32_t power = 1;
    while (power < rows)
    {
        power *= 2;
    }
    return power;
}

// The font's size in whole points, as the height of the atlas's first row.
std::int32_t FirstRowHeight(const ConstRCPtr<LFont>& font)
{
    const float size = font ? font->GetSize() : 0.0f;
    if (!(size > 0.0f))
    {
        return 0;
    }
    return static_cast<std::int32_t>(std::min(size, static_cast<float>(LGlyphAtlas::kMaxHeight)));
}

} // namespace

LGlyphAtlas::LGlyphAtlas(const ConstRCPtr<LFont>& font) : mFont(font)
{
    // Reserving an empty first cell sizes the first image for one line of the font.
    (void)ReserveCell(0, FirstRowHeight(font));
}

LGlyphAtlas::~LGlyphAtlas()
{
    mGlyphs.Clear();
}

const LGlyphAtlas::SCachedGlyph* LGlyphAtlas::FindGlyph(std::int32_t character)
{
    return mGlyphs.Find(character, nullptr);
}

void LGlyphAtlas::AddGlyph(SCachedGlyph& glyph, const LPixelBuffer<unsigned char>* bitmap)
{
    const std::int32_t width = bitmap != nullptr ? bitmap->GetWidth() : 0;
    const std::int32_t height = bitmap != nullptr ? bitmap->GetHeight() : 0;
    glyph.inAtlas = width >= 0 && height >= 0 && width <= kWidth && height <= kMaxHeight &&
                    ReserveCell(width + 2, height + 2);
    if (glyph.inAtlas)
    {
        glyph.textureX = static_cast<std::uint16_t>(mCursorX + 1);
        glyph.textureY = static_cast<std::uint16_t>(mRowTop + 1);
        if (bitmap != nullptr)
        {
            CopyBitmap(*bitmap, glyph.textureX, glyph.textureY);
        }
        AddDirty(RectT<float>(static_cast<float>(mCursorX), static_cast<float>(mRowTop),
                              static_cast<float>(width + 2), static_cast<float>(height + 2)));
        mCursorX += width + 2;
    }
    else
    {
        glyph.textureX = 0;
        glyph.textureY = 0;
        DebugStreams::Narrow() << "LGlyphAtlas::AddGlyph: no room for the " << width << " x "
                               << height << " glyph of character " << glyph.character
                               << "; it is not drawn" << std::endl;
    }
    mGlyphs.Add(glyph);
}

bool LGlyphAtlas::ReserveCell(std::int32_t width, std::int32_t height)
{
    if (width > kWidth)
    {
        return false;
    }
    const bool newRow = mCursorX + width >= kWidth;
    const std::int32_t rowTop = newRow ? mRowTop + mRowHeight : mRowTop;
    if (rowTop + height > kMaxHeight)
    {
        return false;
    }
    if (!mImage)
    {
        try
        {
            mImage = LPixelBuffer<unsigned char>::Create(kWidth, static_cast<std::uint32_t>(height),
                                                         kWidth, nullptr);
        }
        catch (const std::bad_alloc&)
        {
            return false;
        }
    }
    if (mImage->GetHeight() <= rowTop + height && !GrowImage(rowTop + height))
    {
        return false;
    }
    if (newRow)
    {
        mCursorX = 0;
        mRowTop = rowTop;
        mRowHeight = 0;
    }
    mRowHeight = std::max(mRowHeight, height);
    return true;
}

bool LGlyphAtlas::GrowImage(std::int32_t rows)
{
    if (Failed(mImage->SetHeight(static_cast<std::uint32_t>(PowerOfTwoAtLeast(rows)))))
    {
        return false;
    }
    mDirty = RectT<float>(0.0f, 0.0f, static_cast<float>(kWidth),
                          static_cast<float>(mImage->GetHeight()));
    return true;
}

void LGlyphAtlas::CopyBitmap(const LPixelBuffer<unsigned char>& bitmap, std::int32_t x,
                             std::int32_t y)
{
    const auto width = static_cast<std::size_t>(bitmap.GetWidth());
    if (width == 0)
    {
        return;
    }
    for (std::int32_t row = 0; row < bitmap.GetHeight(); ++row)
    {
        const unsigned char* source = bitmap.GetPixelAddress(0, static_cast<std::uint32_t>(row));
        unsigned char* target = mImage->GetPixelAddress(static_cast<std::uint32_t>(x),
                                                        static_cast<std::uint32_t>(y + row));
        // A bitmap whose storage is shorter than its rows copies only the rows it holds.
        if (source == nullptr || target == nullptr ||
            bitmap.GetPixelAddress(static_cast<std::uint32_t>(width - 1),
                                   static_cast<std::uint32_t>(row)) == nullptr)
        {
            return;
        }
        std::memcpy(target, source, width);
    }
}

void LGlyphAtlas::AddDirty(const RectT<float>& area)
{
    if (mDirty.IsEmpty())
    {
        mDirty = area;
    }
    else
    {
        RectT<float>::Union(mDirty, mDirty, area);
    }
}

} // namespace QZ
