#include "Platform/Midi/MidiDeviceList.h"

#include "Platform/Midi/MidiPortNames.h"

namespace Platform
{

std::uint32_t MidiDeviceList::Store(const std::vector<std::string>& systemNames, bool inputs,
                                    bool alsaAddress)
{
    std::vector<MidiPortEntry> entries;
    entries.reserve(systemNames.size());
    for (const std::string& name : systemNames)
    {
        entries.push_back(ParseMidiPortName(name, alsaAddress));
    }
    std::vector<std::string> shown = ComposeMidiPortNames(entries, inputs);
    std::lock_guard<std::mutex> lock(mMutex);
    mSystemNames = systemNames;
    mShownNames = std::move(shown);
    return static_cast<std::uint32_t>(mShownNames.size());
}

QZ::QZRESULT MidiDeviceList::GetShownName(std::uint32_t device, std::string& name) const
{
    std::lock_guard<std::mutex> lock(mMutex);
    if (device >= mShownNames.size())
    {
        return QZ::E_INVALIDARG;
    }
    name = mShownNames[device];
    return QZ::S_OK;
}

std::string MidiDeviceList::GetSystemName(std::uint32_t device) const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return device < mSystemNames.size() ? mSystemNames[device] : std::string();
}

} // namespace Platform
