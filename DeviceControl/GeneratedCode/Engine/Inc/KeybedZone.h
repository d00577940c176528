// Keybed zone (parameters 1 to 4): the 9-byte zone value; zone k defaults to off on
// channel byte k (zone 1 the global channel), notes 0 to 60, no octave shift or transposition.
// The leaf stores whatever it is given: it tests the identifier of every access, never the value.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/CompositeTranslator.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/IKeybedZone.h"

class LKeybedZone : public IKeybedZone
{
public:
    // A new leaf, not yet placed.
    [[nodiscard]] static QZ::RCPtr<LKeybedZone> Create();

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
    LKeybedZone();

private:
    LCompositeTranslator mCompositeTranslator;
};
