// Writes a preset file: the header, then one record per parameter in preset order, through an
// AtomicFileWriter, so that a failed save leaves the previous file as it was. The records are
// gathered in memory and reach the file in one write when the save is committed.
//
// Only a file that PresetFileReader accepts is written: each value must be a tag-8 value of its
// parameter's fixed size (GetPresetParamValueSize of the device model), and a value that is not
// ends the save before the target is touched.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/Utilities/Storage/StringT.h"
#include "QZFramework/Utilities/Storage/Variant.h"
#include "UI/DriverCommon/AtomicFileWriter.h"
#include "UI/DriverCommon/PresetRecord.h"

#include <cstdint>

namespace QZ
{

class PresetFileWriter
{
public:
    // Writes through file the preset whose parameters have the identifiers firstParamID to
    // firstParamID + 130. file must outlive the writer.
    PresetFileWriter(AtomicFileWriter& file, std::int32_t firstParamID);

    // Starts the new content of path with the header words 1, 0, 0. E_FAIL when the file
    // cannot be created.
    [[nodiscard]] QZRESULT Begin(const WideString& path);
    // Appends the record of the next parameter in preset order (index 0, then 1, ...). E_FAIL,
    // abandoning the save, when not begun, when every parameter has its record already, or when
    // value is not a tag-8 value of the parameter's fixed size.
    [[nodiscard]] QZRESULT WriteRecord(const Variant& value);
    // Writes the file and puts it in place once every parameter has its record. E_FAIL,
    // abandoning the save, when records are missing or the file cannot be written whole and put
    // in place.
    [[nodiscard]] QZRESULT Commit();

private:
    [[nodiscard]] bool FitsNextParameter(const Variant& value) const;
    QZRESULT Fail();

    AtomicFileWriter& mFile;
    std::int32_t mFirstParamID;
    std::uint32_t mNextIndex = 0;
    PresetScratchBuffer mRecord{0, 0, false};
    PresetScratchBuffer mImage{0, 0, false};
};

} // namespace QZ
