// Translates a composite descriptor (identifier -256 to -129) into the leaf's own parameter.
#pragma once

#include "QZFramework/Utilities/Storage/ParamDescriptor.h"
#include "QZFramework/Utilities/Storage/Variant.h"

#include <cstdint>

class LCompositeTranslator
{
public:
    // Returns 0 with the leaf's descriptor and value in ownDescriptor and ownValue, or a negative
    // result when the composite parameter holds nothing of the leaf. The keyboard has no
    // composite parameters, so every translation reports failure.
    [[nodiscard]] std::int32_t Translate(const QZ::ParamDescriptor& /*descriptor*/,
                                         const QZ::Variant& /*value*/,
                                         QZ::ParamDescriptor& /*ownDescriptor*/,
                                         QZ::Variant& /*ownValue*/) const
    {
        return -1;
    }
};
