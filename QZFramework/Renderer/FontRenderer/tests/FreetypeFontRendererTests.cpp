#include "QZFramework/Renderer/FontRenderer/FreetypeFontRenderer.h"

#include "FontFolder.h"
#include "QZFramework/Renderer/FontRenderer/AtlasGlyphProcessor.h"
#include "QZFramework/Renderer/FontRenderer/FontFileInfo.h"
#include "QZFramework/Utilities/Graphics/Font.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace QZ;

namespace
{

// Asks for everything and keeps a copy of every record it is handed.
class RecordingProcessor : public LGlyphProcessor
{
public:
    void Begin(const ConstRCPtr<LFont>&, std::uint32_t) override { ++begins; }
    void End() override { ++ends; }
    std::uint16_t QueryGlyph(SGlyph&) override { return kWorkAll; }
    void ProcessGlyph(SGlyph& record) override { glyphs.push_back(record); }
    void GetBounds(RectT<float>& out) override { out = {}; }

    std::vector<SGlyph> glyphs;
    int begins = 0;
    int ends = 0;
};

// The atlas processor, noting what each query asked of the font renderer.
class CountingAtlasProcessor : public LAtlasGlyphProcessor
{
public:
    std::uint16_t QueryGlyph(SGlyph& record) override
    {
        const std::uint16_t work = LAtlasGlyphProcessor::QueryGlyph(record);
        works.push_back(work);
        return work;
    }

    std::vector<std::uint16_t> works;
};

class FreetypeFontRendererTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* name :
             {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSansMono.ttf", "DejaVuSerif.ttf"})
        {
            folder.CopyDejaVu(name);
        }
        LFontFileInfo::SetFontFolder(folder.GetPath());
    }
    void TearDown() override { LFontFileInfo::SetFontFolder(WideString()); }

    static RCPtr<LFreetypeFontRenderer> MakeRenderer(const RCPtr<LGlyphProcessor>& processor)
    {
        return RCPtr<LFreetypeFontRenderer>(new LFreetypeFontRenderer(processor, processor));
    }

    QZTest::FontFolder folder;
};

} // namespace

TEST_F(FreetypeFontRendererTest, WalkPlacesGlyphsWithKerningAndSkipsMissingCharacters)
{
    RCPtr<RecordingProcessor> recorder(new RecordingProcessor);
    const auto renderer = MakeRenderer(recorder);
    // Pen positions at 12 points, 96 dpi: hinted advances in whole pixels, kerning pairs A-V and
    // T-o of -1 and -2 pixels; T and the serif j reach 1 and 2 pixels left of their pen.
    const struct
    {
        const char16_t* face;
        const char16_t* text;
        std::vector<float> penX;
        std::vector<std::uint32_t> indexes;
    } cases[] = {
        {u"DejaVu Sans", u"AV", {0.0f, 10.0f}, {0, 1}},
        {u"DejaVu Sans", u"To", {1.0f, 9.0f}, {0, 1}},
        {u"DejaVu Sans", u"A\u0378V", {0.0f, 10.0f}, {0, 2}},
        {u"DejaVu Serif", u"jA", {2.0f, 7.0f}, {0, 1}},
        // No kerning in the monospaced face, so the first glyph keeps its pen at the origin.
        {u"DejaVu Sans Mono", u"\u0141AV", {0.0f, 10.0f, 20.0f}, {0, 1, 2}},
        {u"DejaVu Sans", u"", {}, {}},
    };
    for (const auto& c : cases)
    {
        recorder->glyphs.clear();
        const int begins = recorder->begins;
        const std::uint32_t walked =
            renderer->RenderText(c.text, LFont::FindOrCreate(c.face, 12.0f, 0), recorder, 0, 0.0f,
                                 LGlyphProcessor::kFlagsMeasure);
        const std::u16string text(c.text);
        EXPECT_EQ(walked, text.size());
        EXPECT_EQ(recorder->begins, begins + 1);
        EXPECT_EQ(recorder->ends, recorder->begins);
        ASSERT_EQ(recorder->glyphs.size(), c.penX.size()) << std::string(text.begin(), text.end());
        for (std::size_t i = 0; i < c.penX.size(); ++i)
        {
            const LGlyphProcessor::SGlyph& glyph = recorder->glyphs[i];
            EXPECT_EQ(glyph.penX, c.penX[i]) << std::string(text.begin(), text.end()) << i;
            EXPECT_EQ(glyph.index, c.indexes[i]);
            EXPECT_EQ(glyph.character, static_cast<std::uint32_t>(text[c.indexes[i]]));
            EXPECT_NE(glyph.glyphIndex, 0u);
            ASSERT_TRUE(glyph.bitmap);
            EXPECT_EQ(glyph.bitmap->GetWidth(), glyph.box.GetWidth());
            EXPECT_EQ(glyph.bitmap->GetHeight(), glyph.box.GetHeight());
        }
    }
}

TEST_F(FreetypeFontRendererTest, StopWidthEndsTheWalkAtTheFirstGlyphPastIt)
{
    RCPtr<RecordingProcessor> recorder(new RecordingProcessor);
    const auto renderer = MakeRenderer(recorder);
    // A ends at 11 pixels, the kerned V at 21: V is counted but not handed over.
    EXPECT_EQ(renderer->RenderText(u"AVAV", LFont::FindOrCreate(u"DejaVu Sans", 12.0f, 0), recorder,
                                   0, 15.0f, LGlyphProcessor::kFlagsMeasure),
              2u);
    EXPECT_EQ(recorder->glyphs.size(), 1u);
    EXPECT_EQ(recorder->ends, 1);
}

TEST_F(FreetypeFontRendererTest, TextBelowEightPointsIsRenderedInBlackAndWhite)
{
    RCPtr<RecordingProcessor> recorder(new RecordingProcessor);
    const auto renderer = MakeRenderer(recorder);
    for (const float size : {7.5f, 8.0f})
    {
        recorder->glyphs.clear();
        renderer->RenderText(u"Rg@", LFont::FindOrCreate(u"DejaVu Sans", size, 0), recorder, 0,
                             0.0f, LGlyphProcessor::kFlagsDraw);
        int partial = 0;
        int full = 0;
        for (const auto& glyph : recorder->glyphs)
        {
            for (std::int32_t y = 0; y < glyph.bitmap->GetHeight(); ++y)
            {
                for (std::int32_t x = 0; x < glyph.bitmap->GetWidth(); ++x)
                {
                    const unsigned char value = *glyph.bitmap->GetPixelAddress(
                        static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y));
                    partial += value != 0 && value != 0xFF ? 1 : 0;
                    full += value == 0xFF ? 1 : 0;
                }
            }
        }
        EXPECT_GT(full, 0) << size;
        EXPECT_EQ(partial == 0, size < 8.0f) << size;
    }
}

TEST_F(FreetypeFontRendererTest, MetricsAndMeasuresFollowTheFace)
{
    RCPtr<LAtlasGlyphProcessor> processor(new LAtlasGlyphProcessor);
    const auto renderer = MakeRenderer(processor);
    const RCPtr<LFont> font = LFont::FindOrCreate(u"DejaVu Sans", 12.0f, 0);
    std::int32_t lineHeight = 0;
    std::int32_t ascent = 0;
    std::int32_t descent = 0;
    ASSERT_EQ(renderer->GetFontMetrics(font, lineHeight, ascent, descent), S_OK);
    EXPECT_LT(ascent, 0);
    EXPECT_GT(descent, 0);
    EXPECT_GE(lineHeight, 16);
    EXPECT_GE(lineHeight, descent - ascent);

    // A full stop's box lies inside the line: the height is the font's, the width its ink's.
    RectT<float> measured;
    renderer->MeasureText(measured, u".", font);
    RectT<float> bounds;
    renderer->GetLastBounds(bounds);
    EXPECT_EQ(measured.y, static_cast<float>(ascent));
    EXPECT_EQ(measured.height, static_cast<float>(descent - ascent));
    EXPECT_EQ(measured.width, bounds.GetRight() + 1.0f - bounds.x);
    // The bounds hold the origin and span the advances.
    renderer->MeasureText(measured, u"AVA", font);
    renderer->GetLastBounds(bounds);
    EXPECT_EQ(bounds.x, 0.0f);
    EXPECT_EQ(bounds.GetRight(), 10.0f + 10.0f + 11.0f);
    EXPECT_LT(bounds.y, 0.0f);

    for (const float size : {0.0f, -3.0f, std::numeric_limits<float>::quiet_NaN(), 1e30f})
    {
        std::int32_t untouched = 77;
        EXPECT_EQ(renderer->GetFontMetrics(LFont::FindOrCreate(u"DejaVu Sans", size, 0), untouched,
                                           untouched, untouched),
                  E_FAIL)
            << size;
        EXPECT_EQ(untouched, 77);
        EXPECT_EQ(renderer->RenderText(u"A", LFont::FindOrCreate(u"DejaVu Sans", size, 0),
                                       processor, 0, 0.0f, LGlyphProcessor::kFlagsMeasure),
                  0u);
    }
}

TEST_F(FreetypeFontRendererTest, AtlasGlyphsAreRenderedOnceAndLargeOnesKeptWhole)
{
    RCPtr<CountingAtlasProcessor> processor(new CountingAtlasProcessor);
    const auto renderer = MakeRenderer(processor);
    const RCPtr<LFont> font = LFont::FindOrCreate(u"DejaVu Sans", 12.0f, 0);
    renderer->RenderText(u"AAA", font, processor, 0, 0.0f, LGlyphProcessor::kFlagsDraw);
    EXPECT_EQ(processor->works, (std::vector<std::uint16_t>{LGlyphProcessor::kWorkAll, 0, 0}));
    EXPECT_EQ(processor->FindAtlas(font)->GetGlyphCount(), 1);

    // A glyph over 300 pixels tall lands in the atlas with its full box and every pixel.
    RCPtr<RecordingProcessor> recorder(new RecordingProcessor);
    const RCPtr<LFont> large = LFont::FindOrCreate(u"DejaVu Sans", 260.0f, 1);
    renderer->RenderText(u"@", large, recorder, 0, 0.0f, LGlyphProcessor::kFlagsDraw);
    ASSERT_EQ(recorder->glyphs.size(), 1u);
    const LGlyphProcessor::SGlyph& drawn = recorder->glyphs[0];
    ASSERT_GE(drawn.bitmap->GetHeight(), 300);
    EXPECT_EQ(drawn.box.GetHeight(), drawn.bitmap->GetHeight());
    EXPECT_EQ(drawn.box.GetWidth(), drawn.bitmap->GetWidth());

    renderer->RenderText(u"@", large, processor, 0, 0.0f, LGlyphProcessor::kFlagsDraw);
    const RCPtr<LGlyphAtlas> atlas = processor->FindAtlas(large);
    const LGlyphProcessor::SCachedGlyph* cached = atlas->FindGlyph(u'@');
    ASSERT_NE(cached, nullptr);
    ASSERT_TRUE(cached->inAtlas);
    EXPECT_EQ(cached->box, drawn.box);
    EXPECT_EQ(cached->advanceX, drawn.advanceX);
    for (std::int32_t y = 0; y < drawn.bitmap->GetHeight(); ++y)
    {
        const auto row = static_cast<std::uint32_t>(y);
        ASSERT_EQ(std::string(reinterpret_cast<const char*>(drawn.bitmap->GetPixelAddress(0, row)),
                              static_cast<std::size_t>(drawn.bitmap->GetWidth())),
                  std::string(reinterpret_cast<const char*>(atlas->GetImage()->GetPixelAddress(
                                  cached->textureX, cached->textureY + row)),
                              static_cast<std::size_t>(drawn.bitmap->GetWidth())))
            << "row " << y;
    }
}

TEST_F(FreetypeFontRendererTest, CollectionFacesOpenByTheirIndex)
{
    // The bold sans face second in a collection after the monospaced one measures as the bold
    // sans file does.
    QZTest::FontFolder collection;
    collection.Write("Pair.ttc", QZTest::FontFolder::MakeCollection(
                                     {QZTest::FontFolder::ReadDejaVu("DejaVuSansMono.ttf"),
                                      QZTest::FontFolder::ReadDejaVu("DejaVuSans-Bold.ttf")}));
    QZTest::FontFolder plain;
    plain.CopyDejaVu("DejaVuSans-Bold.ttf");
    float widths[2] = {};
    for (int pass = 0; pass < 2; ++pass)
    {
        LFontFileInfo::SetFontFolder((pass == 0 ? collection : plain).GetPath());
        RCPtr<LAtlasGlyphProcessor> processor(new LAtlasGlyphProcessor);
        const auto renderer = MakeRenderer(processor);
        RectT<float> measured;
        renderer->MeasureText(measured, u"WiW", LFont::FindOrCreate(u"DejaVu Sans", 20.0f, 1));
        widths[pass] = measured.width;
    }
    EXPECT_GT(widths[0], 0.0f);
    EXPECT_EQ(widths[0], widths[1]);
}

TEST_F(FreetypeFontRendererTest, RenderersShareFreetypeUntilTheLastGoes)
{
    RCPtr<RecordingProcessor> recorder(new RecordingProcessor);
    auto first = MakeRenderer(recorder);
    auto second = MakeRenderer(recorder);
    const RCPtr<LFont> font = LFont::FindOrCreate(u"DejaVu Sans", 12.0f, 0);
    EXPECT_EQ(first->RenderText(u"ab", font, recorder, 0, 0.0f, 3), 2u);
    first = nullptr;
    recorder->glyphs.clear();
    EXPECT_EQ(second->RenderText(u"ab", font, recorder, 0, 0.0f, 3), 2u);
    EXPECT_EQ(recorder->glyphs.size(), 2u);
    EXPECT_GT(LFontFileInfo::GetCount(), 0);
    second = nullptr;
    EXPECT_EQ(LFontFileInfo::GetCount(), 0);
}
