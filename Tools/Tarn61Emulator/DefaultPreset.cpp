#include "Tools/Tarn61Emulator/DefaultPreset.h"

#include "DeviceControl/GeneratedCode/Engine/Inc/RootModuleInterface.h"

#include <algorithm>
#include <vector>

namespace Tarn61
{
namespace
{

// The top of a bare model tree: the nine members of a preset at their offsets, enough for every
// leaf to be placed and to answer its default.
class DefaultsRoot : public LParameterizedModule
{
public:
    DefaultsRoot()
        : mMembers{{0, 1, LPresetName::Create()},      {1, 4, LKeybedZones::Create()},
                   {5, 2, LWheels::Create()},          {7, 2, LPedals::Create()},
                   {9, 16, LPads::Create()},           {25, 36, LPushButtons::Create()},
                   {61, 36, LFaders::Create()},        {97, 32, LEncoders::Create()},
                   {129, 2, LTouchPadAxises::Create()}}
    {
    }

    void Place()
    {
        for (const Member& member : mMembers)
        {
            member.module->SetFirstParamID(this, member.offset, 0);
        }
    }

    QZ::Variant GetDefault(std::int32_t paramID)
    {
        for (const Member& member : mMembers)
        {
            if (paramID >= member.offset && paramID < member.offset + member.count)
            {
                return member.module->GetModule(paramID)->GetParamValueDefault(paramID);
            }
        }
        return QZ::Variant();
    }

private:
    struct Member
    {
        std::int32_t offset;
        std::int32_t count;
        QZ::RCPtr<LParameterizedModule> module;
    };

    std::vector<Member> mMembers;
};

} // namespace

std::array<std::uint8_t, 1338> MakeDefaultPreset()
{
    std::array<std::uint8_t, 1338> preset{};
    QZ::RCPtr<DefaultsRoot> root(new DefaultsRoot());
    root->Place();
    std::size_t position = 0;
    for (std::int32_t id = 0; id < static_cast<std::int32_t>(kPresetParamCount); ++id)
    {
        std::uint32_t size = 0;
        const QZ::Variant value = root->GetDefault(id);
        const auto* bytes = static_cast<const std::uint8_t*>(value.GetData(size));
        const std::size_t taken = std::min<std::size_t>(size, preset.size() - position);
        if (bytes != nullptr)
        {
            std::copy_n(bytes, taken, preset.begin() + static_cast<std::ptrdiff_t>(position));
        }
        position += taken;
    }
    return preset;
}

} // namespace Tarn61
