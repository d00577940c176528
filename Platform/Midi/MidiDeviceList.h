// The devices of one direction as a backend's last enumeration found them: each system port's own
// name, and the name the program is shown (see MidiPortNames). Opens look the system name up here
// and then find the port by that name, never by its place in a list that may have changed.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace Platform
{

class MidiDeviceList
{
public:
    // Replaces the list with systemNames, in order; alsaAddress as for ParseMidiPortName. Returns
    // the new count.
    std::uint32_t Store(const std::vector<std::string>& systemNames, bool inputs, bool alsaAddress);
    // E_INVALIDARG for a number the last enumeration did not give.
    [[nodiscard]] QZ::QZRESULT GetShownName(std::uint32_t device, std::string& name) const;
    // Empty for such a number.
    [[nodiscard]] std::string GetSystemName(std::uint32_t device) const;

private:
    mutable std::mutex mMutex;
    std::vector<std::string> mSystemNames;
    std::vector<std::string> mShownNames;
};

} // namespace Platform
