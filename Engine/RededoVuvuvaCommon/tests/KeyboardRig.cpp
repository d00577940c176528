#include "Engine/RededoVuvuvaCommon/tests/KeyboardRig.h"

#include "DeviceControl/GeneratedCode/Engine/Inc/ParamLayout.h"
#include "Engine/RededoVuvuvaCommon/RootModuleEngine.h"

#include <gtest/gtest.h>

namespace EngineTestSupport
{

KeyboardRig::KeyboardRig()
    : mDriver(std::make_shared<Platform::VirtualMidiDriver>()), mKeyboard(mDriver)
{
    mDriver->SetSendObserver(
        [this](const std::string& device, const Bytes& bytes)
        {
            if (device != Tarn61::Tarn61Emulator::kInputPortName)
            {
                return;
            }
            SendHook hook;
            {
                std::lock_guard<std::mutex> lock(mMutex);
                mSent.push_back(bytes);
                hook = mHook;
            }
            if (hook)
            {
                hook(bytes);
            }
        });
    Platform::SetDefaultMidiDriver(mDriver);
}

KeyboardRig::~KeyboardRig()
{
    mKeyboard.Stop();
    mDriver->SetSendObserver(nullptr);
    Platform::SetDefaultMidiDriver(nullptr);
}

std::vector<Bytes> KeyboardRig::GetSent() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mSent;
}

void KeyboardRig::ClearSent()
{
    std::lock_guard<std::mutex> lock(mMutex);
    mSent.clear();
}

void KeyboardRig::SetSendHook(SendHook hook)
{
    std::lock_guard<std::mutex> lock(mMutex);
    mHook = std::move(hook);
}

ValueArea MakePattern(std::uint8_t seed)
{
    ValueArea area{};
    for (std::size_t i = 0; i < area.size(); ++i)
    {
        area[i] = static_cast<std::uint8_t>((seed + 5 * i) % 0x80);
    }
    return area;
}

Bytes GetEngineBytes()
{
    const QZ::RCPtr<LRootModuleEngine> engine = GetRootModuleEngine();
    Bytes bytes;
    if (!engine)
    {
        return bytes;
    }
    QZ::Array<QZ::ParamValue> values;
    EXPECT_EQ(engine->GetParamValues(QZ::ParamRange{0, kPresetParamCount}, values, -1), 0);
    for (std::int32_t k = 0; k < values.GetCount(); ++k)
    {
        std::uint32_t size = 0;
        const auto* data = static_cast<const std::uint8_t*>(values.GetAt(k).mValue.GetData(size));
        bytes.insert(bytes.end(), data, data + size);
    }
    return bytes;
}

void SetEngineBytes(const ValueArea& area)
{
    const QZ::RCPtr<LRootModuleEngine> engine = GetRootModuleEngine();
    ASSERT_TRUE(engine);
    std::size_t position = 0;
    for (std::int32_t number = 0; number < static_cast<std::int32_t>(kPresetParamCount); ++number)
    {
        const std::uint32_t size = GetPresetParamValueSize(number);
        QZ::Variant value;
        value.SetBytes(area.data() + position, size);
        ASSERT_GE(engine->SetParamValue(QZ::ParamDescriptor(number), value), 0) << number;
        position += size;
    }
}

Bytes BytesOf(const ValueArea& area)
{
    return Bytes(area.begin(), area.end());
}

} // namespace EngineTestSupport
