// The settings store through the real road: LIniFileManager, its proxy, dlopen and the built
// libIniFileManager.so.
#include "QZFramework/Utilities/Storage/IniFileManager.h"

#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/Utilities/Storage/tests/FileSystemTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace QZ
{
namespace
{

namespace fs = std::filesystem;

constexpr QZRESULT kBadHandle = -1;
constexpr QZRESULT kBufferTooSmall = -2;
constexpr QZRESULT kNoSuchIndex = -4;
constexpr QZRESULT kNotAnInteger = -6;

std::u16string Text(const WideString& s)
{
    return std::u16string(s.GetString(), s.GetLength());
}

WideString Wide(const fs::path& path)
{
    return WideString(path.string().c_str());
}

using FileSystemTest::ReadText;
using FileSystemTest::WriteText;

class IniFileManagerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        mPath = mFolder / "UserSettings.ini";
        mStore = new LIniFileManager();
        ASSERT_EQ(mStore->Initialize(QZ_INI_LIBRARY_FOLDER), S_OK);
    }
    void TearDown() override { mStore = nullptr; }

    std::int32_t Open()
    {
        std::int32_t handle = -7;
        EXPECT_EQ(mStore->OpenIniFile(Wide(mPath), u"1_0_0", u"Tarn 61 Vidida Editor", handle),
                  S_OK);
        EXPECT_GT(handle, 0);
        return handle;
    }

    // A new load of the library, as the next run of the program would do.
    std::int32_t Reload()
    {
        EXPECT_EQ(mStore->Uninitialize(), S_OK);
        EXPECT_EQ(mStore->Initialize(QZ_INI_LIBRARY_FOLDER), S_OK);
        return Open();
    }

    std::int32_t GetInt(std::int32_t handle, const WideString& node, std::int32_t fallback)
    {
        std::int32_t value = 0;
        EXPECT_EQ(mStore->GetIniValueInt(handle, node, fallback, value), S_OK);
        return value;
    }

    WideString GetText(std::int32_t handle, const WideString& node)
    {
        WideString text;
        EXPECT_EQ(mStore->GetIniValueStr(handle, node, u"default", text), S_OK);
        return text;
    }

    const FileSystemTest::ScratchFolder mScratch{"qz-ini"};
    const fs::path mFolder = mScratch.Path();
    fs::path mPath;
    RCPtr<LIniFileManager> mStore;
};

using IniStoreLoading = IniFileManagerTest;

TEST_F(IniStoreLoading, FolderWithOrWithoutSlashLoadsTheSameLibraryOnce)
{
    EXPECT_EQ(mStore->Initialize(QZ_INI_LIBRARY_FOLDER), S_FALSE);
    EXPECT_EQ(mStore->Uninitialize(), S_OK);
    EXPECT_EQ(mStore->Uninitialize(), S_FALSE);
    EXPECT_EQ(mStore->Initialize(WideString(QZ_INI_LIBRARY_FOLDER) + WideString(u"/")), S_OK);
    const std::int32_t handle = Open();
    EXPECT_EQ(mStore->SetIniValueInt(handle, u"CurrentSkinIndex", 1), S_OK);
}

TEST_F(IniStoreLoading, MissingLibraryGivesTheNotLoadedResults)
{
    ASSERT_EQ(mStore->Uninitialize(), S_OK);
    EXPECT_EQ(mStore->Initialize(Wide(mFolder)), E_FAIL);

    std::int32_t handle = 5;
    EXPECT_EQ(mStore->OpenIniFile(Wide(mPath), u"1_0_0", u"p", handle), E_FAIL);
    EXPECT_EQ(handle, 0);
    WideString text(u"stale");
    EXPECT_EQ(mStore->GetIniValueStr(1, u"Key", u"fallback", text), E_FAIL);
    EXPECT_EQ(Text(text), u"fallback");
    std::int32_t value = 9;
    EXPECT_EQ(mStore->GetIniValueInt(1, u"Key", 3, value), E_FAIL);
    EXPECT_EQ(value, 3);
    std::int32_t count = 9;
    EXPECT_EQ(mStore->GetKeyCount(1, u"", count), E_FAIL);
    EXPECT_EQ(count, 0);
    count = 9;
    EXPECT_EQ(mStore->GetArrayCount(1, u"L", count), E_FAIL);
    EXPECT_EQ(count, 0);
    text = u"stale";
    EXPECT_EQ(mStore->GetKeyNameAt(1, u"", 0, text), E_FAIL);
    EXPECT_TRUE(text.IsEmpty());
    text = u"stale";
    EXPECT_EQ(mStore->GetArrayItemAt(1, u"L", 0, text), E_FAIL);
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_FALSE(mStore->DoesNodeExist(1, u""));
    EXPECT_EQ(mStore->WriteIniFile(1), E_FAIL);
    EXPECT_EQ(mStore->CloseIniFile(1, 0), E_FAIL);
    EXPECT_EQ(mStore->SetIniValueInt(1, u"Key", 1), E_FAIL);
    EXPECT_EQ(mStore->SetIniValueStr(1, u"Key", u"x"), E_FAIL);
    EXPECT_EQ(mStore->SetArrayCount(1, u"L", 1), E_FAIL);
    EXPECT_EQ(mStore->SetArrayItemAt(1, u"L", 0, u"x"), E_FAIL);
    EXPECT_EQ(mStore->RemoveArrayItemAt(1, u"L", 0), E_FAIL);
    EXPECT_EQ(mStore->Uninitialize(), S_FALSE);
}

TEST_F(IniStoreLoading, LibraryLackingAnEntryPointIsNotLoaded)
{
    ASSERT_EQ(mStore->Uninitialize(), S_OK);
    EXPECT_EQ(mStore->Initialize(QZ_INCOMPLETE_INI_LIBRARY_FOLDER), E_FAIL);
    std::int32_t handle = 5;
    EXPECT_EQ(mStore->OpenIniFile(Wide(mPath), u"1_0_0", u"p", handle), E_FAIL);
    EXPECT_EQ(handle, 0);
    EXPECT_FALSE(mStore->DoesNodeExist(1, u"Key"));
    EXPECT_EQ(mStore->Uninitialize(), S_FALSE);
    EXPECT_EQ(mStore->Initialize(QZ_INI_LIBRARY_FOLDER), S_OK);
}

TEST_F(IniStoreLoading, TextsStayWithinTheBuffersWhateverTheLibrarySays)
{
    ASSERT_EQ(mStore->Uninitialize(), S_OK);
    ASSERT_EQ(mStore->Initialize(QZ_MISBEHAVING_INI_LIBRARY_FOLDER), S_OK);
    std::int32_t handle = 0;
    ASSERT_EQ(mStore->OpenIniFile(Wide(mPath), u"1_0_0", u"p", handle), S_OK);

    WideString text;
    EXPECT_EQ(mStore->GetIniValueStr(handle, u"Huge", u"d", text), S_OK);
    EXPECT_EQ(Text(text), std::u16string(1024 * 1024 - 1, u'z'));
    EXPECT_EQ(mStore->GetKeyNameAt(handle, u"", 0, text), S_OK);
    EXPECT_EQ(Text(text), std::u16string(1023, u'n'));
    EXPECT_EQ(mStore->GetArrayItemAt(handle, u"L", 0, text), kBufferTooSmall);
    EXPECT_TRUE(text.IsEmpty());
}

using IniStoreValues = IniFileManagerTest;

TEST_F(IniStoreValues, ValuesAndArraysComeBackInTheNextRun)
{
    std::int32_t handle = Open();
    EXPECT_EQ(mStore->SetIniValueInt(handle, u"CurrentSkinIndex", -42), S_OK);
    EXPECT_EQ(mStore->SetIniValueStr(handle, u"Window/Title", u"Grüße € 𝄞"), S_OK);
    EXPECT_EQ(mStore->SetArrayItemAt(handle, u"Recent/Files", 0, u"/home/a.Tarn61RededoVuvuva"),
              S_OK);
    EXPECT_EQ(mStore->SetArrayItemAt(handle, u"Recent/Files", 1, u"  spaced\n"), S_OK);

    handle = Reload();
    EXPECT_EQ(GetInt(handle, u"CurrentSkinIndex", 7), -42);
    EXPECT_EQ(Text(GetText(handle, u"Window/Title")), u"Grüße € 𝄞");
    std::int32_t count = 0;
    EXPECT_EQ(mStore->GetArrayCount(handle, u"Recent/Files", count), S_OK);
    EXPECT_EQ(count, 2);
    WideString item;
    EXPECT_EQ(mStore->GetArrayItemAt(handle, u"Recent/Files", 1, item), S_OK);
    EXPECT_EQ(Text(item), u"  spaced\n");
}

TEST_F(IniStoreValues, FileOnDiskIsTheDocumentedText)
{
    const std::int32_t handle = Open();
    EXPECT_EQ(mStore->SetIniValueInt(handle, u"CurrentSkinIndex", 2), S_OK);
    EXPECT_EQ(mStore->SetArrayCount(handle, u"Recent/Files", 2), S_OK);
    EXPECT_EQ(mStore->SetArrayItemAt(handle, u"Recent/Files", 0, u"C:\\old path"), S_OK);
    EXPECT_EQ(ReadText(mPath), "; Tarn 61 Vidida Editor settings, version 1_0_0\n"
                               "CurrentSkinIndex=2\n"
                               "\n"
                               "[Recent/Files]\n"
                               "0=C:\\old path\n"
                               "1=\n");
}

// Absent values, and text that is no integer, give their defaults; reading writes no file.
TEST_F(IniStoreValues, AbsentOrUnreadableValuesGiveTheirDefaults)
{
    const std::int32_t handle = Open();
    EXPECT_EQ(GetInt(handle, u"CurrentSkinIndex", 3), 3);
    EXPECT_EQ(Text(GetText(handle, u"Missing/Key")), u"default");
    EXPECT_FALSE(fs::exists(mPath));

    EXPECT_EQ(mStore->SetIniValueStr(handle, u"CurrentSkinIndex", u"two"), S_OK);
    std::int32_t value = 0;
    EXPECT_EQ(mStore->GetIniValueInt(handle, u"CurrentSkinIndex", 3, value), kNotAnInteger);
    EXPECT_EQ(value, 3);
}

TEST_F(IniStoreValues, LongTextsComeBackWhole)
{
    const std::int32_t handle = Open();
    const std::u16string lengths[] = {std::u16string(1023, u'a'), std::u16string(1024, u'b'),
                                      std::u16string(70000, u'c'), std::u16string(600, u'€')};
    for (const std::u16string& text : lengths)
    {
        ASSERT_EQ(mStore->SetIniValueStr(handle, u"Long", text.c_str()), S_OK);
        EXPECT_EQ(Text(GetText(handle, u"Long")), text) << text.size();
    }
    const std::u16string longName(2000, u'k');
    ASSERT_EQ(mStore->SetIniValueStr(handle, (u"Names/" + longName).c_str(), u"v"), S_OK);
    WideString name;
    EXPECT_EQ(mStore->GetKeyNameAt(handle, u"Names", 0, name), S_OK);
    EXPECT_EQ(Text(name), longName);
    const std::u16string longItem(5000, u'i');
    ASSERT_EQ(mStore->SetArrayItemAt(handle, u"L", 0, longItem.c_str()), S_OK);
    WideString item;
    EXPECT_EQ(mStore->GetArrayItemAt(handle, u"L", 0, item), S_OK);
    EXPECT_EQ(Text(item), longItem);
}

TEST_F(IniStoreValues, KeysAreListedInFileOrder)
{
    const std::int32_t handle = Open();
    EXPECT_EQ(mStore->SetIniValueInt(handle, u"Window/Left", 1), S_OK);
    EXPECT_EQ(mStore->SetIniValueInt(handle, u"Window/Top", 2), S_OK);
    std::int32_t count = 0;
    EXPECT_EQ(mStore->GetKeyCount(handle, u"Window", count), S_OK);
    EXPECT_EQ(count, 2);
    WideString name;
    EXPECT_EQ(mStore->GetKeyNameAt(handle, u"Window", 1, name), S_OK);
    EXPECT_EQ(Text(name), u"Top");
    EXPECT_EQ(mStore->GetKeyNameAt(handle, u"Window", 2, name), kNoSuchIndex);
    EXPECT_TRUE(name.IsEmpty());
    EXPECT_TRUE(mStore->DoesNodeExist(handle, u"Window"));
    EXPECT_TRUE(mStore->DoesNodeExist(handle, u"Window/Top"));
    EXPECT_FALSE(mStore->DoesNodeExist(handle, u"Window/Width"));
}

TEST_F(IniStoreValues, ArrayItemsMoveDownWhenOneIsRemoved)
{
    const std::int32_t handle = Open();
    for (std::int32_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ(mStore->SetArrayItemAt(handle, u"L", i, WideString::FromInt(i)), S_OK);
    }
    EXPECT_EQ(mStore->RemoveArrayItemAt(handle, u"L", 0), S_OK);
    EXPECT_EQ(mStore->RemoveArrayItemAt(handle, u"L", 2), kNoSuchIndex);
    std::int32_t count = 0;
    EXPECT_EQ(mStore->GetArrayCount(handle, u"L", count), S_OK);
    EXPECT_EQ(count, 2);
    WideString item;
    EXPECT_EQ(mStore->GetArrayItemAt(handle, u"L", 0, item), S_OK);
    EXPECT_EQ(Text(item), u"1");
    EXPECT_EQ(mStore->GetArrayItemAt(handle, u"L", 2, item), kNoSuchIndex);
    EXPECT_TRUE(item.IsEmpty());
}

TEST_F(IniStoreValues, ClosedHandleIsRefused)
{
    const std::int32_t handle = Open();
    EXPECT_EQ(mStore->WriteIniFile(handle), S_OK);
    EXPECT_TRUE(fs::exists(mPath));
    EXPECT_EQ(mStore->CloseIniFile(handle, 0), S_OK);
    EXPECT_EQ(mStore->CloseIniFile(handle, 0), kBadHandle);
    EXPECT_EQ(mStore->SetIniValueInt(handle, u"Key", 1), kBadHandle);
    WideString text;
    EXPECT_EQ(mStore->GetIniValueStr(handle, u"Key", u"d", text), kBadHandle);
    EXPECT_EQ(Text(text), u"d");
}

using IniStoreDamage = IniFileManagerTest;

TEST_F(IniStoreDamage, UnparsableFileIsKeptAsideAndDefaultsApply)
{
    const std::string damaged = "CurrentSkinIndex=4\n[broken\n";
    WriteText(mPath, damaged);
    const std::int32_t handle = Open();
    EXPECT_EQ(GetInt(handle, u"CurrentSkinIndex", 0), 0);
    EXPECT_EQ(ReadText(mFolder / "UserSettings.ini.damaged"), damaged);
    EXPECT_FALSE(fs::exists(mPath));

    EXPECT_EQ(mStore->SetIniValueInt(handle, u"CurrentSkinIndex", 1), S_OK);
    EXPECT_EQ(ReadText(mFolder / "UserSettings.ini.damaged"), damaged);
    const std::int32_t reopened = Reload();
    EXPECT_EQ(GetInt(reopened, u"CurrentSkinIndex", 0), 1);
}

TEST_F(IniFileManagerTest, SettingsThatCannotBeKeptSayWhyOnceAndNeverTouchADevice)
{
    // The library's result for a file that cannot be read or written.
    constexpr QZRESULT kInputOutputFailed = -5;
    // Saving: the file was there when opened, then something else took its place.
    const std::int32_t handle = Open();
    const fs::path other = mFolder / "Other.ini";
    std::int32_t refused = -7;
    fs::create_symlink("/dev/zero", other);
    testing::internal::CaptureStderr();
    EXPECT_EQ(mStore->SetIniValueInt(handle, u"CurrentSkinIndex", 2), S_OK);
    fs::create_directory(mPath.string() + ".moved");
    fs::rename(mPath, mPath.string() + ".moved/x");
    fs::create_directory(mPath);
    for (int attempt = 0; attempt < 2; ++attempt)
    {
        EXPECT_EQ(mStore->SetIniValueInt(handle, u"CurrentSkinIndex", 3), kInputOutputFailed);
        EXPECT_EQ(mStore->OpenIniFile(Wide(other), u"1_0_0", u"Tarn", refused), kInputOutputFailed);
    }
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors, "libIniFileManager: " + mPath.string() +
                          " cannot be saved: a folder is in its place; settings changes are not "
                          "kept\nlibIniFileManager: " +
                          other.string() +
                          " cannot be read: a FIFO, socket or device is in its place, and those "
                          "are never written; settings changes are not kept\n");
    EXPECT_EQ(refused, 0);
    EXPECT_TRUE(fs::is_empty(mPath));
}

TEST_F(IniStoreDamage, StrayFileOfAnInterruptedSaveLeavesTheOldFileInUse)
{
    std::int32_t handle = Open();
    EXPECT_EQ(mStore->SetIniValueInt(handle, u"CurrentSkinIndex", 5), S_OK);
    WriteText(mFolder / "UserSettings.ini.saving-999-0", "CurrentSkinIndex=6\n[cut of");

    handle = Reload();
    EXPECT_EQ(GetInt(handle, u"CurrentSkinIndex", 0), 5);
    EXPECT_EQ(mStore->SetIniValueInt(handle, u"CurrentSkinIndex", 7), S_OK);
    handle = Reload();
    EXPECT_EQ(GetInt(handle, u"CurrentSkinIndex", 0), 7);
}

} // namespace
} // namespace QZ
