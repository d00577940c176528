// libIniFileManager.so: the settings library's C interface, loaded at run time.
//
// The program reaches these 15 entry points through dlopen/dlsym (QZ::CIniFileManagerProxy); it
// never links the library. All texts are UTF-8 and NUL-terminated. Every entry point may be called
// from any thread (one lock guards the library's state) and never throws.
//
// Handles. OpenIniFile issues a positive handle for a settings file; it is passed back on every
// later call and stays valid until CloseIniFile. 0 is never a handle. Opening one file twice gives
// two handles with separate contents, and each save writes its own; open a file once.
//
// Saving. Every successful change (SetIniValueInt, SetIniValueStr, SetArrayCount, SetArrayItemAt,
// RemoveArrayItemAt) is written to disk at once, so nothing is lost when a program never calls
// WriteIniFile or CloseIniFile. WriteIniFile writes the file even when nothing changed. A file is
// written atomically: the text goes to a new unnamed file in the same folder (a file named
// "<name>.saving-<pid>-<n>" where the file system has no unnamed files), which is synced and then
// put in place of the old file, and the folder is synced. A crash while saving leaves the old file
// whole and nothing beside it; a named file left by a process that died is removed by the next
// save. When a save fails, the change stays in memory for this run, the call returns
// INI_RESULT_IO_FAILED and, the first time for that file, one line on stderr names the file and
// the reason; a FIFO, device or folder in the file's place is never written (nor read).
//
// A damaged file. A settings file that cannot be parsed is renamed to "<name>.damaged" (or
// "<name>.damaged-2", "-3", ... when that name is taken) and never overwritten; the file then
// opens empty, so every reader gets its default, and one line on stderr names the fault and the
// new name. When it cannot be renamed, OpenIniFile fails and the file is left as it is.
//
// Node paths. A node path is a list of names joined by "/": "CurrentSkinIndex", "Window/Left",
// "Recent/Files/0". The last name is a key; the names before it make the section that holds the
// key ("" for the top level). A path names a node when it names a key, a section, or a prefix of a
// section's path. A name is not empty, holds no control character, "=", "[", "]" or "/", does not
// begin or end with a blank and does not begin with ";" or "#". The empty path names the top level.
//
// Arrays. The array at node path P is the section P; its item i is the key named by the decimal
// number i (no leading zeros, at most 2147483646). The array's count is one more than its largest
// item number; items missing below it read as empty texts. Other keys in that section are not
// items. So the item "Recent/Files/2" can be read and written as a value too.
//
// File format (UTF-8, a person can read and edit it):
//
//     ; Tarn 61 Vidida Editor settings, version 1_0_0
//     CurrentSkinIndex=2
//
//     [Recent/Files]
//     0=/home/ann/Documents/Live set.Tarn61RededoVuvuva
//     1="  two leading blanks and a line break\n"
//
// - Lines end with LF (CRLF is read too); a UTF-8 byte order mark at the start is skipped.
// - Blank lines, and lines whose first non-blank character is ";" or "#", are comments. Comments
//   are not kept when the library writes the file; the first comment written names the product
//   and the settings version given to OpenIniFile.
// - "[<section path>]" starts a section; keys before the first section are top-level keys. A
//   section may appear twice; its keys are then joined.
// - "<key>=<value>": blanks around the key and around the value are dropped. A value that begins
//   with a double quote is quoted: it ends with the next unescaped double quote, after which only
//   blanks may follow, and inside it \\ \" \n \r \t and \xHH (two hexadecimal digits, not 00)
//   stand for a backslash, a double quote, LF, CR, TAB and the byte HH. The library quotes a value
//   when it begins or ends with a blank, begins with a double quote or holds a control character.
// - Anything else makes the file damaged: another kind of line, a bad section path or key name,
//   the same key twice in one section, a bad quoted value, a NUL byte, text that is not UTF-8, a
//   value longer than INI_MAX_TEXT_BYTES or a file larger than INI_MAX_FILE_BYTES.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
#define INI_API extern "C" __attribute__((visibility("default")))
#else
#define INI_API __attribute__((visibility("default")))
#endif

// Results of the entry points.
enum IniFileManagerResult
{
    INI_RESULT_OK = 0,
    // No open settings file has this handle.
    INI_RESULT_BAD_HANDLE = -1,
    // The text does not fit the caller's buffer; the needed size (bytes, NUL included) is given.
    INI_RESULT_BUFFER_TOO_SMALL = -2,
    // A null pointer, a malformed node path, a negative index, count or size, a text that is not
    // UTF-8 or is longer than INI_MAX_TEXT_BYTES.
    INI_RESULT_BAD_ARGUMENT = -3,
    // The index is not one of the node's keys or items.
    INI_RESULT_NO_SUCH_INDEX = -4,
    // The file could not be read or written.
    INI_RESULT_IO_FAILED = -5,
    // The value exists but is not a decimal 32-bit integer; the default is given instead.
    INI_RESULT_NOT_AN_INTEGER = -6,
    // Memory ran out or something unforeseen failed; nothing was changed.
    INI_RESULT_INTERNAL_FAILURE = -7
};

// The longest value, key or section path in bytes (NUL not included).
#define INI_MAX_TEXT_BYTES (1024 * 1024 - 1)
// The largest settings file the library reads.
#define INI_MAX_FILE_BYTES (16 * 1024 * 1024)

// Opens the settings file at path (it need not exist yet; it is created by the first save).
// version and product only name the file in its first comment line and may be empty. On success
// *handle is the new handle; otherwise it is 0. A path that is a folder or cannot be read gives
// INI_RESULT_IO_FAILED.
INI_API int32_t OpenIniFile(const char* path, const char* version, const char* product,
                            int32_t* handle);
// Writes the file now.
INI_API int32_t WriteIniFile(int32_t handle);
// Forgets the handle; flag is reserved and ignored (changes are already saved).
INI_API int32_t CloseIniFile(int32_t handle, int32_t flag);
// 1 when the node exists, else 0 (also for a bad handle or path).
INI_API uint8_t DoesNodeExist(int32_t handle, const char* node);

// *value is the key's integer, or defaultValue when the key is absent (INI_RESULT_OK) or is not
// an integer (INI_RESULT_NOT_AN_INTEGER).
INI_API int32_t GetIniValueInt(int32_t handle, const char* node, int32_t defaultValue,
                               int32_t* value);
INI_API int32_t SetIniValueInt(int32_t handle, const char* node, int32_t value);

// The texts below are handed out through the caller's buffer of size bytes: *needed becomes the
// text's size with its NUL; when that is more than size the result is INI_RESULT_BUFFER_TOO_SMALL
// and the buffer holds an empty text (when size > 0). buffer may be null when size is 0.

// The key's text, or defaultText (which may be null, meaning empty) when the key is absent.
INI_API int32_t GetIniValueStr(int32_t handle, const char* node, const char* defaultText,
                               char* buffer, int32_t size, int32_t* needed);
INI_API int32_t SetIniValueStr(int32_t handle, const char* node, const char* text);

// The keys of the section at node, in file order (0 keys when there is no such section).
INI_API int32_t GetKeyCount(int32_t handle, const char* node, int32_t* count);
INI_API int32_t GetKeyNameAt(int32_t handle, const char* node, int32_t index, char* buffer,
                             int32_t size, int32_t* needed);

INI_API int32_t GetArrayCount(int32_t handle, const char* node, int32_t* count);
// Removes the items from count on; a larger count adds empty items.
INI_API int32_t SetArrayCount(int32_t handle, const char* node, int32_t count);
// index must be below the count.
INI_API int32_t GetArrayItemAt(int32_t handle, const char* node, int32_t index, char* buffer,
                               int32_t size, int32_t* needed);
// Sets item index; an index at or past the count makes the array that much longer.
INI_API int32_t SetArrayItemAt(int32_t handle, const char* node, int32_t index, const char* text);
// Removes item index (below the count); the items after it move down by one.
INI_API int32_t RemoveArrayItemAt(int32_t handle, const char* node, int32_t index);
