// Preset name (parameter 0): six 8-bit characters, default "PRESET".
// The leaf stores whatever it is given: it tests the identifier of every access, never the value.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/CompositeTranslator.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/IPresetName.h"

class LPresetName : public IPresetName
{
public:
    // A new leaf, not yet placed.
    [[nodiscard]] static QZ::RCPtr<LPresetName> Create();

    // Throws "Invalid FirstParamID" when the offset from the root lies outside this type's run.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::uint32_t index) override;
    // Own identifier: passed up, the root's answer returned. Another preset identifier or a
    // non-composite negative one: -1. Composite: forwarded to the device unless fromDevice, then
    // 1, since no composite parameter translates to this leaf.
    std::int32_t SetParamValueLocal(const QZ::ParamDescriptor& descriptor, const QZ::Variant& value,
                                    bool fromDevice) override;
    // The root's current value; throws for another identifier.
    [[nodiscard]] QZ::Variant
    GetParamValueLocal(const QZ::ParamDescriptor& descriptor) const override;
    // The type's default for this leaf's index; throws for another identifier.
    [[nodiscard]] QZ::Variant GetParamValueDefault(std::int32_t paramID) const override;
    // A leaf has no children.
    virtual void CreateSubModules();

protected:
    LPresetName();

private:
    LCompositeTranslator mCompositeTranslator;
};
