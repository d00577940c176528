// The data of "NID_PRESETFILE_POST_LOAD": the result of the load it reports.
#pragma once

#include "QZFramework/ObjectBase/RefCountedObject.h"

#include <cstdint>

namespace QZ
{

class LPresetFileLoadNotificationData : public virtual LRefCountedObject
{
public:
    explicit LPresetFileLoadNotificationData(std::int32_t loadResult) : mLoadResult(loadResult) {}
    ~LPresetFileLoadNotificationData() override;

    // What LPresetManager::LoadPresetFile returned: 0 or -1 to -5.
    [[nodiscard]] std::int32_t GetLoadResult() const { return mLoadResult; }

private:
    std::int32_t mLoadResult;
};

} // namespace QZ
