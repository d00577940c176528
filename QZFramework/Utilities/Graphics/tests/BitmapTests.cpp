#include "Platform/Graphics2D/tests/PngBuilder.h"
#include "QZFramework/Utilities/Graphics/Bitmap.h"
#include "QZFramework/Utilities/Graphics/RectT.h"

#include <gtest/gtest.h>

#include <tuple>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace QZ;

namespace
{

// The pixels of the embedded file "a b.png" (3 x 2, straight RGBA), rows top down.
const std::vector<std::uint32_t> kEmbedded = {0xFFFF0000u, 0x80008000u, 0x00FFFFFFu,
                                              0xFF102030u, 0xC0405060u, 0xFFFFFFFFu};

std::vector<std::uint32_t> Pixels(const RCPtr<LBitmap>& bitmap)
{
    std::vector<std::uint32_t> pixels;
    RCPtr<LBitmapData> data = bitmap->LockPixels();
    for (std::int32_t y = 0; y < bitmap->GetHeight(); ++y)
    {
        const auto* row = reinterpret_cast<const std::uint8_t*>(data->GetPixels()) +
                          (bitmap->GetY() + y) * data->GetStride();
        for (std::int32_t x = 0; x < bitmap->GetWidth(); ++x)
        {
            pixels.push_back(reinterpret_cast<const std::uint32_t*>(row)[bitmap->GetX() + x]);
        }
    }
    return pixels;
}

// Whether the action throws an exception whose text starts with the prefix.
::testing::AssertionResult Throws(const std::function<void()>& action, const std::string& prefix)
{
    try
    {
        action();
    }
    catch (const std::exception& e)
    {
        return std::string(e.what()).starts_with(prefix)
                   ? ::testing::AssertionSuccess()
                   : ::testing::AssertionFailure() << e.what();
    }
    return ::testing::AssertionFailure() << "no exception";
}

using Rect = RectT<std::int32_t>;

// Where a bitmap lies in its owner's image.
Rect Area(const RCPtr<LBitmap>& bitmap)
{
    return {bitmap->GetX(), bitmap->GetY(), bitmap->GetWidth(), bitmap->GetHeight()};
}

RCPtr<LBitmap> Embedded()
{
    RCPtr<LBitmap> bitmap = LBitmap::GetNamedBitmap(u"::a b.png");
    EXPECT_TRUE(bitmap);
    return bitmap;
}

ConstRCPtr<LColorizer> Solid(const ColorRGBA& color)
{
    return ConstRCPtr<LColorizer>(new LColorizer(0, color, color));
}

class TemporaryPng
{
public:
    TemporaryPng(const std::string& name, const std::vector<std::uint32_t>& pixels)
        : mPath(std::filesystem::temp_directory_path() / name)
    {
        const auto png = Graphics2D::Testing::BuildRgbaPng(1, 1, pixels);
        std::FILE* file = std::fopen(mPath.c_str(), "wb");
        std::fwrite(png.data(), 1, png.size(), file);
        std::fclose(file);
    }
    ~TemporaryPng() { std::filesystem::remove(mPath); }
    WideString GetPath() const { return WideString(mPath.c_str()); }

private:
    std::filesystem::path mPath;
};

} // namespace

TEST(NamedBitmaps, ResourceNameResolvesToTheEmbeddedImage)
{
    RCPtr<LBitmap> bitmap = Embedded();
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(Area(bitmap), (Rect{0, 0, 3, 2}));
    EXPECT_FALSE(bitmap->GetParent());
    EXPECT_EQ(bitmap->GetCacheKey(), WideString(u"::A B.PNG"));
    EXPECT_EQ(Pixels(bitmap), kEmbedded);

    RCPtr<LBitmap> sameResource = LBitmap::GetNamedBitmap(u"::A_B.PNG");
    ASSERT_TRUE(sameResource);
    EXPECT_EQ(Pixels(sameResource), kEmbedded);
}

TEST(NamedBitmaps, MissingOrDamagedImagesGiveNullAndAreNotCached)
{
    EXPECT_FALSE(LBitmap::GetNamedBitmap(u"::no such image.png"));
    EXPECT_FALSE(LBitmap::GetNamedBitmap(u"::not png.png"));
    EXPECT_FALSE(LBitmap::GetNamedBitmap(u"/no/such/file.png"));
    EXPECT_FALSE(LBitmap::GetNamedBitmap(u""));
    RCPtr<LBitmap> unloaded(new LBitmap(u"::no such image.png", u"KEY"));
    EXPECT_EQ(unloaded->GetBitmapData(), nullptr);
    EXPECT_EQ(unloaded->GetWidth(), 0);
    EXPECT_EQ(unloaded->ReleaseInternalReferences(), E_FAIL);
}

TEST(NamedBitmaps, CacheSharesOneBitmapAndLetsItGoWhenNothingOutsideHoldsIt)
{
    RCPtr<LBitmap> first = Embedded();
    RCPtr<LBitmap> again = LBitmap::GetNamedBitmap(u"::A B.png");
    EXPECT_EQ(first.Get(), again.Get());
    EXPECT_EQ(first->GetInternalRefCount(), 1);
    EXPECT_EQ(first->GetRefCount(), 3);
    const std::int32_t handle = LBitmap::GetHandle(first);
    again.Reset();
    first.Reset();

    RCPtr<LBitmap> reloaded = Embedded();
    EXPECT_NE(LBitmap::GetHandle(reloaded), handle);
    EXPECT_EQ(reloaded->GetRefCount(), 2);
}

TEST(NamedBitmaps, SubBitmapKeepsItsOwnerCached)
{
    RCPtr<LBitmap> owner = Embedded();
    RCPtr<LBitmap> part = owner->CreateSubBitmap(1, 0, 1, 1);
    const std::int32_t handle = LBitmap::GetHandle(owner);
    owner.Reset();
    EXPECT_EQ(LBitmap::GetHandle(Embedded()), handle);
    part.Reset();
    EXPECT_NE(LBitmap::GetHandle(Embedded()), handle);
}

TEST(NamedBitmaps, FilePathsAreResolvedAndKeepTheirCase)
{
    const TemporaryPng upper("QZ-Case.png", {0xFF0000FFu});
    const TemporaryPng lower("qz-case.png", {0xFFFF0000u});
    RCPtr<LBitmap> a = LBitmap::GetNamedBitmap(upper.GetPath());
    RCPtr<LBitmap> b = LBitmap::GetNamedBitmap(lower.GetPath());
    ASSERT_TRUE(a);
    ASSERT_TRUE(b);
    EXPECT_NE(a.Get(), b.Get());
    EXPECT_EQ(Pixels(a), std::vector<std::uint32_t>{0xFF0000FFu});
    EXPECT_EQ(Pixels(b), std::vector<std::uint32_t>{0xFFFF0000u});

    // Another spelling of the same file finds the same bitmap.
    std::filesystem::path folder = std::filesystem::temp_directory_path();
    if (!folder.has_filename())
    {
        folder = folder.parent_path();
    }
    const WideString roundabout((folder / ".." / folder.filename() / "QZ-Case.png").c_str());
    EXPECT_EQ(LBitmap::GetNamedBitmap(roundabout).Get(), a.Get());
}

// Images decoded ahead on other threads are the ones a later request gets; a cached name keeps its
// bitmap, and what cannot be loaded still gives null.
TEST(NamedBitmaps, PreparedImagesAreTheOnesLaterRequestsGet)
{
    const TemporaryPng file("qz-prepared.png", {0xFF00FF00u});
    RCPtr<LBitmap> cached = Embedded();
    LBitmap::PrepareNamedBitmaps({WideString(u"::A_B.png"), file.GetPath(),
                                  WideString(u"::no such image.png"), file.GetPath()});
    RCPtr<LBitmap> prepared = LBitmap::GetNamedBitmap(file.GetPath());
    ASSERT_TRUE(prepared);
    EXPECT_EQ(Pixels(prepared), std::vector<std::uint32_t>{0xFF00FF00u});
    EXPECT_EQ(LBitmap::GetNamedBitmap(u"::a b.png").Get(), cached.Get());
    EXPECT_FALSE(LBitmap::GetNamedBitmap(u"::no such image.png"));
    EXPECT_FALSE(LBitmap::GetNamedBitmap(u"::no such image.png"));

    // Released, then prepared again: the new decoding reads the file as it is now.
    prepared.Reset();
    const TemporaryPng changed("qz-prepared.png", {0xFF0000FFu});
    LBitmap::PrepareNamedBitmaps({changed.GetPath()});
    prepared = LBitmap::GetNamedBitmap(changed.GetPath());
    ASSERT_TRUE(prepared);
    EXPECT_EQ(Pixels(prepared), std::vector<std::uint32_t>{0xFF0000FFu});
}

TEST(SubBitmaps, OffsetsAddUpAndTheParentIsAlwaysTheOwner)
{
    RCPtr<LBitmap> owner = Embedded();
    RCPtr<LBitmap> sub = owner->CreateSubBitmap(1, 0, 2, 2);
    EXPECT_EQ(sub->GetParent().Get(), owner.Get());
    EXPECT_EQ(Pixels(sub),
              (std::vector<std::uint32_t>{0x80008000u, 0x00FFFFFFu, 0xC0405060u, 0xFFFFFFFFu}));
    RCPtr<LBitmap> subOfSub = sub->CreateSubBitmap(1, 1, 1, 1);
    EXPECT_EQ(subOfSub->GetParent().Get(), owner.Get());
    EXPECT_EQ(Area(subOfSub), (Rect{2, 1, 1, 1}));
    EXPECT_EQ(Pixels(subOfSub), std::vector<std::uint32_t>{0xFFFFFFFFu});
    EXPECT_EQ(LBitmap::GetHandle(subOfSub), LBitmap::GetHandle(owner));
    EXPECT_EQ(LBitmap::GetHandle(nullptr), 0);
}

// An empty size means the whole bitmap; rectangles are cut to the image.
TEST(SubBitmaps, EmptySizeMeansTheWholeBitmapAndRectanglesAreCutToTheImage)
{
    RCPtr<LBitmap> owner = Embedded();
    EXPECT_EQ(Area(owner->CreateSubBitmap(1, 1, 2, 1)->CreateSubBitmap(0, 0, 0, 0)),
              (Rect{1, 1, 2, 1}));
    EXPECT_EQ(Area(owner->CreateSubBitmap(2, 1, 50, 50)), (Rect{2, 1, 1, 1}));
    EXPECT_EQ(Area(owner->CreateSubBitmap(-5, -1, 6, 2)), (Rect{0, 0, 1, 1}));
    RCPtr<LBitmap> outside = owner->CreateSubBitmap(10, 10, 5, 5);
    EXPECT_EQ(outside->GetWidth(), 0);
    EXPECT_EQ(outside->GetHeight(), 0);
    EXPECT_FALSE(outside->Clone());
    EXPECT_EQ(outside->GetPixelColor(0, 0), ColorRGBA());
    RCPtr<LBitmap> huge = owner->CreateSubBitmap(2147483647, 2147483647, 2147483647, 1);
    EXPECT_EQ(huge->GetWidth(), 0);
}

TEST(PixelReads, ChannelsAreBytesOver255AndOutsideReadsZero)
{
    RCPtr<LBitmap> sub = Embedded()->CreateSubBitmap(1, 0, 2, 2);
    EXPECT_EQ(sub->GetPixelColor(0, 0), ColorRGBA(0.0f, 128 / 255.0f, 0.0f, 128 / 255.0f));
    EXPECT_EQ(sub->GetPixelColor(1, 1), ColorRGBA(1.0f, 1.0f, 1.0f, 1.0f));
    EXPECT_EQ(sub->GetPixelColor(2, 0), ColorRGBA());
    EXPECT_EQ(sub->GetPixelColor(-1, 0), ColorRGBA());
    EXPECT_EQ(sub->GetPixelColor(0, 2), ColorRGBA());
}

TEST(PixelLocks, LockCoversTheOwnersImageAndOnlyOneAtATime)
{
    RCPtr<LBitmap> sub = Embedded()->CreateSubBitmap(1, 1, 1, 1);
    RCPtr<LBitmapData> data = sub->LockPixels();
    EXPECT_EQ(data->GetWidth(), 3);
    EXPECT_EQ(data->GetHeight(), 2);
    ASSERT_NE(data->GetPixels(), nullptr);
    EXPECT_EQ(data->GetPixels()[1], 0x80008000u);
    RCPtr<LBitmapData> second = sub->LockPixels();
    EXPECT_EQ(second->GetPixels(), nullptr);
    EXPECT_EQ(second->GetWidth(), 0);
    second.Reset();
    data.Reset();
    EXPECT_NE(sub->LockPixels()->GetPixels(), nullptr);
}

TEST(Cloning, CloneOwnsACopyOfTheRectangle)
{
    RCPtr<LBitmap> owner = Embedded();
    RCPtr<LBitmap> clone = owner->CreateSubBitmap(0, 1, 2, 1)->Clone();
    ASSERT_TRUE(clone);
    EXPECT_FALSE(clone->GetParent());
    EXPECT_EQ(Area(clone), (Rect{0, 0, 2, 1}));
    EXPECT_NE(LBitmap::GetHandle(clone), LBitmap::GetHandle(owner));
    EXPECT_EQ(Pixels(clone), (std::vector<std::uint32_t>{0xFF102030u, 0xC0405060u}));
    LBitmap::ApplyColorizer(clone, Solid(ColorRGBA(0xFF336699u)), 1.0f);
    EXPECT_EQ(Pixels(owner), kEmbedded);
}

TEST(Tinting, EachChannelMovesTowardsTheColourInStraightAlpha)
{
    const ConstRCPtr<LColorizer> shade = Solid(ColorRGBA(0.1f, 0.3f, 0.7f, 1.0f));
    const ConstRCPtr<LColorizer> full = Solid(ColorRGBA(0xFF336699u));
    using Case = std::tuple<ConstRCPtr<LColorizer>, float, std::vector<std::uint32_t>>;
    const Case cases[] = {
        // Colour (0.1, 0.3, 0.7) at k = 1 x 0.5: each channel becomes
        // whole(((v / 255) x 0.5 + c x 0.5) x 255 + 0.5) = whole(v / 2 + c x 127.5 + 0.5);
        // e.g. red 255 -> 127.5 + 12.75 + 0.5 = 140.75 -> 140 (0x8C). Alpha bytes stay.
        {shade,
         0.5f,
         {0xFF8C2659u, 0x800D6659u, 0x008CA6D9u, 0xFF153671u, 0xC02D4E89u, 0xFF8CA6D9u}},
        // Alpha zero changes nothing, full alpha takes the colour.
        {shade, 0.0f, kEmbedded},
        {full,
         1.0f,
         {0xFF336699u, 0x80336699u, 0x00336699u, 0xFF336699u, 0xC0336699u, 0xFF336699u}},
    };
    for (const auto& [colorizer, alpha, pixels] : cases)
    {
        RCPtr<LBitmap> clone = Embedded()->Clone();
        LBitmap::ApplyColorizer(clone, colorizer, alpha);
        EXPECT_EQ(Pixels(clone), pixels) << alpha;
    }
}

TEST(Tinting, GradientTintsEachRowWithTheColourAtItsMiddle)
{
    // Rows of a 2-row bitmap take the shade at 1/4 and 3/4: red 0.75 -> 191, blue 0.25 -> 64.
    RCPtr<LBitmap> bitmap = LBitmap::CreateFilledBitmap({1, 2}, ColorRGBA(0xFF000000u));
    const ConstRCPtr<LColorizer> gradient(
        new LColorizer(1, ColorRGBA(1, 0, 0, 1), ColorRGBA(0, 0, 1, 1)));
    LBitmap::ApplyColorizer(bitmap, gradient, 1.0f);
    EXPECT_EQ(Pixels(bitmap), (std::vector<std::uint32_t>{0xFFBF0040u, 0xFF4000BFu}));
}

TEST(Tinting, NullArgumentsAreRuntimeErrors)
{
    const std::string where = "Runtime Error : QZ::LBitmap::ApplyColorizer : ";
    EXPECT_TRUE(Throws([] { LBitmap::ApplyColorizer(nullptr, Solid(ColorRGBA(0, 0, 0, 1)), 1.0f); },
                       where));
    EXPECT_TRUE(Throws([] { LBitmap::ApplyColorizer(Embedded()->Clone(), nullptr, 1.0f); }, where));
}

TEST(GeneratedBitmaps, FilledBitmapHoldsTheColourEverywhere)
{
    RCPtr<LBitmap> filled = LBitmap::CreateFilledBitmap({2, 3}, ColorRGBA(1.0f, 0.5f, 0.0f, 1.0f));
    ASSERT_TRUE(filled);
    EXPECT_EQ(Area(filled), (Rect{0, 0, 2, 3}));
    EXPECT_EQ(Pixels(filled), std::vector<std::uint32_t>(6, 0xFFFF8000u));

    EXPECT_TRUE(Throws(
        [] {
            (void)LBitmap::CreateFilledBitmap({0, 3}, {});
        },
        "Runtime Error : QZ::LBitmap::CreateFilledBitmap : "));
    EXPECT_FALSE(LBitmap::CreateFilledBitmap({20000, 20000}, {}));
}

TEST(GeneratedBitmaps, ColorizedBitmapFollowsTheColorizer)
{
    const ConstRCPtr<LColorizer> solid = Solid(ColorRGBA(1.0f, 0.5f, 0.0f, 1.0f));
    EXPECT_EQ(Pixels(LBitmap::CreateColorizedBitmap(solid, 0.5f, {1, 1})),
              std::vector<std::uint32_t>{0x80FF8000u});

    // A vertical shade from red to blue, rows taken at 1/8, 3/8, 5/8 and 7/8.
    const ConstRCPtr<LColorizer> gradient(
        new LColorizer(2, ColorRGBA(1, 0, 0, 1), ColorRGBA(0, 0, 1, 1)));
    EXPECT_EQ(Pixels(LBitmap::CreateColorizedBitmap(gradient, 1.0f, {1, 4})),
              (std::vector<std::uint32_t>{0xFFDF0020u, 0xFF9F0060u, 0xFF60009Fu, 0xFF2000DFu}));

    const ConstRCPtr<LColorizer> sameColours(
        new LColorizer(1, ColorRGBA(0, 0, 1, 1), ColorRGBA(0, 0, 1, 1)));
    EXPECT_EQ(Pixels(LBitmap::CreateColorizedBitmap(sameColours, 1.0f, {1, 2})),
              std::vector<std::uint32_t>(2, 0xFF0000FFu));

    const std::string where = "Runtime Error : QZ::LBitmap::CreateColorizedBitmap : ";
    EXPECT_TRUE(Throws([&] { (void)LBitmap::CreateColorizedBitmap(solid, 1.0f, {3, 0}); }, where));
    EXPECT_TRUE(Throws([] { (void)LBitmap::CreateColorizedBitmap(nullptr, 1.0f, {3, 3}); }, where));
}

TEST(PartBitmaps, ImageOrMaskIsClonedAndTintedElseTheColorizerFills)
{
    const ConstRCPtr<LColorizer> colour = Solid(ColorRGBA(0xFF336699u));
    RCPtr<LBitmap> image = Embedded();
    RCPtr<LBitmap> fromImage = LBitmap::CreatePartBitmap(colour, 1.0f, {9, 9}, image, nullptr);
    ASSERT_TRUE(fromImage);
    EXPECT_NE(fromImage.Get(), image.Get());
    EXPECT_EQ(Pixels(fromImage)[1], 0x80336699u);
    EXPECT_EQ(Pixels(image), kEmbedded);

    RCPtr<LBitmap> fromMask = LBitmap::CreatePartBitmap(colour, 1.0f, {9, 9}, nullptr,
                                                        image->CreateSubBitmap(2, 0, 1, 1));
    EXPECT_EQ(Pixels(fromMask), std::vector<std::uint32_t>{0x00336699u});

    RCPtr<LBitmap> filled = LBitmap::CreatePartBitmap(colour, 1.0f, {4, 2}, nullptr, nullptr);
    EXPECT_EQ(filled->GetWidth(), 4);
    EXPECT_EQ(Pixels(filled), std::vector<std::uint32_t>(8, 0xFF336699u));

    EXPECT_FALSE(LBitmap::CreatePartBitmap(colour, 1.0f, {1, 1}, nullptr,
                                           image->CreateSubBitmap(9, 9, 1, 1)));
    EXPECT_TRUE(Throws(
        [&] {
            (void)LBitmap::CreatePartBitmap(colour, 1.0f, {1, 1}, image, image);
        },
        "Domain Error : QZ::LBitmap::ApplyColorizer : "));
}
