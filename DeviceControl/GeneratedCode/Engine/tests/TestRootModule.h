// A small root for the model's tests, standing where the engine's root module and device will
// stand: it holds the nine members of a preset at their offsets, routes identifiers F to F + 130
// to them, keeps values in a parameter cache of 131 slots and records what the leaves send
// towards the device and relay upwards.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/RootModuleInterface.h"
#include "Engine/RededoVuvuvaCommon/ParamCache.h"
#include "QZFramework/Utilities/Storage/ParamValue.h"

#include <array>
#include <vector>

class LTestRootModule : public LParameterizedModule, public IDeviceParamSender
{
public:
    // A root with the whole tree (withTree) or with no members, for tests that place modules by
    // hand.
    [[nodiscard]] static QZ::RCPtr<LTestRootModule> Create(bool withTree);

    // Places the members at F plus their offsets (each member checks its own offset).
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::uint32_t index) override;
    using LParameterizedModule::GetModule;
    // Identifiers F to F + 130 are answered by the member covering them, others give null.
    [[nodiscard]] QZ::RCPtr<LParameterizedModule> GetModule(std::int32_t paramID) override;
    // Keeps a changed, non-empty value in the cache slot of number paramID - F; -1 outside
    // 0 to 130.
    std::int32_t SetParamValue(const QZ::ParamDescriptor& descriptor,
                               const QZ::Variant& value) override;
    [[nodiscard]] QZ::Variant GetParamValue(const QZ::ParamDescriptor& descriptor) const override;
    void RelayToParentAlt(std::uint32_t a, std::uint32_t b, std::uint32_t c,
                          std::uint32_t d) override;
    std::int32_t SendParamValueToDevice(const QZ::ParamDescriptor& descriptor,
                                        const QZ::Variant& value) override;

    struct Member
    {
        std::int32_t offset;
        std::uint32_t count;
        QZ::RCPtr<LParameterizedModule> module;
    };

    [[nodiscard]] const std::vector<QZ::ParamValue>& GetSentValues() const { return mSent; }
    [[nodiscard]] const std::vector<std::array<std::uint32_t, 4>>& GetRelayed() const
    {
        return mRelayed;
    }
    [[nodiscard]] std::uint32_t GetStoreCount() const { return mStoreCount; }

private:
    LTestRootModule();
    bool ToCacheDescriptor(const QZ::ParamDescriptor& descriptor,
                           QZ::ParamDescriptor& cached) const;

    std::vector<Member> mMembers;
    QZ::RCPtr<QZ::LParamCache> mCache;
    std::vector<QZ::ParamValue> mSent;
    std::vector<std::array<std::uint32_t, 4>> mRelayed;
    std::uint32_t mStoreCount = 0;
};
