// Packing and unpacking a whole preset: 131 byte-string values in one list, sized as the
// device model's controls make them.
#include "QZFramework/Utilities/Storage/Variant.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace
{

constexpr std::uint32_t PresetValueCount = 131;

std::vector<QZ::Variant> MakePresetValues()
{
    const std::uint32_t sizes[] = {6, 9, 5, 6, 14, 17, 15};
    std::vector<QZ::Variant> values(PresetValueCount);
    std::vector<unsigned char> bytes(17);
    for (std::uint32_t i = 0; i < PresetValueCount; ++i)
    {
        for (std::size_t b = 0; b < bytes.size(); ++b)
        {
            bytes[b] = static_cast<unsigned char>(i + b);
        }
        values[i].SetBytes(bytes.data(), sizes[i % std::size(sizes)]);
    }
    return values;
}

void PackAndUnpackPresetList(benchmark::State& state)
{
    const std::vector<QZ::Variant> values = MakePresetValues();
    std::vector<unsigned char> buffer(4096);
    for (auto _ : state)
    {
        QZ::Variant list;
        list.SetList(values.data(), PresetValueCount);
        const QZ::QZRESULT length =
            QZ::PackVariant(list, buffer.data(), static_cast<std::uint32_t>(buffer.size()));
        QZ::Variant back;
        const QZ::QZRESULT unpacked =
            QZ::UnpackVariant(back, buffer.data(), static_cast<std::uint32_t>(length));
        benchmark::DoNotOptimize(unpacked);
        QZ::Variant item;
        for (std::uint32_t i = 0; i < PresetValueCount; ++i)
        {
            benchmark::DoNotOptimize(back.GetListItem(i, item));
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(PackAndUnpackPresetList);

} // namespace
