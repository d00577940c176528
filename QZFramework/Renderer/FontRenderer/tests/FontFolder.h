// A temporary folder of font files for tests: copies of the DejaVu fonts, damaged files and
// collections made from them. Removed with everything in it when the object goes.
#pragma once

#include "QZFramework/Utilities/Storage/StringT.h"

#include <string>
#include <vector>

namespace QZTest
{

class FontFolder
{
public:
    FontFolder();
    ~FontFolder();
    FontFolder(const FontFolder&) = delete;
    FontFolder& operator=(const FontFolder&) = delete;

    // The bytes of an installed DejaVu file ("DejaVuSans.ttf").
    static std::string ReadDejaVu(const std::string& name);
    // Copies an installed DejaVu file into the folder.
    void CopyDejaVu(const std::string& name);
    void Write(const std::string& name, const std::string& bytes);
    // A TrueType collection of the fonts, in order.
    static std::string MakeCollection(const std::vector<std::string>& fonts);

    [[nodiscard]] QZ::WideString GetPath() const { return QZ::WideString(mPath.c_str()); }
    [[nodiscard]] QZ::WideString GetFilePath(const std::string& name) const
    {
        return QZ::WideString((mPath + "/" + name).c_str());
    }

private:
    std::string mPath;
};

} // namespace QZTest
