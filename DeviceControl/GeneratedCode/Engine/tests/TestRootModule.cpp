#include "DeviceControl/GeneratedCode/Engine/tests/TestRootModule.h"

using QZ::ParamDescriptor;
using QZ::Variant;

QZ::RCPtr<LTestRootModule> LTestRootModule::Create(bool withTree)
{
    QZ::RCPtr<LTestRootModule> root(new LTestRootModule());
    if (withTree)
    {
        root->mMembers = {{0, 1, LPresetName::Create()},      {1, 4, LKeybedZones::Create()},
                          {5, 2, LWheels::Create()},          {7, 2, LPedals::Create()},
                          {9, 16, LPads::Create()},           {25, 36, LPushButtons::Create()},
                          {61, 36, LFaders::Create()},        {97, 32, LEncoders::Create()},
                          {129, 2, LTouchPadAxises::Create()}};
    }
    return root;
}

LTestRootModule::LTestRootModule() : mCache(new QZ::LParamCache(kPresetParamCount)) {}

void LTestRootModule::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                                      std::uint32_t index)
{
    LParameterizedModule::SetFirstParamID(parent, firstParamID, index);
    for (const Member& member : mMembers)
    {
        member.module->SetFirstParamID(this, firstParamID + member.offset, 0);
    }
}

QZ::RCPtr<LParameterizedModule> LTestRootModule::GetModule(std::int32_t paramID)
{
    const std::int64_t number = static_cast<std::int64_t>(paramID) - mFirstParamID;
    for (const Member& member : mMembers)
    {
        if (number >= member.offset && number < member.offset + std::int64_t{member.count})
        {
            return member.module->GetModule(paramID);
        }
    }
    return nullptr;
}

std::int32_t LTestRootModule::SetParamValue(const ParamDescriptor& descriptor, const Variant& value)
{
    ParamDescriptor cached;
    if (!ToCacheDescriptor(descriptor, cached))
    {
        return -1;
    }
    if (value.GetType() != Variant::TagEmpty && mCache->SetValue(cached, value, true) == 0)
    {
        ++mStoreCount;
    }
    return 0;
}

Variant LTestRootModule::GetParamValue(const ParamDescriptor& descriptor) const
{
    ParamDescriptor cached;
    Variant value;
    if (ToCacheDescriptor(descriptor, cached))
    {
        (void)mCache->GetValue(cached, value);
    }
    return value;
}

void LTestRootModule::RelayToParentAlt(std::uint32_t a, std::uint32_t b, std::uint32_t c,
                                       std::uint32_t d)
{
    mRelayed.push_back({a, b, c, d});
}

std::int32_t LTestRootModule::SendParamValueToDevice(const ParamDescriptor& descriptor,
                                                     const Variant& value)
{
    mSent.emplace_back(descriptor, value);
    return 0;
}

bool LTestRootModule::ToCacheDescriptor(const ParamDescriptor& descriptor,
                                        ParamDescriptor& cached) const
{
    const std::int64_t number = static_cast<std::int64_t>(descriptor.mParamID) - mFirstParamID;
    if (number < 0 || number >= kPresetParamCount)
    {
        return false;
    }
    cached = ParamDescriptor(static_cast<std::int32_t>(number), descriptor.mSubKey);
    return true;
}
