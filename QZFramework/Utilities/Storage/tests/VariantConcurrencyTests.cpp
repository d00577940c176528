#include "QZFramework/Utilities/Storage/Variant.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>
#include <vector>

using QZ::Variant;

TEST(VariantConcurrency, ThreadsReadOneListSideBySide)
{
    constexpr std::uint32_t count = 64;
    std::vector<Variant> values(count);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        const std::vector<unsigned char> bytes(1 + i % 7, static_cast<unsigned char>(i));
        values[i].SetBytes(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    }
    Variant list;
    list.SetList(values.data(), count);

    auto readAll = [&](bool backwards, int& mismatches)
    {
        Variant item;
        for (int round = 0; round < 200; ++round)
        {
            for (std::uint32_t step = 0; step < count; ++step)
            {
                const std::uint32_t index = backwards ? count - 1 - step : step;
                if (list.GetListItem(index, item) != 0 || !(item == values[index]))
                {
                    ++mismatches;
                }
            }
        }
    };
    int forwardMismatches = 0;
    int backwardMismatches = 0;
    std::thread forward(readAll, false, std::ref(forwardMismatches));
    std::thread backward(readAll, true, std::ref(backwardMismatches));
    forward.join();
    backward.join();
    EXPECT_EQ(forwardMismatches, 0);
    EXPECT_EQ(backwardMismatches, 0);
}
