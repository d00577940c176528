// The program's folders by number, as the application answers GetFolder:
//
//   0  the program's own folder
//   1  "::", the resources embedded in the program
//   2  the user's shared application data, then the company and the product as two folders
//   3  the user's local application data, then the same two folders
//   4  the user's documents folder
//
// Folders 2 to 4 are created when missing. When one cannot be made where the desktop puts it,
// the next candidate of Shell::GetSpecialFolderCandidates is taken, down to the per-user
// fallback folder, and the move is logged; a folder is never relative to the working folder.
#pragma once

#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

inline constexpr std::int32_t kFolderProgram = 0;
inline constexpr std::int32_t kFolderEmbeddedResources = 1;
inline constexpr std::int32_t kFolderSharedApplicationData = 2;
inline constexpr std::int32_t kFolderLocalApplicationData = 3;
inline constexpr std::int32_t kFolderDocuments = 4;

// The folder of the number without a trailing "/"; company and product are made legal file
// names first. Any other number throws "Out of Range : Unknown Path ID." naming the method.
// Empty only when no candidate at all could be made.
[[nodiscard]] WideString GetApplicationFolder(std::int32_t id, const WideString& company,
                                              const WideString& product);

// True when path lies in this user's fallback folder and is a symbolic link (or cannot be looked
// at): a file there is never written through a link.
[[nodiscard]] bool IsLinkInFallbackFolder(const WideString& path);

} // namespace QZ
