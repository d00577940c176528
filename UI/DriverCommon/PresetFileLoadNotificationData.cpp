#include "UI/DriverCommon/PresetFileLoadNotificationData.h"

namespace QZ
{

LPresetFileLoadNotificationData::~LPresetFileLoadNotificationData() = default;

} // namespace QZ
