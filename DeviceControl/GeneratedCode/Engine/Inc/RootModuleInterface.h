// The chief header of the device model: the module protocol, every control type's interface,
// leaf and container, the parameter layout with its table of fixed value sizes, and the byte
// layouts and tables of the control values.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/CompositeTranslator.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/DeviceParamSender.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/ParamLayout.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/ParameterizedModule.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/ValueLayout.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/ValueTables.h"

#include "DeviceControl/GeneratedCode/Engine/Inc/Encoder.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/Encoders.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/Fader.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/Faders.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/KeybedZone.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/KeybedZones.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/Pad.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/Pads.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/Pedals.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/PresetName.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/PushButton.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/PushButtons.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/SustainPedal.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/TouchPadAxis.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/TouchPadAxises.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/VolumePedal.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/Wheel.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/Wheels.h"
