// The file-type filters of the open and save dialogs, and the names they lead to.
//
// The program writes its filters the Windows way: one text of "label|patterns" pairs, the
// patterns of a pair separated by ';' ("Presets (*.tp)|*.tp|All Files (*.*)|*.*"). On Windows
// "*.*" matches every name and letters match in either case; the desktop form of a pattern keeps
// that meaning on a file system where names are case-sensitive.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace QZ::Dialogs
{

struct FileFilter
{
    std::string label;
    std::vector<std::string> patterns;

    bool operator==(const FileFilter&) const = default;
};

// The filters of the text, in order. Blanks around a pattern are dropped; a pair without any
// pattern, and a label with no pattern text after it, give no filter. A blank label is
// replaced by the pair's pattern text.
[[nodiscard]] std::vector<FileFilter> ParseFileFilter(std::string_view text);

// The pattern as the desktop's chooser matches it: "*.*" becomes "*", each ASCII letter a
// class of both cases ("*.tp" becomes "*.[tT][pP]"), and '[' a literal.
[[nodiscard]] std::string ToDesktopPattern(std::string_view pattern);

// The extension of a default-extension text: "tp", ".tp" and "*.tp" all give "tp"; a text that
// still holds a wildcard ("*.*", "*") gives none.
[[nodiscard]] std::string NormalizeDefaultExtension(std::string_view text);

// The path with "." and the extension appended when its last component has no extension (no
// '.' after its first character); unchanged otherwise or when the extension is empty.
[[nodiscard]] std::string WithDefaultExtension(const std::string& path, std::string_view extension);

} // namespace QZ::Dialogs
