// LEncoders: the model's container of the encoders (offset 97, encoders 0 to 31).
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/Encoder.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/IEncoders.h"
#include "QZFramework/Utilities/Storage/RCPtrArray.h"

class LEncoders : public IEncoders
{
public:
    // A new container holding its ChildCount new leaves, not yet placed.
    [[nodiscard]] static QZ::RCPtr<LEncoders> Create();

    // Places the children, then throws "Invalid FirstParamID" when the container's own offset
    // from the root is not its type's first offset.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::uint32_t index) override;
    // Child index; an index not below ChildCount throws "Out of Range".
    [[nodiscard]] QZ::ConstRCPtr<IEncoder> GetEncoder(std::uint32_t index) const override;
    [[nodiscard]] QZ::RCPtr<IEncoder> GetEncoder(std::uint32_t index) override;
    // Fills the list with ChildCount new leaves in index order.
    virtual void CreateSubModules();

protected:
    LEncoders() = default;

private:
    QZ::RCPtrArray<LEncoder, 1, 0> mEncoders;
};
