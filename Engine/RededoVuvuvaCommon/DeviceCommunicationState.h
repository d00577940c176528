// The state that LDeviceCommunicationInterface shares with its delivery thread and with the
// library's receive callback.
//
// Locks, each guarding its own part and never held while another thread is waited for:
// - the state lock: the current device, and the copy of it taken for each library call;
// - the queue lock: the queue of received lists (inside the queue);
// - the delivery lock: held by the delivery thread for a whole pass, so deliveries never overlap
//   and a caller that enters it knows that no delivery is in progress.
// The order is: delivery lock, then the receiver's own lock (taken inside the receiver). The
// receiver is never called with the state lock held.
#pragma once

#include "Engine/RededoVuvuvaCommon/DeviceCommunicationReceiver.h"
#include "Engine/RededoVuvuvaCommon/DeviceControlClientInterface.h"
#include "Platform/DeviceControlClient/DeviceControlClient.h"
#include "QZFramework/Notification/RCPtrQueue.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/ObjectBase/Wrapper.h"
#include "QZFramework/System/LEvent.h"
#include "QZFramework/System/Mutex.h"
#include "QZFramework/Utilities/Storage/ParamValues.h"
#include "QZFramework/Utilities/Storage/Variant.h"

#include <atomic>
#include <cstdint>
#include <memory>

class LDeviceCommunicationState : public virtual QZ::LRefCountedObject
{
public:
    using ReceivedValues = QZ::LWrapper<QZ::ParamValues, QZ::LRefCountedObject>;
    static constexpr std::uint32_t kInitialQueueSlots = 256;

    LDeviceCommunicationState();
    LDeviceCommunicationState(const LDeviceCommunicationState&) = delete;
    LDeviceCommunicationState& operator=(const LDeviceCommunicationState&) = delete;
    ~LDeviceCommunicationState() override;

    // The receive callback handed to the library (context: this state). Copies the list, queues
    // it and wakes the delivery thread; never calls the receiver.
    static std::int32_t ReceiveValues(void* context, std::int32_t reserved,
                                      const OXLI_Record* values);
    // One delivery pass, on the delivery thread: hands every queued list, oldest first, to the
    // receiver while receiving is enabled and a receiver is set; drops the others.
    void DeliverQueuedValues();
    // Queues a received list and wakes the delivery thread.
    void QueueValues(const QZ::ParamValues& values);

    [[nodiscard]] QZ::Variant GetCurrentDevice();
    void SetCurrentDevice(const QZ::Variant& device);

private:
    friend class LDeviceCommunicationInterface;

    QZ::Mutex mStateLock;
    QZ::Mutex mDeliveryLock;
    // Made by the interface's Initialize before other threads use it, destroyed by the
    // interface's destructor after they have stopped.
    std::unique_ptr<QZ::DeviceControlClientInterface> mClient;
    std::atomic<bool> mReceiving{false};
    std::atomic<DeviceCommunicationReceiver*> mReceiver{nullptr};
    QZ::RCPtr<QZ::LEvent> mWakeEvent;
    QZ::Mutex mQueueLock;
    QZ::RCPtrQueue<ReceivedValues, kInitialQueueSlots> mQueue;
    // Guarded by mStateLock.
    QZ::Variant mCurrentDevice;
};
