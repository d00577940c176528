#include "QZFramework/Renderer/FontRenderer/AtlasGlyphProcessor.h"

namespace QZ
{

LAtlasGlyphProcessor::LAtlasGlyphProcessor() : mFonts(kFontCapacity) {}

void LAtlasGlyphProcessor::Begin(const ConstRCPtr<LFont>& font, std::uint32_t flags)
{
    mFlags = flags;
    mBounds = {};
    mEntry = {};
    mCurrent = nullptr;
    if (!font)
    {
        return;
    }
    RCPtr<LGlyphAtlas>& slot = mFonts.Lookup(LFont::GetUniqueID(font));
    if (!slot)
    {
        slot = new LGlyphAtlas(font);
    }
    mCurrent = slot;
}

void LAtlasGlyphProcessor::End()
{
    mCurrent = nullptr;
}

std::uint16_t LAtlasGlyphProcessor::QueryGlyph(SGlyph& record)
{
    if (!mCurrent)
    {
        return 0;
    }
    const SCachedGlyph* found = mCurrent->FindGlyph(static_cast<std::int32_t>(record.character));
    mEntry = found != nullptr ? *found : SCachedGlyph{};
    if (mEntry.character == 0)
    {
        return kWorkAll;
    }
    record.box = mEntry.box;
    record.advanceX = mEntry.advanceX;
    record.advanceY = mEntry.advanceY;
    record.glyphIndex = mEntry.glyphIndex;
    return 0;
}

void LAtlasGlyphProcessor::ProcessGlyph(SGlyph& record)
{
    if (!mCurrent)
    {
        return;
    }
    if (mEntry.character == 0)
    {
        mEntry.character = static_cast<std::int32_t>(record.character);
        mEntry.glyphIndex = record.glyphIndex;
        mEntry.box = record.box;
        mEntry.advanceX = record.advanceX;
        mEntry.advanceY = record.advanceY;
        mCurrent->AddGlyph(mEntry, record.bitmap.Get());
    }
    if ((mFlags & kFlagCollectBounds) != 0)
    {
        const RectT<float> glyph(record.penX, static_cast<float>(mEntry.box.top) + record.penY,
                                 static_cast<float>(mEntry.advanceX >> 6),
                                 static_cast<float>(mEntry.box.GetHeight()));
        RectT<float>::Union(mBounds, mBounds, glyph);
    }
}

RCPtr<LGlyphAtlas> LAtlasGlyphProcessor::FindAtlas(const ConstRCPtr<LFont>& font) const
{
    const std::int32_t key = LFont::GetUniqueID(font);
    for (std::int32_t i = 0; i < mFonts.GetCapacity(); ++i)
    {
        const FontCache::Entry& entry = mFonts.GetEntry(i);
        if (entry.key == key && !entry.IsEmpty())
        {
            return entry.object;
        }
    }
    return nullptr;
}

} // namespace QZ
