// The face that the shared assignment editors ("moveableTypePanel", "noteModePage", the
// push-button editor) show their owner. The owner fills the editor with a value's bytes (the
// editor sends nothing back while it fills) and reads the whole value back when the editor
// reports a user change by distributing "NID_PARAMETERS_CHANGED" without data.
// User-interface thread only.
#pragma once

#include "QZFramework/Utilities/Storage/Array.h"

#include <cstdint>

namespace QZ
{

class IAssignmentEditor
{
public:
    // S_OK, or E_INVALIDARG (and nothing changes) for a value of the wrong length.
    virtual std::int32_t SetParamValues(const Array<signed char>& values) = 0;
    [[nodiscard]] virtual Array<signed char> GetParamValues() const = 0;

protected:
    ~IAssignmentEditor() = default;
};

} // namespace QZ
