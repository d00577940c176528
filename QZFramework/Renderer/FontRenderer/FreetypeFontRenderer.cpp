#include "QZFramework/Renderer/FontRenderer/FreetypeFontRenderer.h"

#include "QZFramework/Renderer/FontRenderer/FontFileInfo.h"
#include "QZFramework/Utilities/Graphics/Font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_CACHE_H
#include FT_GLYPH_H

#include <algorithm>
#include <cstdint>

namespace QZ
{
namespace
{

constexpr FT_UInt kMaxFaces = 8;
constexpr FT_ULong kMaxSizes = 16;
constexpr FT_ULong kMaxCacheBytes = 0x400000;
constexpr FT_UInt kDotsPerInch = 96;
// Below this size glyphs are rendered in black and white; anti-aliasing only blurs them.
constexpr float kSmallestAntialiasedPoints = 8.0f;

// The cache manager's face identifiers are pointers and must not be null, so they carry the
// font-file identifier plus one.
FTC_FaceID ToFaceID(std::int32_t fileID)
{
    return reinterpret_cast<FTC_FaceID>(static_cast<std::intptr_t>(fileID) + 1);
}

FT_Error RequestFace(FTC_FaceID faceID, FT_Library library, FT_Pointer /*requestData*/,
                     FT_Face* face)
{
    const auto fileID = static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(faceID) - 1);
    const WideString& path = LFontFileInfo::GetFilePath(fileID);
    if (path.IsEmpty())
    {
        return FT_Err_Cannot_Open_Resource;
    }
    return FT_New_Face(library, path.ToNarrowString().GetString(),
                       LFontFileInfo::GetFaceIndex(fileID), face);
}

// A copy of a loaded glyph, released when the character is done with.
struct GlyphCopy
{
    FT_Glyph glyph = nullptr;
    GlyphCopy() = default;
    GlyphCopy(const GlyphCopy&) = delete;
    GlyphCopy& operator=(const GlyphCopy&) = delete;
    ~GlyphCopy()
    {
        if (glyph != nullptr)
        {
            FT_Done_Glyph(glyph);
        }
    }
};

// One byte per pixel, a set bit (most significant first) giving 0xFF.
RCPtr<LPixelBuffer<unsigned char>> ExpandMonochrome(const FT_Bitmap& bitmap)
{
    auto pixels =
        LPixelBuffer<unsigned char>::Create(bitmap.width, bitmap.rows, bitmap.width, nullptr);
    for (unsigned row = 0; row < bitmap.rows; ++row)
    {
        const unsigned char* source =
            bitmap.buffer + static_cast<std::size_t>(row) * static_cast<unsigned>(bitmap.pitch);
        unsigned char* target = pixels->GetPixelAddress(0, row);
        for (unsigned x = 0; x < bitmap.width; ++x)
        {
            target[x] = (source[x >> 3] & (0x80u >> (x & 7u))) != 0 ? 0xFF : 0x00;
        }
    }
    return pixels;
}

// The slot's bitmap as 8-bit coverage; null for a layout this renderer does not draw.
RCPtr<LPixelBuffer<unsigned char>> ToPixelBuffer(const FT_Bitmap& bitmap)
{
    if (bitmap.width == 0 || bitmap.rows == 0)
    {
        return LPixelBuffer<unsigned char>::Create(bitmap.width, bitmap.rows, 0, nullptr);
    }
    if (bitmap.buffer == nullptr || bitmap.pitch <= 0)
    {
        return nullptr;
    }
    if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO &&
        static_cast<unsigned>(bitmap.pitch) * 8u >= bitmap.width)
    {
        return ExpandMonochrome(bitmap);
    }
    if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY &&
        static_cast<unsigned>(bitmap.pitch) >= bitmap.width)
    {
        return LPixelBuffer<unsigned char>::Create(
            bitmap.width, bitmap.rows, static_cast<std::uint32_t>(bitmap.pitch), bitmap.buffer);
    }
    return nullptr;
}

// Renders the slot in the preferred mode, or else in the other one.
RCPtr<LPixelBuffer<unsigned char>> RenderBitmap(FT_GlyphSlot slot, bool monochrome)
{
    const FT_Render_Mode preferred = monochrome ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL;
    const FT_Render_Mode other = monochrome ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO;
    if (FT_Render_Glyph(slot, preferred) != 0 && FT_Render_Glyph(slot, other) != 0)
    {
        return nullptr;
    }
    return ToPixelBuffer(slot->bitmap);
}

std::int32_t ToInt32(FT_Pos value)
{
    return static_cast<std::int32_t>(std::clamp<FT_Pos>(value, INT32_MIN, INT32_MAX));
}

} // namespace

// FreeType and the font-file list, for as long as any renderer lives.
struct LFreetypeFontRenderer::SharedLibrary
{
    FT_Library library = nullptr;
    FTC_Manager manager = nullptr;

    SharedLibrary()
    {
        LFontFileInfo::ScanFontFolder();
        if (FT_Init_FreeType(&library) != 0)
        {
            library = nullptr;
            return;
        }
        if (FTC_Manager_New(library, kMaxFaces, kMaxSizes, kMaxCacheBytes, &RequestFace, nullptr,
                            &manager) != 0)
        {
            manager = nullptr;
        }
    }

    ~SharedLibrary()
    {
        if (manager != nullptr)
        {
            FTC_Manager_Done(manager);
        }
        if (library != nullptr)
        {
            FT_Done_FreeType(library);
        }
        LFontFileInfo::RemoveAll();
    }

    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    static std::shared_ptr<SharedLibrary> Acquire()
    {
        static auto* living = new std::weak_ptr<SharedLibrary>();
        std::shared_ptr<SharedLibrary> library = living->lock();
        if (!library)
        {
            library = std::make_shared<SharedLibrary>();
            *living = library;
        }
        return library;
    }

    // The face at the font's size, or null when it cannot be had. Throws what
    // LFontFileInfo::GetFileID throws.
    FT_Size LookupSize(const ConstRCPtr<LFont>& font) const
    {
        if (!font)
        {
            return nullptr;
        }
        const std::int32_t fileID = LFontFileInfo::GetFileID(font);
        const float height = font->GetSize() * 64.0f;
        if (manager == nullptr || !(height >= 1.0f && height < 2147483648.0f))
        {
            return nullptr;
        }
        FTC_ScalerRec scaler{};
        scaler.face_id = ToFaceID(fileID);
        scaler.width = 0;
        scaler.height = static_cast<FT_UInt>(height);
        scaler.pixel = 0;
        scaler.x_res = kDotsPerInch;
        scaler.y_res = kDotsPerInch;
        FT_Size size = nullptr;
        return FTC_Manager_LookupSize(manager, &scaler, &size) == 0 ? size : nullptr;
    }
};

LFreetypeFontRenderer::LFreetypeFontRenderer(const RCPtr<LGlyphProcessor>& first,
                                             const RCPtr<LGlyphProcessor>& second)
    : LFontRenderer(first, second), mLibrary(SharedLibrary::Acquire())
{
}

LFreetypeFontRenderer::~LFreetypeFontRenderer() = default;

QZRESULT LFreetypeFontRenderer::GetFontMetrics(const ConstRCPtr<LFont>& font,
                                               std::int32_t& lineHeight, std::int32_t& ascent,
                                               std::int32_t& descent)
{
    const FT_Size size = mLibrary->LookupSize(font);
    if (size == nullptr)
    {
        return E_FAIL;
    }
    const FT_Size_Metrics& metrics = size->metrics;
    ascent = -ToInt32(metrics.ascender >> 6);
    descent = -ToInt32(metrics.descender >> 6);
    const auto nominal =
        static_cast<std::int32_t>(static_cast<float>(kDotsPerInch) * font->GetSize() / 72.0f);
    lineHeight = std::max({ToInt32(metrics.height >> 6), nominal, descent - ascent});
    return S_OK;
}

std::uint32_t LFreetypeFontRenderer::RenderText(const WideString& text,
                                                const ConstRCPtr<LFont>& font,
                                                const RCPtr<LGlyphProcessor>& processor,
                                                std::uint32_t firstIndex, float stopWidth,
                                                std::uint32_t flags)
{
    const FT_Size size = processor ? mLibrary->LookupSize(font) : nullptr;
    if (size == nullptr)
    {
        return 0;
    }
    const FT_Face face = size->face;
    const bool kerning = FT_HAS_KERNING(face);
    const bool monochrome = font->GetSize() < kSmallestAntialiasedPoints;
    LGlyphProcessor::SGlyph record;
    FT_UInt previous = 0;
    processor->Begin(font, flags);
    const auto length = static_cast<std::uint32_t>(text.GetLength());
    const char16_t* units = text.GetString();
    std::uint32_t walked = length;
    for (std::uint32_t i = 0; i < length; ++i)
    {
        record.index = i == 0 ? firstIndex : i;
        record.character = units[i];
        record.glyphIndex = 0;
        record.bitmap = nullptr;
        record.box = {};
        record.advanceX = 0;
        record.advanceY = 0;
        const std::uint16_t work = processor->QueryGlyph(record);
        const FT_UInt glyph = work != 0 ? FT_Get_Char_Index(face, record.character)
                                        : static_cast<FT_UInt>(record.glyphIndex);
        if (glyph == 0)
        {
            continue;
        }
        GlyphCopy copy;
        if (work != 0)
        {
            if (FT_Load_Glyph(face, glyph, FT_LOAD_DEFAULT) != 0 ||
                FT_Get_Glyph(face->glyph, &copy.glyph) != 0)
            {
                continue;
            }
            record.glyphIndex = glyph;
            record.advanceX = ToInt32(face->glyph->advance.x);
            record.advanceY = ToInt32(face->glyph->advance.y);
        }
        if ((work & (LGlyphProcessor::kWorkBox | LGlyphProcessor::kWorkBitmap)) != 0)
        {
            FT_BBox box;
            FT_Glyph_Get_CBox(copy.glyph, FT_GLYPH_BBOX_PIXELS, &box);
            record.box = {ToInt32(box.xMin), ToInt32(-box.yMax), ToInt32(box.xMax),
                          ToInt32(-box.yMin)};
        }
        if ((work & LGlyphProcessor::kWorkBitmap) != 0)
        {
            record.bitmap = RenderBitmap(face->glyph, monochrome);
            if (!record.bitmap)
            {
                continue;
            }
        }
        if (kerning && previous != 0)
        {
            FT_Vector delta{};
            if (FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &delta) == 0)
            {
                record.penX += static_cast<float>(delta.x) / 64.0f;
            }
        }
        else if (kerning && record.box.left < 0)
        {
            // The first glyph's ink starts at the origin.
            record.penX -= static_cast<float>(record.box.left);
        }
        if (stopWidth > 0.0f &&
            record.penX + static_cast<float>(record.advanceX) / 64.0f > stopWidth)
        {
            walked = i + 1;
            break;
        }
        processor->ProcessGlyph(record);
        record.penX += static_cast<float>(record.advanceX) / 64.0f;
        record.penY += static_cast<float>(record.advanceY) / 64.0f;
        previous = glyph;
    }
    processor->End();
    return walked;
}

} // namespace QZ
