// The work of the device-communication interface's delivery thread: one delivery pass each time
// the wake event is set.
#pragma once

#include "QZFramework/System/ThreadWorker.h"

class LDeviceCommunicationThreadWorker : public QZ::LThreadWorker
{
public:
    // context: the interface's LDeviceCommunicationState; anything else does nothing. Returns 0.
    QZ::QZRESULT DoWork(const QZ::RCPtr<QZ::LRefCountedObject>& context) override;
};
