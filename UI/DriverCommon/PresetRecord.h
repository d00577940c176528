// The byte layout of a preset file (extension "Tarn61RededoVuvuva") and its parameter records.
//
// Everything is little-endian, with no padding, trailer, count or checksum:
//     header:  version 1 | device word 0 | device word 0                      (12 bytes)
//     record:  24 + n | reserved 0 | parameter index | 12 + n | reserved 0 | tag | n value bytes
// one record per parameter, in preset order, up to the end of the file. Bytes 12 onward of a
// record are exactly the packed record of the value's Variant. A preset written by the system
// has 131 records of tag-8 values holding 1,338 value bytes in all: 4,494 bytes.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/Utilities/Storage/Allocator.h"
#include "QZFramework/Utilities/Storage/IBuffer.h"
#include "QZFramework/Utilities/Storage/LBufferT.h"
#include "QZFramework/Utilities/Storage/Variant.h"

#include <cstdint>

namespace QZ
{

inline constexpr std::uint32_t kPresetFileVersion = 1;
inline constexpr std::uint32_t kPresetFileHeaderSize = 12;
// A preset file the system writes has 4,494 bytes; anything past this bound is not a preset and is
// refused before it is read into memory.
inline constexpr std::uint32_t kPresetFileMaxSize = 1024 * 1024;
// Offsets of the header words.
inline constexpr std::uint32_t kPresetFileVersionOffset = 0;
inline constexpr std::uint32_t kPresetFileDeviceWord1Offset = 4;
inline constexpr std::uint32_t kPresetFileDeviceWord2Offset = 8;
// A parameter record's own head before the value's packed record: length, reserved, index.
inline constexpr std::uint32_t kPresetRecordHeadSize = 12;
// The shortest record UnpackPresetRecord accepts the length word of.
inline constexpr std::uint32_t kPresetRecordMinimumLength = 16;

// Results of reading a preset file; the report functions of PresetFileMessages.h show -1 to -6.
inline constexpr std::int32_t kPresetFileLoaded = 0;
inline constexpr std::int32_t kPresetFileOlder = -1;
inline constexpr std::int32_t kPresetFileNewer = -2;
inline constexpr std::int32_t kPresetFileCorrupt = -3;
inline constexpr std::int32_t kPresetFileWrongDevice = -4;
inline constexpr std::int32_t kPresetFileTranslationFailure = -5;
// The system refused to open or read the file (no permission, an I/O error, no such file).
inline constexpr std::int32_t kPresetFileUnreadable = -6;

// The scratch buffer in which records are built and parsed: whole blocks of 512 bytes, kept
// while a size change stays within the block.
using PresetScratchBuffer = LBufferT<512, 512, 8, char*, GetSystemAllocator>;

// The little-endian word at bytes[0..4).
[[nodiscard]] std::uint32_t LoadPresetWord(const void* bytes);
// Stores value little-endian at bytes[0..4).
void StorePresetWord(void* bytes, std::uint32_t value);

// Makes buffer hold exactly the record of value under index: 24 + n bytes, where n is the
// value's data size (0 for an empty value). Returns the record length, or E_FAIL, leaving the
// buffer's content undefined, for a value that has no packed record (a tag-6 or tag-7 reference
// to no data).
[[nodiscard]] QZRESULT PackPresetRecord(std::uint32_t index, const Variant& value, IBuffer& buffer);

// Parses the record at offset of buffer into index, value and reserved. Returns the record
// length L, or E_FAIL when the buffer holds fewer than offset + 12 or offset + L bytes, the
// reserved word is not 0, L is below 16 or above 0x7FFFFFFF (no result could carry it), or the
// value's packed record is refused by UnpackVariant. The value's record must lie inside the
// parameter record: its room is the record's bytes after offset + 12; bytes of the record after the
// value's own record are ignored. index and reserved are set as far as the checks got; value
// changes only when L is returned.
[[nodiscard]] QZRESULT UnpackPresetRecord(const IBuffer& buffer, std::uint32_t offset,
                                          std::uint32_t& index, Variant& value,
                                          std::uint32_t& reserved);

} // namespace QZ
