// The library's C interface, called directly on the simulated build.
#include "Platform/DeviceControlClient/DeviceControlClient.h"
#include "Platform/DeviceControlClient/PackedRecord.h"
#include "Platform/DeviceControlClient/SimulationControl.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

using QZ::Variant;

namespace
{

std::vector<std::uint8_t> Pack(const Variant& value)
{
    std::vector<std::uint8_t> record;
    EXPECT_TRUE(Platform::PackRecord(value, record));
    return record;
}

Variant Int32(std::int32_t number)
{
    Variant value;
    value.Set(Variant::TagInt32, &number, 4);
    return value;
}

Variant Bytes(std::initializer_list<std::uint8_t> bytes)
{
    Variant value;
    value.SetBytes(std::data(bytes), static_cast<std::uint32_t>(bytes.size()));
    return value;
}

Variant List(const std::vector<Variant>& items)
{
    Variant list;
    list.SetList(items.data(), static_cast<std::uint32_t>(items.size()));
    return list;
}

// A ParamValues list of (identifier, value) pairs with empty sub-keys.
Variant Values(std::initializer_list<std::pair<std::int32_t, Variant>> values)
{
    std::vector<Variant> items;
    for (const auto& [paramID, value] : values)
    {
        items.push_back(List({value, Int32(paramID), Variant()}));
    }
    return List(items);
}

Variant Descriptors(std::initializer_list<std::int32_t> paramIDs)
{
    std::vector<Variant> items;
    for (const std::int32_t paramID : paramIDs)
    {
        items.push_back(List({Int32(paramID), Variant()}));
    }
    return List(items);
}

// The record of the empty device identifier: length 12, reserved 0, tag 0.
const std::vector<std::uint8_t> kAttachedKeyboard = {12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

struct Holder
{
    explicit Holder(const Variant& value)
        : mRecord(Pack(value)), mView(Platform::ViewRecord(mRecord))
    {
    }
    const OXLI_Record* Get() const { return &mView; }
    std::vector<std::uint8_t> mRecord;
    OXLI_Record mView;
};

// Collects every list the library pushes, with the thread that pushed it.
struct Receiver
{
    static std::int32_t Receive(void* context, std::int32_t, const OXLI_Record* values)
    {
        auto* self = static_cast<Receiver*>(context);
        Variant list;
        EXPECT_TRUE(Platform::UnpackRecord(values, list));
        std::lock_guard lock(self->mMutex);
        self->mLists.push_back(list);
        self->mThreads.push_back(std::this_thread::get_id());
        return 0;
    }

    std::vector<Variant> Lists()
    {
        std::lock_guard lock(mMutex);
        return mLists;
    }

    std::mutex mMutex;
    std::vector<Variant> mLists;
    std::vector<std::thread::id> mThreads;
};

class ClientLibrary : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(OXLISim_Reset(), 0); }
    void TearDown() override { EXPECT_EQ(OXLI_ReleaseAll(), 0); }

    void Connect(const std::vector<std::uint8_t>& device = kAttachedKeyboard)
    {
        const OXLI_Record record = Platform::ViewRecord(device);
        ASSERT_EQ(OXLI_ConnectDevice(&record, &Receiver::Receive, &mReceiver), OXLI_RESULT_OK);
    }

    OXLI_Record Attached() const { return Platform::ViewRecord(kAttachedKeyboard); }

    Receiver mReceiver;
};

std::int32_t Search(std::uint32_t kind, Variant& devices)
{
    Platform::VariantSink sink(devices);
    return OXLI_FindRemoteDevices(nullptr, 0, sink.Get(), kind);
}

} // namespace

// A record whose length word differs from its size, null outputs and null callbacks.
TEST_F(ClientLibrary, MalformedRecordsNullOutputsAndCallbacksAreRefused)
{
    std::vector<std::uint8_t> bytes = kAttachedKeyboard;
    bytes.push_back(0);
    const OXLI_Record padded = Platform::ViewRecord(bytes);
    EXPECT_EQ(OXLI_ConnectDevice(&padded, &Receiver::Receive, &mReceiver),
              OXLI_RESULT_BAD_ARGUMENT);
    const OXLI_Record truncated{kAttachedKeyboard.data(), 8};
    EXPECT_EQ(OXLI_IsDeviceConnected(&truncated), OXLI_RESULT_BAD_ARGUMENT);
    EXPECT_EQ(OXLI_DisconnectDevice(nullptr), OXLI_RESULT_BAD_ARGUMENT);
    const OXLI_Record device = Attached();
    EXPECT_EQ(OXLI_FindRemoteDevices(nullptr, 0, nullptr, OXLI_SEARCH_FULL),
              OXLI_RESULT_BAD_ARGUMENT);
    EXPECT_EQ(OXLI_FindRemoteDevices(nullptr, 2, nullptr, OXLI_SEARCH_FULL),
              OXLI_RESULT_BAD_ARGUMENT);
    EXPECT_EQ(OXLI_GetDeviceInfo(&device, nullptr), OXLI_RESULT_BAD_ARGUMENT);
    EXPECT_EQ(OXLI_ConnectDevice(&device, nullptr, nullptr), OXLI_RESULT_BAD_ARGUMENT);
    EXPECT_EQ(OXLI_GetParamValue(&device, nullptr, nullptr), OXLI_RESULT_BAD_ARGUMENT);
}

// A sink that refuses the record gives an internal failure.
TEST_F(ClientLibrary, SearchHandsOutOneRecordThroughTheSink)
{
    struct Counting
    {
        static std::int32_t Write(void* context, const std::uint8_t* data, std::uint32_t length)
        {
            auto* self = static_cast<Counting*>(context);
            ++self->mCalls;
            self->mBytes.assign(data, data + length);
            return 0;
        }
        int mCalls = 0;
        std::vector<std::uint8_t> mBytes;
    } counting;
    OXLI_RecordSink sink{&counting, &Counting::Write};
    EXPECT_EQ(OXLI_FindRemoteDevices(nullptr, 0, &sink, OXLI_SEARCH_FULL), OXLI_RESULT_OK);
    EXPECT_EQ(counting.mCalls, 1);
    // An empty list: length 12, reserved 0, tag 10.
    const std::vector<std::uint8_t> emptyList = {12, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 0};
    EXPECT_EQ(counting.mBytes, emptyList);
    OXLI_RecordSink refusing{nullptr, [](void*, const std::uint8_t*, std::uint32_t) { return 1; }};
    EXPECT_EQ(OXLI_FindRemoteDevices(nullptr, 0, &refusing, OXLI_SEARCH_QUICK),
              OXLI_RESULT_INTERNAL_FAILURE);
}

TEST_F(ClientLibrary, AttachedKeyboardIsPresentUntilTakenAway)
{
    const OXLI_Record device = Attached();
    OXLI_DeviceInfo info;
    std::memset(info.bytes, 0xEE, sizeof(info.bytes));
    ASSERT_EQ(OXLI_GetDeviceInfo(&device, &info), OXLI_RESULT_OK);
    EXPECT_EQ(info.bytes[OXLI_DEVICE_INFO_PRESENT_OFFSET], 1);
    EXPECT_EQ(info.bytes[0], 0) << "the record is cleared before it is filled";
    EXPECT_EQ(OXLI_FindDevices(0, 0, 0), 1);
    OXLISim_SetDevicePresent(0);
    ASSERT_EQ(OXLI_GetDeviceInfo(&device, &info), OXLI_RESULT_OK);
    EXPECT_EQ(info.bytes[OXLI_DEVICE_INFO_PRESENT_OFFSET], 0);
    EXPECT_EQ(OXLI_FindDevices(0, 0, 0), 0);
    Holder unknown(Bytes({1, 2, 3}));
    EXPECT_EQ(OXLI_GetDeviceInfo(unknown.Get(), &info), OXLI_RESULT_NO_SUCH_DEVICE);
}

TEST_F(ClientLibrary, FullSearchReportsFoundOnlyWhenTheListHasDevices)
{
    Variant devices;
    EXPECT_EQ(Search(OXLI_SEARCH_FULL, devices), OXLI_RESULT_OK);
    EXPECT_EQ(devices.GetType(), Variant::TagList);
    EXPECT_EQ(devices.GetListItemCount(), 0u);

    const Variant remote = List({Bytes({0xA1, 0xB2}), Bytes({0xC3})});
    Holder record(remote);
    ASSERT_EQ(OXLISim_SetRemoteDevices(record.Get(), 0), OXLI_RESULT_OK);
    EXPECT_EQ(Search(OXLI_SEARCH_FULL, devices), OXLI_RESULT_FOUND);
    EXPECT_TRUE(devices == remote);
    EXPECT_EQ(Search(OXLI_SEARCH_QUICK, devices), OXLI_RESULT_OK);
    EXPECT_TRUE(devices == remote);
    EXPECT_EQ(OXLISim_GetCallCount("OXLI_FindRemoteDevices"), 3u);
}

TEST_F(ClientLibrary, ScheduledDeviceListAppearsOnTheThirdSearch)
{
    Holder record(List({Bytes({7})}));
    ASSERT_EQ(OXLISim_SetRemoteDevices(record.Get(), 2), OXLI_RESULT_OK);
    Variant devices;
    for (const std::int32_t result : {OXLI_RESULT_OK, OXLI_RESULT_OK, OXLI_RESULT_FOUND})
    {
        EXPECT_EQ(Search(OXLI_SEARCH_FULL, devices), result);
    }
    EXPECT_EQ(devices.GetListItemCount(), 1u);
}

TEST_F(ClientLibrary, ConnectionIsToOneKnownDevice)
{
    Holder remote(Bytes({9, 9}));
    EXPECT_EQ(OXLI_ConnectDevice(remote.Get(), &Receiver::Receive, &mReceiver),
              OXLI_RESULT_NO_SUCH_DEVICE);
    const OXLI_Record device = Attached();
    EXPECT_EQ(OXLI_IsDeviceConnected(&device), OXLI_RESULT_NOT_CONNECTED);
    Connect();
    EXPECT_EQ(OXLI_IsDeviceConnected(&device), OXLI_RESULT_OK);
    EXPECT_EQ(OXLI_IsDeviceConnected(remote.Get()), OXLI_RESULT_NOT_CONNECTED);
    EXPECT_EQ(OXLI_DisconnectDevice(remote.Get()), OXLI_RESULT_NOT_CONNECTED);
    EXPECT_EQ(OXLI_DisconnectDevice(&device), OXLI_RESULT_OK);
    EXPECT_EQ(OXLI_IsDeviceConnected(&device), OXLI_RESULT_NOT_CONNECTED);
    Holder ranges(List({}));
    EXPECT_EQ(OXLI_RequestParamRanges(&device, ranges.Get()), OXLI_RESULT_NOT_CONNECTED);
}

TEST_F(ClientLibrary, RequestedValuesArriveThroughTheCallbackWithoutUnheldOnes)
{
    Connect();
    const OXLI_Record device = Attached();
    Holder preset(Values({{0, Bytes({'P', 'R'})}, {1, Bytes({1, 2, 3})}}));
    ASSERT_EQ(OXLI_SetParamValues(&device, preset.Get()), OXLI_RESULT_OK);
    Holder wanted(Descriptors({1, 57, 0}));
    ASSERT_EQ(OXLI_RequestParamValues(&device, wanted.Get()), OXLI_RESULT_OK);
    ASSERT_EQ(OXLISim_WaitUntilDelivered(5000), 0);

    const std::vector<Variant> lists = mReceiver.Lists();
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_TRUE(lists[0] == Values({{1, Bytes({1, 2, 3})}, {0, Bytes({'P', 'R'})}}));
    EXPECT_NE(mReceiver.mThreads[0], std::this_thread::get_id());
}

TEST_F(ClientLibrary, MalformedValueListChangesNothing)
{
    Connect();
    const OXLI_Record device = Attached();
    Holder bad(List({List({Bytes({5}), Int32(3), Variant()}), List({Bytes({6}), Int32(4)})}));
    EXPECT_EQ(OXLI_SetParamValues(&device, bad.Get()), OXLI_RESULT_BAD_ARGUMENT);
    Variant values;
    Platform::VariantSink sink(values);
    Holder wanted(Descriptors({3}));
    ASSERT_EQ(OXLI_GetParamValues(&device, wanted.Get(), sink.Get()), OXLI_RESULT_OK);
    EXPECT_EQ(values.GetListItemCount(), 0u);
}

TEST_F(ClientLibrary, VirtualParametersAnswerAndReadOnlyOnesRefuseWrites)
{
    Connect();
    const OXLI_Record device = Attached();
    Holder noSubKey{Variant()};
    auto read = [&](std::int32_t paramID, Variant& value)
    {
        const OXLI_ParamDescriptor descriptor{paramID, noSubKey.mView};
        Platform::VariantSink sink(value);
        return OXLI_GetParamValue(&device, &descriptor, sink.Get());
    };
    Variant value;
    for (const auto& [paramID, text] : {std::pair{-9, "Korvane"}, {-10, "Tarn 61 Vidida Editor"}})
    {
        ASSERT_EQ(read(paramID, value), OXLI_RESULT_OK);
        EXPECT_STREQ(value.GetString(), text);
    }
    ASSERT_EQ(read(-2, value), OXLI_RESULT_OK);
    EXPECT_EQ(value.GetType(), Variant::TagUInt8);
    EXPECT_TRUE(value.ToBool());
    EXPECT_EQ(read(12, value), OXLI_RESULT_NO_SUCH_PARAMETER);

    Variant status;
    const std::int64_t seven = 7;
    status.Set(Variant::TagInt64, &seven, 8);
    Holder statusRecord(status);
    const OXLI_ParamDescriptor statusID{-8, noSubKey.mView};
    EXPECT_EQ(OXLI_SetParamValue(&device, &statusID, statusRecord.Get()), OXLI_RESULT_OK);
    ASSERT_EQ(read(-8, value), OXLI_RESULT_OK);
    EXPECT_EQ(value.ToInt64(), 7);
    const OXLI_ParamDescriptor makerID{-9, noSubKey.mView};
    EXPECT_EQ(OXLI_SetParamValue(&device, &makerID, statusRecord.Get()),
              OXLI_RESULT_NO_SUCH_PARAMETER);
}

TEST_F(ClientLibrary, RangesAreTheRunsOfHeldParameters)
{
    Connect();
    const OXLI_Record device = Attached();
    Holder preset(Values({{0, Bytes({1})}, {1, Bytes({1})}, {2, Bytes({1})}, {5, Bytes({1})}}));
    ASSERT_EQ(OXLI_SetParamValues(&device, preset.Get()), OXLI_RESULT_OK);
    Variant ranges;
    Platform::VariantSink sink(ranges);
    ASSERT_EQ(OXLI_GetParamRanges(&device, 0, sink.Get()), OXLI_RESULT_OK);
    EXPECT_TRUE(ranges == List({List({Int32(0), Int32(3)}), List({Int32(5), Int32(1)})}));
}

TEST_F(ClientLibrary, FailureSetForAnEntryPointIsReturnedAndCounted)
{
    ASSERT_EQ(OXLISim_SetFailure("OXLI_ConnectDevice", -5), OXLI_RESULT_OK);
    const OXLI_Record device = Attached();
    EXPECT_EQ(OXLI_ConnectDevice(&device, &Receiver::Receive, &mReceiver), -5);
    EXPECT_EQ(OXLISim_GetCallCount("OXLI_ConnectDevice"), 1u);
    ASSERT_EQ(OXLISim_SetFailure("OXLI_ConnectDevice", 0), OXLI_RESULT_OK);
    Connect();
    EXPECT_EQ(OXLISim_SetFailure(nullptr, -5), OXLI_RESULT_BAD_ARGUMENT);
}

TEST_F(ClientLibrary, PushedListsArriveInOrderOnTheLibraryThread)
{
    Connect();
    constexpr int kLists = 400;
    for (int index = 0; index < kLists; ++index)
    {
        Holder list(Values({{index % 131, Int32(index)}}));
        ASSERT_EQ(OXLISim_PushValues(list.Get()), OXLI_RESULT_OK);
    }
    ASSERT_EQ(OXLISim_WaitUntilDelivered(10000), 0);
    const std::vector<Variant> lists = mReceiver.Lists();
    ASSERT_EQ(lists.size(), static_cast<std::size_t>(kLists));
    for (int index = 0; index < kLists; ++index)
    {
        EXPECT_TRUE(lists[index] == Values({{index % 131, Int32(index)}})) << index;
    }
    for (const std::thread::id thread : mReceiver.mThreads)
    {
        EXPECT_NE(thread, std::this_thread::get_id());
    }
}

TEST_F(ClientLibrary, NoCallbackRunsOnceDisconnectHasReturned)
{
    struct Slow
    {
        static std::int32_t Receive(void* context, std::int32_t, const OXLI_Record*)
        {
            auto* self = static_cast<Slow*>(context);
            if (self->mDisconnected.load())
            {
                self->mLate.fetch_add(1);
            }
            self->mCalls.fetch_add(1);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            return 0;
        }
        std::atomic<bool> mDisconnected{false};
        std::atomic<int> mLate{0};
        std::atomic<int> mCalls{0};
    } slow;
    const OXLI_Record device = Attached();
    for (int round = 0; round < 20; ++round)
    {
        slow.mDisconnected = false;
        const int before = slow.mCalls.load();
        ASSERT_EQ(OXLI_ConnectDevice(&device, &Slow::Receive, &slow), OXLI_RESULT_OK);
        for (int index = 0; index < 20; ++index)
        {
            Holder list(Values({{index, Int32(round)}}));
            ASSERT_EQ(OXLISim_PushValues(list.Get()), OXLI_RESULT_OK);
        }
        while (slow.mCalls.load() == before)
        {
            std::this_thread::yield();
        }
        ASSERT_EQ(OXLI_DisconnectDevice(&device), OXLI_RESULT_OK);
        slow.mDisconnected = true;
        EXPECT_EQ(OXLISim_WaitUntilDelivered(5000), 0);
    }
    EXPECT_EQ(slow.mLate.load(), 0);
    Holder list(Values({{0, Int32(0)}}));
    EXPECT_EQ(OXLISim_PushValues(list.Get()), OXLI_RESULT_NOT_CONNECTED);
}
