// Laying out and rasterising 10,000 glyphs of mixed text with the installed DejaVu Sans: every
// glyph through FreeType, the first fill of a glyph atlas, and the atlas once it holds them.
#include "QZFramework/Renderer/FontRenderer/AtlasGlyphProcessor.h"
#include "QZFramework/Renderer/FontRenderer/FreetypeFontRenderer.h"
#include "QZFramework/Utilities/Graphics/Font.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace QZ;

namespace
{

constexpr int kGlyphs = 10000;

// Letters, digits, punctuation, spaces and accented letters, as preset names and labels mix them.
WideString MixedText()
{
    const std::u16string sample =
        u"Preset 12: Warm Pad (Velocity 0-127), Ch.10 \u00C9t\u00E9 \u00FCber-Bass; CC#74 -> 45% ";
    std::u16string text;
    while (text.size() < kGlyphs)
    {
        text += sample;
    }
    text.resize(kGlyphs);
    return WideString(text.c_str());
}

// Asks for every glyph each time and throws it away: FreeType does all the work.
class DiscardingProcessor : public LGlyphProcessor
{
public:
    void Begin(const ConstRCPtr<LFont>&, std::uint32_t) override {}
    void End() override {}
    std::uint16_t QueryGlyph(SGlyph&) override { return kWorkAll; }
    void ProcessGlyph(SGlyph& record) override { benchmark::DoNotOptimize(record.bitmap.Get()); }
    void GetBounds(RectT<float>& out) override { out = {}; }
};

void Rasterise(benchmark::State& state, const RCPtr<LGlyphProcessor>& processor, bool freshAtlas)
{
    RCPtr<LGlyphProcessor> current = processor;
    RCPtr<LFreetypeFontRenderer> renderer(new LFreetypeFontRenderer(current, current));
    const RCPtr<LFont> font = LFont::FindOrCreate(u"DejaVu Sans", 12.0f, 0);
    const WideString text = MixedText();
    renderer->RenderText(text, font, current, 0, 0.0f, LGlyphProcessor::kFlagsDraw);
    for (auto _ : state)
    {
        if (freshAtlas)
        {
            state.PauseTiming();
            current = new LAtlasGlyphProcessor;
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(
            renderer->RenderText(text, font, current, 0, 0.0f, LGlyphProcessor::kFlagsDraw));
    }
    state.SetItemsProcessed(state.iterations() * kGlyphs);
}

void BM_RasteriseEveryGlyph(benchmark::State& state)
{
    Rasterise(state, RCPtr<LGlyphProcessor>(new DiscardingProcessor), false);
}

void BM_FillNewAtlas(benchmark::State& state)
{
    Rasterise(state, RCPtr<LGlyphProcessor>(new LAtlasGlyphProcessor), true);
}

void BM_LayOutFromFilledAtlas(benchmark::State& state)
{
    Rasterise(state, RCPtr<LGlyphProcessor>(new LAtlasGlyphProcessor), false);
}

} // namespace

BENCHMARK(BM_RasteriseEveryGlyph)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillNewAtlas)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayOutFromFilledAtlas)->Unit(benchmark::kMillisecond);
