// Application services for tests: a string table given by the test, and message boxes recorded
// instead of shown. Installs itself while alive.
#pragma once

#include "UI/DriverCommon/AppServices.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace QZ::PresetTest
{

class RecordingAppServices : public IAppServices
{
public:
    struct MessageBox
    {
        std::u16string text;
        std::u16string caption;
        std::uint32_t style;
    };

    RecordingAppServices() { SetAppServices(this); }
    ~RecordingAppServices() override { SetAppServices(nullptr); }
    RecordingAppServices(const RecordingAppServices&) = delete;
    RecordingAppServices& operator=(const RecordingAppServices&) = delete;

    bool LookupAppString(const char16_t* key, WideString& text) const override
    {
        const auto found = mStrings.find(key);
        if (found == mStrings.end())
        {
            return false;
        }
        text = WideString(found->second.c_str());
        return true;
    }

    std::uint32_t ShowMessageBox(const WideString& text, const WideString& caption,
                                 std::uint32_t style) override
    {
        mBoxes.push_back({text.GetString(), caption.GetString(), style});
        return kMessageBoxResultOk;
    }

    std::map<std::u16string, std::u16string> mStrings;
    std::vector<MessageBox> mBoxes;
};

} // namespace QZ::PresetTest
