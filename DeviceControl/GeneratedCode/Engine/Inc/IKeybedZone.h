// IKeybedZone: what the model's LKeybedZone and the editor's panels for this control share. It adds
// nothing to the module protocol.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/ParameterizedModule.h"

class IKeybedZone : public LParameterizedModule
{
protected:
    using LParameterizedModule::LParameterizedModule;
};
