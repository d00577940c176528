// Opens a file with the desktop's application for its type, as a double click in the file manager
// does: "xdg-open" started with the path as its one argument (an argument vector: no shell ever
// reads the path). Tests put an opener of their own in its place.
#pragma once

#include <functional>
#include <string>

namespace QZ::Shell
{

// How long OpenDocument waits for xdg-open to report a failure before it counts the opening as
// started (xdg-open may stay with the application it started).
inline constexpr int kOpenReportWaitMs = 2000;

// False when the path (bytes as the disk holds them) is no readable file, xdg-open cannot be
// started, or it ends with a failure within kOpenReportWaitMs; true otherwise.
[[nodiscard]] bool OpenDocument(const std::string& path);

// Replaces the opener; empty restores xdg-open.
using DocumentOpener = std::function<bool(const std::string& path)>;
void SetDocumentOpener(DocumentOpener opener);

} // namespace QZ::Shell
