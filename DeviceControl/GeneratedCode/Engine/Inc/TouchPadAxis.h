// Touch-pad axis (parameters 129 and 130): the 15-byte axis value. Index 0 (X) defaults to
// control change 112 with the C major scale 60 to 72, index 1 (Y) to control change 113 with the
// A minor scale 69 to 81; an axis placed with another index has no default (an empty value).
// The leaf stores whatever it is given: it tests the identifier of every access, never the value.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/CompositeTranslator.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/ITouchPadAxis.h"

class LTouchPadAxis : public ITouchPadAxis
{
public:
    // A new leaf, not yet placed.
    [[nodiscard]] static QZ::RCPtr<LTouchPadAxis> Create();

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
    LTouchPadAxis();

private:
    LCompositeTranslator mCompositeTranslator;
};
