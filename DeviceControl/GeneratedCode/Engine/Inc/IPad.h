// IPad: what the model's LPad and the editor's panels for this control share. It adds
// nothing to the module protocol.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/ParameterizedModule.h"

class IPad : public LParameterizedModule
{
protected:
    using LParameterizedModule::LParameterizedModule;
};
