// Reads arbitrary bytes as a packed record and as a list payload, walks every list it finds in
// both directions and checks that whatever is accepted packs back to a record that reads back
// the same.
#include "QZFramework/Utilities/Storage/Variant.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace
{

void Check(bool condition)
{
    if (!condition)
    {
        __builtin_trap();
    }
}

bool SameData(const QZ::Variant& a, const QZ::Variant& b)
{
    std::uint32_t sizeA = 0;
    std::uint32_t sizeB = 0;
    const void* dataA = a.GetData(sizeA);
    const void* dataB = b.GetData(sizeB);
    return a.GetType() == b.GetType() && sizeA == sizeB &&
           (sizeA == 0 || std::memcmp(dataA, dataB, sizeA) == 0);
}

void CheckRepacks(const QZ::Variant& value)
{
    std::uint32_t size = 0;
    value.GetData(size);
    std::vector<unsigned char> buffer(QZ::Variant::RecordHeadSize + size);
    const QZ::QZRESULT length =
        QZ::PackVariant(value, buffer.data(), static_cast<std::uint32_t>(buffer.size()));
    if (value.GetType() == QZ::Variant::TagBytes && size == 0)
    {
        return;
    }
    Check(length == static_cast<QZ::QZRESULT>(buffer.size()));
    QZ::Variant back;
    Check(QZ::UnpackVariant(back, buffer.data(), static_cast<std::uint32_t>(length)) == QZ::S_OK);
    Check(SameData(back, value));
}

void Exercise(const QZ::Variant& value)
{
    volatile bool asBool = value.ToBool();
    volatile std::int32_t asInt32 = value.ToInt32();
    volatile std::int64_t asInt64 = value.ToInt64();
    volatile float asFloat = value.ToFloat();
    volatile double asDouble = value.ToDouble();
    (void)asBool, (void)asInt32, (void)asInt64, (void)asFloat, (void)asDouble;
    std::uint32_t size = 0;
    value.GetElements(size);
    const auto* data = static_cast<const char*>(value.GetData(size));
    if (const char* text = value.GetString())
    {
        Check(text == data && size >= 1 && std::strlen(text) == size - 1);
    }
    CheckRepacks(value);

    const std::uint32_t count = value.GetListItemCount();
    std::vector<QZ::Variant> items(count);
    std::vector<std::int32_t> results(count);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        results[i] = value.GetListItem(i, items[i]);
        Check(results[i] == 0 || (results[i] == -1 && items[i].GetType() == QZ::Variant::TagEmpty));
        if (results[i] == 0)
        {
            Exercise(items[i]);
        }
    }
    QZ::Variant item;
    Check(value.GetListItem(count, item) == -1 && item.GetType() == QZ::Variant::TagEmpty);
    // Reading backwards must find the same items as reading forwards.
    for (std::uint32_t i = count; i-- > 0;)
    {
        Check(value.GetListItem(i, item) == results[i] && SameData(item, items[i]));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto length = static_cast<std::uint32_t>(size < 0xFFFFFFFFu ? size : 0xFFFFFFFFu);
    QZ::Variant value;
    if (QZ::UnpackVariant(value, data, length) == QZ::S_OK)
    {
        Exercise(value);
    }
    QZ::Variant list;
    list.Set(QZ::Variant::TagList, data, length);
    Exercise(list);
    return 0;
}
