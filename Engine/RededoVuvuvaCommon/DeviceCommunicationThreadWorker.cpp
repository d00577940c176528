#include "Engine/RededoVuvuvaCommon/DeviceCommunicationThreadWorker.h"

#include "Engine/RededoVuvuvaCommon/DeviceCommunicationState.h"

QZ::QZRESULT
LDeviceCommunicationThreadWorker::DoWork(const QZ::RCPtr<QZ::LRefCountedObject>& context)
{
    const auto state = QZ::RCPtr<LDeviceCommunicationState>::DynamicCastFrom(context);
    if (state)
    {
        state->DeliverQueuedValues();
    }
    return QZ::S_OK;
}
