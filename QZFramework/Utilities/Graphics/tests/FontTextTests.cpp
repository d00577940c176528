#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/Utilities/Graphics/FontText.h"
#include "QZFramework/Utilities/Graphics/tests/FixedAdvanceRenderer.h"
#include "QZFramework/Utilities/Graphics/tests/RealFaceRenderer.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

using namespace QZ;
using QZ::Testing::FixedAdvanceRenderer;
using QZ::Testing::RealFaceRenderer;

namespace
{

std::vector<std::u16string> Lines(const WideStringArray& lines)
{
    std::vector<std::u16string> out;
    for (std::int32_t i = 0; i < lines.GetCount(); ++i)
    {
        out.emplace_back(lines.GetAt(i).GetString());
    }
    return out;
}

using Golden = std::vector<std::u16string>;

// Every UTF-16 unit is 10 pixels wide, a line 12 pixels high.
class FontTextTest : public ::testing::Test
{
protected:
    FontTextTest()
    {
        application.SetRenderer(renderer);
        text->SetFont(LFont::FindOrCreate(u"Fixed", 10.0f, 0));
    }

    Golden Wrap(const char16_t* content, std::int32_t width)
    {
        text->SetText(content);
        WideStringArray out;
        text->WrapText(renderer.Get(), width, out);
        return Lines(out);
    }

    std::int32_t Break(const char16_t* content, std::int32_t width)
    {
        return text->FindLineBreak(renderer.Get(), width, content);
    }

    LApplicationBase application;
    RCPtr<FixedAdvanceRenderer> renderer{new FixedAdvanceRenderer()};
    RCPtr<LFontText> text{new LFontText()};
};

} // namespace

TEST(TextSplitting, PiecesBetweenLineFeedsAndTheLastIndexOfAUnit)
{
    const auto split = [](const char16_t* text) { return Lines(WideString(text).Split(u"\n")); };
    EXPECT_EQ(split(u""), Golden{u""});
    EXPECT_EQ(split(u"one"), Golden{u"one"});
    EXPECT_EQ(split(u"one\n"), Golden{u"one"});
    EXPECT_EQ(split(u"\none"), (Golden{u"", u"one"}));
    EXPECT_EQ(split(u"a\n\nb"), (Golden{u"a", u"", u"b"}));
    EXPECT_EQ(split(u"\n"), Golden{u""});
    EXPECT_EQ(Lines(WideString(u"a,b;c").Split(u",;")), (Golden{u"a", u"b", u"c"}));
    EXPECT_EQ(Lines(WideString(u"a\nb\nc").Split(u"\n", 2)), (Golden{u"a", u"b\nc"}));
    // The reverse search gives the last index.
    EXPECT_EQ(WideString(u"a-b-c").ReverseFind(u'-'), 3);
    EXPECT_EQ(WideString(u"abc").ReverseFind(u'-'), -1);
    EXPECT_EQ(WideString().ReverseFind(u'-'), -1);
}

TEST_F(FontTextTest, LineBreaksAtSpacesAndHyphens)
{
    EXPECT_EQ(Break(u"hello world", 200), 11);
    // As wide as the box: the whole text must be strictly narrower, its parts may be equal.
    EXPECT_EQ(Break(u"ab cd", 50), 2);
    EXPECT_EQ(Break(u"aaa bbb ccc", 80), 7);
    EXPECT_EQ(Break(u"aa bb cc dd", 45), 2);
    EXPECT_EQ(Break(u"abcdefghij", 50), 10);
    EXPECT_EQ(Break(u"well-known", 60), 5);
    // Not even "well-" fits, and nothing breaks it further: it stays over-long.
    EXPECT_EQ(Break(u"well-known", 40), 5);
    EXPECT_EQ(Break(u"a well-known", 80), 7);
    EXPECT_EQ(Break(u"a well-known", 50), 1);
    EXPECT_EQ(Break(u" abc", 20), 4);
    EXPECT_EQ(Break(u"trailing-", 50), 9);
    EXPECT_EQ(Break(u"", 0), 0);
}

TEST_F(FontTextTest, WrappingGivesGoldenLines)
{
    EXPECT_EQ(Wrap(u"the quick brown fox", 100), (Golden{u"the quick", u"brown fox"}));
    EXPECT_EQ(Wrap(u"the quick brown fox", 200), Golden{u"the quick brown fox"});
    EXPECT_EQ(Wrap(u"abcdefghijkl mn", 50), (Golden{u"abcdefghijkl", u"mn"}));
    EXPECT_EQ(Wrap(u"ab\n\ncd", 100), (Golden{u"ab", u"", u"cd"}));
    EXPECT_EQ(Wrap(u"ab\n", 100), Golden{u"ab"});
    EXPECT_EQ(Wrap(u"", 100), Golden{u""});
    EXPECT_EQ(Wrap(u"aa   bb", 40), (Golden{u"aa  ", u"bb"}));
    EXPECT_EQ(Wrap(u"abc \t\r  de", 50), (Golden{u"abc", u"de"}));
    EXPECT_EQ(Wrap(u"abc   ", 40), (Golden{u"abc ", u"  "}));
    EXPECT_EQ(Wrap(u"one two-three four", 80), (Golden{u"one two-", u"three", u"four"}));
    EXPECT_EQ(Wrap(u"a b c d", 0), (Golden{u"a", u"b", u"c", u"d"}));
}

TEST_F(FontTextTest, LinesAreSplitAtLineFeedsWithoutWrapping)
{
    text->SetText(u"first line\n\nthird");
    text->SetBoxSize(30, 100);
    EXPECT_EQ(text->GetLineCount(), 3u);
    EXPECT_EQ(Lines(text->GetLines()), (Golden{u"first line", u"", u"third"}));
    EXPECT_EQ(text->GetLineBoxes().GetAt(0).width, 100.0f);
}

TEST_F(FontTextTest, BoxesFollowTheAlignmentFactors)
{
    text->SetText(u"the quick brown fox");
    text->SetWrap(true);
    text->SetBoxSize(100, 60);
    text->SetAlignment(0.5f, 1.0f);
    ASSERT_EQ(text->GetLineCount(), 2u);
    const auto& boxes = text->GetLineBoxes();
    EXPECT_EQ(boxes.GetAt(0), RectT<float>(5, 36, 90, 12));
    EXPECT_EQ(boxes.GetAt(1), RectT<float>(5, 48, 90, 12));

    text->SetAlignment(1.0f, 0.0f);
    ASSERT_EQ(text->GetLineCount(), 2u);
    EXPECT_EQ(text->GetLineBoxes().GetAt(0), RectT<float>(10, 0, 90, 12));
    EXPECT_EQ(text->GetLineBoxes().GetAt(1), RectT<float>(10, 12, 90, 12));
}

TEST_F(FontTextTest, EmptyTextGivesOneLineOfAnEmptyMeasure)
{
    text->SetBoxSize(100, 20);
    EXPECT_EQ(text->GetLineCount(), 1u);
    EXPECT_EQ(text->GetLineBoxes().GetAt(0), RectT<float>(0, 0, 0, 0));
}

TEST_F(FontTextTest, MeasuredOffsetIsFoldedIntoTheWidth)
{
    renderer->xOffset = 2.0f;
    text->SetText(u"abc");
    EXPECT_EQ(text->GetLineCount(), 1u);
    EXPECT_EQ(text->GetLineBoxes().GetAt(0), RectT<float>(0, 0, 32, 12));
    EXPECT_EQ(text->GetNaturalWidth(), 32);
}

TEST_F(FontTextTest, NaturalWidthRoundsUpAllButTinyFractions)
{
    renderer->advance = 10.2f;
    text->SetText(u"a");
    EXPECT_EQ(text->GetNaturalWidth(), 11);
    renderer->advance = 10.0f;
    EXPECT_EQ(text->GetNaturalWidth(), 10);
    text->SetText(u"ab\nabcd\nabc");
    EXPECT_EQ(text->GetNaturalWidth(), 40);
}

TEST_F(FontTextTest, HeightForWidthLeavesTheKeptLinesAlone)
{
    text->SetText(u"the quick brown fox");
    text->SetWrap(true);
    text->SetBoxSize(300, 20);
    EXPECT_EQ(text->GetLineCount(), 1u);
    EXPECT_EQ(text->GetHeightForWidth(100), 24u);
    EXPECT_EQ(text->GetHeightForWidth(50), 48u);
    EXPECT_EQ(Lines(text->GetLines()), Golden{u"the quick brown fox"});
    text->SetWrap(false);
    EXPECT_EQ(text->GetHeightForWidth(10), 12u);
}

TEST_F(FontTextTest, TextSizeIsTheUnionWithTheOrigin)
{
    text->SetText(u"ab\nabcd");
    text->SetBoxSize(100, 100);
    text->SetAlignment(1.0f, 1.0f);
    // Boxes at (80, 76, 20, 12) and (60, 88, 40, 12); with (0, 0) they span 100 x 100.
    EXPECT_EQ(text->GetTextSize(), PointT<std::int32_t>(100, 100));
    text->SetAlignment(0.0f, 0.0f);
    EXPECT_EQ(text->GetTextSize(), PointT<std::int32_t>(40, 24));
    renderer->advance = 1e9f;
    text->SetText(u"abc");
    EXPECT_EQ(text->GetTextSize(), PointT<std::int32_t>(8388608, 12));
}

TEST_F(FontTextTest, ChangesLayTheTextOutAgain)
{
    text->SetText(u"one");
    EXPECT_EQ(text->GetLineCount(), 1u);
    text->SetText(u"one\ntwo");
    EXPECT_EQ(text->GetLineCount(), 2u);
    text->SetWrap(true);
    text->SetBoxSize(10, 10);
    EXPECT_EQ(text->GetLineCount(), 2u);
    text->SetText(u"one two");
    EXPECT_EQ(text->GetLineCount(), 2u);
}

TEST_F(FontTextTest, UnknownLineHeightCountsAsZero)
{
    application.SetRenderer(RCPtr<LRenderer>(new LD3D9Renderer()));
    text->SetFont(LFont::FindOrCreate(u"Never Measured", 10.0f, 0));
    text->SetText(u"a\nb\nc");
    text->SetBoxSize(50, 30);
    text->SetAlignment(0.0f, 1.0f);
    EXPECT_EQ(text->GetHeightForWidth(50), 0u);
    ASSERT_EQ(text->GetLineCount(), 3u);
    for (std::int32_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ(text->GetLineBoxes().GetAt(i), RectT<float>(0, 30, 0, 0));
    }
}

TEST_F(FontTextTest, WithoutRendererOrFontTextMeasuresEmpty)
{
    application.SetRenderer(nullptr);
    text->SetText(u"a b c");
    text->SetWrap(true);
    text->SetBoxSize(1, 1);
    EXPECT_EQ(text->GetLineCount(), 1u);
    EXPECT_EQ(text->GetNaturalWidth(), 0);
    application.SetRenderer(renderer);
    text->SetFont(nullptr);
    EXPECT_EQ(text->GetLineCount(), 1u);
    EXPECT_EQ(text->GetHeightForWidth(1), 0u);
}

TEST(FontTextRealFace, WrappedLinesOfDejaVuFitTheirBox)
{
    LApplicationBase application;
    application.SetRenderer(RCPtr<LRenderer>(new RealFaceRenderer()));
    RCPtr<LFontText> text(new LFontText());
    text->SetFont(LFont::FindOrCreate(u"DejaVu Sans", 9.0f, 0));
    text->SetText(u"Send the current preset to the keyboard's slot");
    const std::int32_t natural = text->GetNaturalWidth();
    EXPECT_GT(natural, 100);
    EXPECT_LT(natural, 400);

    text->SetWrap(true);
    text->SetBoxSize(natural / 2, 100);
    const std::uint32_t count = text->GetLineCount();
    EXPECT_GE(count, 2u);
    EXPECT_LE(count, 4u);
    for (std::int32_t i = 0; i < text->GetLineBoxes().GetCount(); ++i)
    {
        EXPECT_LE(text->GetLineBoxes().GetAt(i).width, natural / 2.0f);
    }
    EXPECT_EQ(text->GetHeightForWidth(natural + 1), text->GetFont()->ComputeMetrics() * 1u);
    EXPECT_EQ(text->GetHeightForWidth(natural / 2),
              text->GetFont()->ComputeMetrics() * static_cast<std::uint32_t>(count));
}
