#include "Platform/Graphics2D/FontFaces.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

#if defined(__SANITIZE_ADDRESS__)
#define QZ_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QZ_LEAK_CHECKED 1
#endif
#endif

#ifdef QZ_LEAK_CHECKED
// fontconfig 2.14 loses a block while it parses its configuration files, once per process; the
// leak checker of sanitizer builds is told so that it reports only leaks of our own.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
#endif

namespace QZ::Graphics2D
{
namespace
{

constexpr const char* kFallbackFamily = "DejaVu Sans";
constexpr const char* kGenericFamily = "sans-serif";

using FaceKey = std::tuple<std::string, int, unsigned>;

struct FaceStore
{
    std::mutex mutex;
    FT_Library library = nullptr;
    bool ready = false;
    // Requests already answered, by lower-case family, style and whether the family had to match.
    std::map<std::string, const FontFaceRecord*> answers;
    // Loaded faces by file, face index and synthesised styles.
    std::map<FaceKey, FontFaceRecord*> faces;
};

// The store and its faces live until the process ends: Cairo's caches refer to the faces.
FaceStore& Store()
{
    static FaceStore* store = new FaceStore();
    return *store;
}

std::string Lower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
    return lower;
}

bool HasFamily(FcPattern* match, std::string_view wanted)
{
    FcChar8* family = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &family) == FcResultMatch; ++i)
    {
        if (Lower(reinterpret_cast<const char*>(family)) == Lower(wanted))
        {
            return true;
        }
    }
    return false;
}

std::uint16_t ToDesignUnits(long value)
{
    return static_cast<std::uint16_t>(std::clamp(value, 0L, 65535L));
}

// Reads the metrics GDI+ reports for a face: OS/2 Windows ascent and descent, line spacing with
// the external leading that the hhea line gap adds.
void ReadMetrics(FT_Face face, FontFaceRecord& record)
{
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    const long typoAscent = hhea != nullptr ? hhea->Ascender : face->ascender;
    const long typoDescent = -(hhea != nullptr ? hhea->Descender : face->descender);
    const long lineGap =
        hhea != nullptr ? hhea->Line_Gap : face->height - (face->ascender - face->descender);
    long ascent = typoAscent;
    long descent = typoDescent;
    if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0)
    {
        ascent = os2->usWinAscent;
        descent = os2->usWinDescent;
    }
    const long externalLeading =
        std::max(0L, lineGap - ((ascent + descent) - (typoAscent + typoDescent)));
    record.emHeight = ToDesignUnits(face->units_per_EM);
    record.cellAscent = ToDesignUnits(ascent);
    record.cellDescent = ToDesignUnits(descent);
    record.lineSpacing = ToDesignUnits(ascent + descent + externalLeading);
}

// The styles that Cairo must synthesise because the matched face lacks them: a family without a
// bold or italic face is drawn with an emboldened or slanted regular one.
unsigned SynthesisFor(FcPattern* match, std::int32_t style)
{
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(match, FC_SLANT, 0, &slant);
    unsigned synthesize = 0;
    if ((style & FontStyleBold) != 0 && weight < FC_WEIGHT_DEMIBOLD)
    {
        synthesize |= CAIRO_FT_SYNTHESIZE_BOLD;
    }
    if ((style & FontStyleItalic) != 0 && slant == FC_SLANT_ROMAN)
    {
        synthesize |= CAIRO_FT_SYNTHESIZE_OBLIQUE;
    }
    return synthesize;
}

// Loads (once) the face of a fontconfig match; null for a face that is not scalable.
const FontFaceRecord* LoadFace(FaceStore& store, FcPattern* match, std::int32_t style)
{
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch)
    {
        return nullptr;
    }
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    const std::string path(reinterpret_cast<const char*>(file));
    const unsigned synthesize = SynthesisFor(match, style);
    const FaceKey key{path, index, synthesize};
    if (auto found = store.faces.find(key); found != store.faces.end())
    {
        return found->second;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(store.library, path.c_str(), index, &face) != 0)
    {
        return nullptr;
    }
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0)
    {
        FT_Done_Face(face);
        return nullptr;
    }
    auto* record = new FontFaceRecord();
    ReadMetrics(face, *record);
    FcChar8* family = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch)
    {
        record->family = reinterpret_cast<const char*>(family);
    }
    record->cairoFace = cairo_ft_font_face_create_for_ft_face(face, 0);
    cairo_ft_font_face_set_synthesize(record->cairoFace, synthesize);
    store.faces.emplace(key, record);
    return record;
}

const FontFaceRecord* Find(std::string_view family, std::int32_t style, bool mustMatchFamily)
{
    FaceStore& store = Store();
    std::lock_guard<std::mutex> lock(store.mutex);
    if (!store.ready)
    {
        if (FcInit() == FcFalse || FT_Init_FreeType(&store.library) != 0)
        {
            return nullptr;
        }
        store.ready = true;
    }
    style &= FontStyleBold | FontStyleItalic;
    const std::string answerKey =
        Lower(family) + "\n" + std::to_string(style) + (mustMatchFamily ? "\n=" : "\n~");
    if (auto found = store.answers.find(answerKey); found != store.answers.end())
    {
        return found->second;
    }
    const std::string name(family);
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT,
                        (style & FontStyleBold) != 0 ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT,
                        (style & FontStyleItalic) != 0 ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    const FontFaceRecord* record = nullptr;
    if (match != nullptr)
    {
        if (!mustMatchFamily || HasFamily(match, family))
        {
            record = LoadFace(store, match, style);
        }
        FcPatternDestroy(match);
    }
    store.answers.emplace(answerKey, record);
    return record;
}

} // namespace

const FontFaceRecord* FindFontFace(std::string_view family, std::int32_t style)
{
    if (family.empty())
    {
        return nullptr;
    }
    return Find(family, style, true);
}

const FontFaceRecord* FindFallbackFontFace(std::int32_t style)
{
    if (const FontFaceRecord* face = Find(kFallbackFamily, style, true))
    {
        return face;
    }
    return Find(kGenericFamily, style, false);
}

const cairo_font_options_t* GetTextFontOptions()
{
    static const cairo_font_options_t* const options = []
    {
        cairo_font_options_t* made = cairo_font_options_create();
        cairo_font_options_set_antialias(made, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(made, CAIRO_HINT_STYLE_SLIGHT);
        cairo_font_options_set_hint_metrics(made, CAIRO_HINT_METRICS_OFF);
        return made;
    }();
    return options;
}

} // namespace QZ::Graphics2D
