// LFaders: the model's container of the faders (offset 61, faders 0 to 35).
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/Fader.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/IFaders.h"
#include "QZFramework/Utilities/Storage/RCPtrArray.h"

class LFaders : public IFaders
{
public:
    // A new container holding its ChildCount new leaves, not yet placed.
    [[nodiscard]] static QZ::RCPtr<LFaders> Create();

    // Places the children, then throws "Invalid FirstParamID" when the container's own offset
    // from the root is not its type's first offset.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::uint32_t index) override;
    // Child index; an index not below ChildCount throws "Out of Range".
    [[nodiscard]] QZ::ConstRCPtr<IFader> GetFader(std::uint32_t index) const override;
    [[nodiscard]] QZ::RCPtr<IFader> GetFader(std::uint32_t index) override;
    // Fills the list with ChildCount new leaves in index order.
    virtual void CreateSubModules();

protected:
    LFaders() = default;

private:
    QZ::RCPtrArray<LFader, 1, 0> mFaders;
};
