#include "QZFramework/Renderer/FontRenderer/FontFileInfo.h"

#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/Renderer/CacheKeys.h"
#include "QZFramework/Renderer/FontRenderer/FontNameReader.h"
#include "QZFramework/Renderer/HashedList.h"
#include "QZFramework/Utilities/Graphics/Font.h"
#include "QZFramework/Utilities/Storage/QZFile.h"
#include "QZFramework/Utilities/Storage/RCPtrArray.h"
#include "QZFramework/Utilities/Storage/StringArrayT.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

namespace QZ
{
namespace
{

// One remembered answer: the font (held, so that its address cannot name another font while the
// answer stands) and its record.
struct SFontFileEntry
{
    ConstRCPtr<LFont> font;
    RCPtr<LFontFileInfo> info;

    static std::uintptr_t GetKey(const SFontFileEntry& entry)
    {
        return reinterpret_cast<std::uintptr_t>(entry.font.Get());
    }
};

using FontFileList = RCPtrArray<LFontFileInfo, 1, 0>;
using FontFileMap = HashedList<SFontFileEntry, std::uintptr_t, &SFontFileEntry::GetKey, 8,
                               &GetBits<8, 4, std::uintptr_t>>;

// Process-wide, and never destroyed, so that a renderer released during static destruction still
// finds them.
FontFileList& List()
{
    static auto* list = new FontFileList();
    return *list;
}

FontFileMap& Map()
{
    static auto* map = new FontFileMap();
    return *map;
}

WideString& FontFolder()
{
    static auto* folder = new WideString();
    return *folder;
}

const LFontFileInfo::SFaceFile& NoFaceFile()
{
    static const auto* none = new LFontFileInfo::SFaceFile();
    return *none;
}

// The slots tried for each style, nearest first.
constexpr std::int32_t kStyleFallbacks[LFontFileInfo::kStyleCount][LFontFileInfo::kStyleCount] = {
    {0, 1, 2, 3},
    {1, 3, 0, 2},
    {2, 3, 0, 1},
    {3, 1, 2, 0},
};

// A font file read through File; nothing past 4 GiB is font data.
class FileFontBytes : public IFontFileBytes
{
public:
    explicit FileFontBytes(File& file) : mFile(file), mSize(file.GetLength()) {}

    std::uint64_t GetSize() const override { return mSize; }

    bool Read(std::uint64_t offset, void* out, std::uint32_t count) override
    {
        // File reads at 32-bit offsets, and the highest one means "where the last read ended".
        if (offset > mSize || count > mSize - offset || offset + count >= File::CurrentPosition)
        {
            return false;
        }
        return count == 0 || mFile.Read(out, count, static_cast<std::uint32_t>(offset)) == count;
    }

private:
    File& mFile;
    std::uint64_t mSize;
};

bool HasExtension(const std::string& path, const char* extension)
{
    if (path.size() < 4)
    {
        return false;
    }
    std::string tail = path.substr(path.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; });
    return tail == extension;
}

// The TrueType files and collections fontconfig knows, files first, each kind sorted so that
// repeated scans give the same list.
std::vector<WideString> ListInstalledFontFiles()
{
    std::vector<std::string> fonts;
    std::vector<std::string> collections;
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, nullptr);
    FcFontSet* set = (pattern != nullptr && objects != nullptr)
                         ? FcFontList(nullptr, pattern, objects)
                         : nullptr;
    for (int i = 0; set != nullptr && i < set->nfont; ++i)
    {
        FcChar8* file = nullptr;
        if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) != FcResultMatch)
        {
            continue;
        }
        const std::string path(reinterpret_cast<const char*>(file));
        if (HasExtension(path, ".ttf"))
        {
            fonts.push_back(path);
        }
        else if (HasExtension(path, ".ttc"))
        {
            collections.push_back(path);
        }
    }
    if (set != nullptr)
    {
        FcFontSetDestroy(set);
    }
    if (objects != nullptr)
    {
        FcObjectSetDestroy(objects);
    }
    if (pattern != nullptr)
    {
        FcPatternDestroy(pattern);
    }
    std::vector<WideString> paths;
    for (std::vector<std::string>* kind : {&fonts, &collections})
    {
        // A collection is listed once per font in it.
        std::sort(kind->begin(), kind->end());
        kind->erase(std::unique(kind->begin(), kind->end()), kind->end());
        for (const std::string& path : *kind)
        {
            paths.emplace_back(path.c_str());
        }
    }
    return paths;
}

std::vector<WideString> ListFolderFontFiles(const WideString& folder)
{
    std::vector<WideString> paths;
    StringArrayT<char16_t, char> found;
    for (const char16_t* pattern : {u"*.ttf", u"*.ttc"})
    {
        if (File::FindFiles(folder, pattern, found) > 0)
        {
            for (std::int32_t i = 0; i < found.GetCount(); ++i)
            {
                paths.push_back(found.GetAt(i));
            }
        }
    }
    return paths;
}

// The names of a file's fonts; none when the file cannot be opened or read.
std::vector<SFontName> ReadFileFontNames(const WideString& path)
{
    try
    {
        File file(path, WideString(), File::ModeRead);
        FileFontBytes bytes(file);
        return ReadFontNames(bytes);
    }
    catch (const std::exception&)
    {
        return {};
    }
}

} // namespace

void LFontFileInfo::ScanFontFolder()
{
    RemoveAll();
    const WideString& folder = FontFolder();
    const std::vector<WideString> paths =
        folder.IsEmpty() ? ListInstalledFontFiles() : ListFolderFontFiles(folder);
    for (const WideString& path : paths)
    {
        for (const SFontName& name : ReadFileFontNames(path))
        {
            Register(name.family, name.subfamily, SFaceFile{path, name.faceIndex});
        }
    }
}

void LFontFileInfo::SetFontFolder(const WideString& folder)
{
    FontFolder() = folder;
}

void LFontFileInfo::RemoveAll()
{
    Map().Clear();
    List().RemoveAll();
}

void LFontFileInfo::Register(const WideString& family, const WideString& subfamily,
                             const SFaceFile& file)
{
    RCPtr<LFontFileInfo> info = FindFamily(family);
    if (!info)
    {
        info = Append();
        info->mFaceName = family;
    }
    std::int32_t style = kStyleRegular;
    if (subfamily == u"bold")
    {
        style = kStyleBold;
    }
    else if (subfamily == u"italic")
    {
        style = kStyleItalic;
    }
    else if (subfamily == u"bold italic")
    {
        style = kStyleBoldItalic;
    }
    info->mFiles[style] = file;
}

RCPtr<LFontFileInfo> LFontFileInfo::FindFamily(const WideString& faceName)
{
    const FontFileList& list = List();
    for (std::int32_t i = list.GetCount() - 1; i >= 0; --i)
    {
        if (list.GetAt(i)->mFaceName == faceName)
        {
            return list.GetAt(i);
        }
    }
    return nullptr;
}

std::int32_t LFontFileInfo::GetFileID(const ConstRCPtr<LFont>& font)
{
    const std::uintptr_t key = reinterpret_cast<std::uintptr_t>(font.Get());
    const SFontFileEntry* known = Map().Find(key, nullptr);
    RCPtr<LFontFileInfo> info = known != nullptr ? known->info : nullptr;
    if (!info)
    {
        info = FindFamily(font ? font->GetFaceName() : WideString());
        LApplicationBase* application = LApplicationBase::GetApplication();
        if (!info && application != nullptr)
        {
            WideString face;
            float size = 0.0f;
            std::int32_t style = 0;
            if (Succeeded(application->GetDefaultFont(face, size, style)))
            {
                info = FindFamily(face);
            }
        }
        if (!info)
        {
            QZ_THROW_RUNTIME("QZ::LFontFileInfo::GetFileID");
        }
        Map().Add(SFontFileEntry{font, info});
    }
    const std::int32_t style = font ? (font->GetStyle() & 3) : kStyleRegular;
    info->ResolveStyle(style);
    return info->mIndex * 4 + style;
}

void LFontFileInfo::ResolveStyle(std::int32_t style)
{
    if (!mFiles[style].path.IsEmpty())
    {
        return;
    }
    for (const std::int32_t candidate : kStyleFallbacks[style])
    {
        if (!mFiles[candidate].path.IsEmpty())
        {
            mFiles[style] = mFiles[candidate];
            return;
        }
    }
}

const WideString& LFontFileInfo::GetFilePath(std::int32_t fileID)
{
    const RCPtr<LFontFileInfo> info = GetAt(fileID >> 2);
    return info ? info->mFiles[fileID & 3].path : NoFaceFile().path;
}

std::int32_t LFontFileInfo::GetFaceIndex(std::int32_t fileID)
{
    const RCPtr<LFontFileInfo> info = GetAt(fileID >> 2);
    return info ? info->mFiles[fileID & 3].faceIndex : 0;
}

RCPtr<LFontFileInfo> LFontFileInfo::Append()
{
    RCPtr<LFontFileInfo> info(new LFontFileInfo(List().GetCount()));
    List().Add(info);
    return info;
}

std::int32_t LFontFileInfo::GetCount()
{
    return List().GetCount();
}

RCPtr<LFontFileInfo> LFontFileInfo::GetAt(std::int32_t index)
{
    const FontFileList& list = List();
    return index >= 0 && index < list.GetCount() ? list.GetAt(index) : nullptr;
}

} // namespace QZ
