// What the device-communication interface hands received parameter values to: the root module.
#pragma once

#include "QZFramework/Utilities/Storage/ParamValues.h"

class DeviceCommunicationReceiver
{
public:
    virtual ~DeviceCommunicationReceiver() = default;

    // One list of values from the device, in the order the device sent them. Called on the
    // interface's delivery thread with its delivery lock held (so calls never overlap), or, for
    // the status value of identifier -4, synchronously on the thread that set it.
    virtual void ReceiveParamValues(const QZ::ParamValues& values) = 0;
};
