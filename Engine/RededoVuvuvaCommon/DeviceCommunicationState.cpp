#include "Engine/RededoVuvuvaCommon/DeviceCommunicationState.h"

#include "Platform/DeviceControlClient/PackedRecord.h"

LDeviceCommunicationState::LDeviceCommunicationState()
    : mWakeEvent(new QZ::LEvent()), mQueue(&mQueueLock)
{
}

LDeviceCommunicationState::~LDeviceCommunicationState() = default;

std::int32_t LDeviceCommunicationState::ReceiveValues(void* context, std::int32_t,
                                                      const OXLI_Record* values)
{
    try
    {
        QZ::Variant list;
        if (!Platform::UnpackRecord(values, list))
        {
            return OXLI_RESULT_BAD_ARGUMENT;
        }
        static_cast<LDeviceCommunicationState*>(context)->QueueValues(QZ::ParamValues(list));
        return OXLI_RESULT_OK;
    }
    catch (...)
    {
        return OXLI_RESULT_INTERNAL_FAILURE;
    }
}

void LDeviceCommunicationState::QueueValues(const QZ::ParamValues& values)
{
    static_cast<void>(mQueue.Enqueue(QZ::RCPtr<ReceivedValues>(new ReceivedValues(values))));
    mWakeEvent->Set();
}

void LDeviceCommunicationState::DeliverQueuedValues()
{
    QZ::Mutex::ScopedLock delivery(mDeliveryLock);
    while (mQueue.GetCount() > 0)
    {
        QZ::RCPtr<ReceivedValues> values;
        mQueue.Dequeue(values);
        DeviceCommunicationReceiver* receiver = mReceiver.load();
        if (values && mReceiving.load() && receiver != nullptr)
        {
            receiver->ReceiveParamValues(*values);
        }
    }
}

QZ::Variant LDeviceCommunicationState::GetCurrentDevice()
{
    QZ::Mutex::ScopedLock lock(mStateLock);
    return mCurrentDevice;
}

void LDeviceCommunicationState::SetCurrentDevice(const QZ::Variant& device)
{
    QZ::Mutex::ScopedLock lock(mStateLock);
    mCurrentDevice = device;
}
