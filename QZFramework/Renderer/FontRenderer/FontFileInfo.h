// The installed font files: which family each holds in which style, and the font-file identifier
// that leads from an LFont to a file.
//
// The scan reads the name table of every TrueType file and collection that fontconfig lists (or,
// when a font folder is set, of the "*.ttf" and then "*.ttc" files in that folder) and keeps one
// record per family, with the file and face index of each of its four styles. A font-file
// identifier is record index x 4 + style (0 regular, 1 bold, 2 italic, 3 bold italic). The answer
// for each LFont object is remembered by the font's identity until the next scan.
//
// The list and the map are process-wide, built by the FreeType font renderer and used on the
// rendering thread only; nothing is locked.
#pragma once

#include "QZFramework/ObjectBase/ConstRCPtr.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

class LFont;

class LFontFileInfo : public virtual LRefCountedObject
{
public:
    static constexpr std::int32_t kStyleRegular = 0;
    static constexpr std::int32_t kStyleBold = 1;
    static constexpr std::int32_t kStyleItalic = 2;
    static constexpr std::int32_t kStyleBoldItalic = 3;
    static constexpr std::int32_t kStyleCount = 4;

    // A font inside a file: the file's full path (empty when the style was not found) and the
    // font's position in a collection.
    struct SFaceFile
    {
        WideString path;
        std::int32_t faceIndex = 0;
    };

    // Rebuilds the font-file list from the installed fonts and forgets every remembered answer.
    // A file that cannot be read or is damaged adds nothing. Identifiers handed out before name
    // other files afterwards, so the FreeType font renderer scans only when the first living
    // renderer is made.
    static void ScanFontFolder();
    // The folder later scans list instead of the installed fonts; empty for the installed fonts.
    static void SetFontFolder(const WideString& folder);
    // Empties the list and the map.
    static void RemoveAll();

    // The identifier of the font's file: the record of the font's face name (compared exactly),
    // or else of the application's default face, with the font's style (bits 0 and 1). A style
    // the family lacks takes the nearest one it has. Throws a runtime error when neither face
    // has a record.
    [[nodiscard]] static std::int32_t GetFileID(const ConstRCPtr<LFont>& font);
    // The file of an identifier; a shared empty path (and face 0) for an identifier outside
    // the list.
    [[nodiscard]] static const WideString& GetFilePath(std::int32_t fileID);
    [[nodiscard]] static std::int32_t GetFaceIndex(std::int32_t fileID);

    // A new record at the end of the list, whose index is its position.
    static RCPtr<LFontFileInfo> Append();
    [[nodiscard]] static std::int32_t GetCount();
    // The record at the position, or null.
    [[nodiscard]] static RCPtr<LFontFileInfo> GetAt(std::int32_t index);

    [[nodiscard]] const WideString& GetFaceName() const { return mFaceName; }
    [[nodiscard]] std::int32_t GetIndex() const { return mIndex; }
    // The file of a style (0 to 3).
    [[nodiscard]] const SFaceFile& GetFaceFile(std::int32_t style) const
    {
        return mFiles[style & 3];
    }

private:
    explicit LFontFileInfo(std::int32_t index) : mIndex(index) {}

    static void Register(const WideString& family, const WideString& subfamily,
                         const SFaceFile& file);
    static RCPtr<LFontFileInfo> FindFamily(const WideString& faceName);
    // Makes sure the style's slot holds a file, borrowing that of the nearest style.
    void ResolveStyle(std::int32_t style);

    WideString mFaceName;
    SFaceFile mFiles[kStyleCount];
    std::int32_t mIndex;
};

} // namespace QZ
