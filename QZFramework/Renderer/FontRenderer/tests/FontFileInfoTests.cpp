#include "QZFramework/Renderer/FontRenderer/FontFileInfo.h"

#include "FontFolder.h"
#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/Utilities/Graphics/Font.h"

#include <gtest/gtest.h>

#include <regex>
#include <stdexcept>
#include <string>

using namespace QZ;

namespace
{

class DefaultFaceApplication : public LApplicationBase
{
public:
    explicit DefaultFaceApplication(const char16_t* face) : mFace(face) {}
    QZRESULT GetDefaultFont(WideString& face, float& size, std::int32_t& style) const override
    {
        face = mFace;
        size = 9.0f;
        style = 0;
        return S_OK;
    }

private:
    WideString mFace;
};

class FontFileScan : public ::testing::Test
{
protected:
    void TearDown() override
    {
        LFontFileInfo::SetFontFolder(WideString());
        LFontFileInfo::RemoveAll();
    }

    void Scan()
    {
        LFontFileInfo::SetFontFolder(folder.GetPath());
        LFontFileInfo::ScanFontFolder();
    }

    static RCPtr<LFontFileInfo> Family(const char16_t* name)
    {
        for (std::int32_t i = 0; i < LFontFileInfo::GetCount(); ++i)
        {
            if (LFontFileInfo::GetAt(i)->GetFaceName() == name)
            {
                return LFontFileInfo::GetAt(i);
            }
        }
        return nullptr;
    }

    static std::int32_t FileID(const char16_t* face, std::int32_t style)
    {
        return LFontFileInfo::GetFileID(LFont::FindOrCreate(face, 12.0f, style));
    }

    QZTest::FontFolder folder;
};

} // namespace

TEST_F(FontFileScan, CopiedFilesGiveOneRecordPerFamilyWithStyleFallbacks)
{
    folder.CopyDejaVu("DejaVuSans.ttf");
    folder.CopyDejaVu("DejaVuSans-Bold.ttf");
    folder.CopyDejaVu("DejaVuSerif-Bold.ttf");
    const std::string sans = QZTest::FontFolder::ReadDejaVu("DejaVuSans.ttf");
    folder.Write("Cut.ttf", sans.substr(0, 400));
    folder.Write("Empty.ttf", "");
    folder.Write("Huge.ttc", std::string("ttcf\0\1\0\0\xFF\xFF\xFF\xFF", 12));
    Scan();

    ASSERT_EQ(LFontFileInfo::GetCount(), 2);
    const RCPtr<LFontFileInfo> sansInfo = Family(u"DejaVu Sans");
    const RCPtr<LFontFileInfo> serifInfo = Family(u"DejaVu Serif");
    ASSERT_TRUE(sansInfo && serifInfo);
    const std::int32_t s = sansInfo->GetIndex() * 4;
    const std::int32_t r = serifInfo->GetIndex() * 4;
    const struct
    {
        const char16_t* face;
        std::int32_t style;
        std::int32_t id;
        const char* file;
    } cases[] = {
        {u"DejaVu Sans", 0, s + 0, "DejaVuSans.ttf"},
        {u"DejaVu Sans", 1, s + 1, "DejaVuSans-Bold.ttf"},
        {u"DejaVu Sans", 2, s + 2, "DejaVuSans.ttf"},
        {u"DejaVu Sans", 3, s + 3, "DejaVuSans-Bold.ttf"},
        // Underline and strikeout bits play no part.
        {u"DejaVu Sans", 4 | 8 | 1, s + 1, "DejaVuSans-Bold.ttf"},
        {u"DejaVu Serif", 0, r + 0, "DejaVuSerif-Bold.ttf"},
        {u"DejaVu Serif", 2, r + 2, "DejaVuSerif-Bold.ttf"},
    };
    for (const auto& c : cases)
    {
        const std::int32_t id = FileID(c.face, c.style);
        EXPECT_EQ(id, c.id) << c.file << " style " << c.style;
        EXPECT_EQ(LFontFileInfo::GetFilePath(id), folder.GetFilePath(c.file)) << c.style;
        EXPECT_EQ(LFontFileInfo::GetFaceIndex(id), 0);
    }
    // A borrowed file is kept in the style's own slot from then on.
    EXPECT_EQ(serifInfo->GetFaceFile(LFontFileInfo::kStyleRegular).path,
              folder.GetFilePath("DejaVuSerif-Bold.ttf"));
    for (const std::int32_t outside : {-1, LFontFileInfo::GetCount() * 4})
    {
        EXPECT_TRUE(LFontFileInfo::GetFilePath(outside).IsEmpty()) << outside;
    }
}

TEST_F(FontFileScan, EachFontOfACollectionKeepsItsFaceIndex)
{
    folder.Write("Both.ttc", QZTest::FontFolder::MakeCollection(
                                 {QZTest::FontFolder::ReadDejaVu("DejaVuSans.ttf"),
                                  QZTest::FontFolder::ReadDejaVu("DejaVuSerif-Bold.ttf")}));
    Scan();

    const std::int32_t serifBold = FileID(u"DejaVu Serif", LFontFileInfo::kStyleBold);
    EXPECT_EQ(LFontFileInfo::GetFilePath(serifBold), folder.GetFilePath("Both.ttc"));
    EXPECT_EQ(LFontFileInfo::GetFaceIndex(serifBold), 1);
    EXPECT_EQ(LFontFileInfo::GetFaceIndex(FileID(u"DejaVu Sans", 0)), 0);
}

TEST_F(FontFileScan, UnknownFacesTakeTheDefaultFaceAndAnswersStayWithTheFontObject)
{
    folder.CopyDejaVu("DejaVuSans.ttf");
    Scan();
    const RCPtr<LFont> differentCase = LFont::FindOrCreate(u"dejavu sans", 12.0f, 0);
    const RCPtr<LFont> unknown = LFont::FindOrCreate(u"No Such Face", 12.0f, 0);
    {
        DefaultFaceApplication application(u"DejaVu Sans");
        EXPECT_EQ(LFontFileInfo::GetFileID(differentCase), 0);
    }
    // Without an application there is no default face: only remembered answers stand.
    EXPECT_EQ(LFontFileInfo::GetFileID(differentCase), 0);
    try
    {
        (void)LFontFileInfo::GetFileID(unknown);
        ADD_FAILURE() << "an unknown face was found";
    }
    catch (const std::runtime_error& e)
    {
        EXPECT_TRUE(std::regex_match(
            e.what(), std::regex("Runtime Error : QZ::LFontFileInfo::GetFileID : "
                                 "[^ ]*FontRenderer/FontFileInfo.cpp : Line [0-9]+")))
            << e.what();
    }
    // A scan forgets remembered answers.
    Scan();
    EXPECT_THROW((void)LFontFileInfo::GetFileID(differentCase), std::runtime_error);
}

TEST_F(FontFileScan, InstalledFontsIncludeTheDejaVuFamily)
{
    LFontFileInfo::ScanFontFolder();
    const RCPtr<LFontFileInfo> sans = Family(u"DejaVu Sans");
    ASSERT_TRUE(sans);
    EXPECT_FALSE(sans->GetFaceFile(LFontFileInfo::kStyleRegular).path.IsEmpty());
}
