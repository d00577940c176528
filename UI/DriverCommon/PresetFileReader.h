// Reads a preset file whole and checks every record before any value is used.
//
// A load is all or nothing: a file is accepted only when its header is right and every record
// is sound, and only then are its values offered (GetValue). Beyond the framing checks of
// UnpackPresetRecord, a record that names a parameter of the preset must hold a tag-8 value of
// exactly that parameter's fixed size (GetPresetParamValueSize of the device model). A record whose
// index names no parameter of the preset is framed and checked like any other and then skipped: its
// value goes nowhere, so a file cannot reach composite or virtual parameters.
//
// The parameter index of a record is taken as the parameter identifier, unchanged.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/Utilities/Storage/IBuffer.h"
#include "QZFramework/Utilities/Storage/StringT.h"
#include "QZFramework/Utilities/Storage/Variant.h"

#include <cstdint>
#include <string>
#include <vector>

namespace QZ
{

class PresetFileReader
{
public:
    // A reader for the preset whose parameters have the identifiers firstParamID to
    // firstParamID + 130.
    explicit PresetFileReader(std::int32_t firstParamID);

    // Reads the file at path and checks it whole. Returns 0 (kPresetFileLoaded), -1 for format
    // version 0, -2 for a version above 1, -4 when a device word is not 0 (tested before the
    // version), -3 when the file is shorter than its header (an empty one too), larger than any
    // preset file, changes while it is read or holds a record that is refused, -6 when the
    // system refuses to open or read it (GetReadError says why). The values are offered only
    // after 0.
    [[nodiscard]] std::int32_t ReadFile(const WideString& path);
    // The system's reason for the last -6; empty after any other result.
    [[nodiscard]] const std::string& GetReadError() const { return mReadError; }
    // The same over a file image in memory.
    [[nodiscard]] std::int32_t Parse(const IBuffer& image);

    [[nodiscard]] std::int32_t GetFirstParamID() const { return mFirstParamID; }
    // The value the file gives parameter firstParamID + position (the last record of a
    // parameter named twice), or an empty Variant when the file does not name it, the last read
    // failed or position is not below 131.
    [[nodiscard]] const Variant& GetValue(std::uint32_t position) const;

private:
    [[nodiscard]] std::int32_t ParseRecords(const IBuffer& image,
                                            std::vector<Variant>& values) const;

    std::int32_t mFirstParamID;
    std::vector<Variant> mValues;
    std::string mReadError;
};

} // namespace QZ
