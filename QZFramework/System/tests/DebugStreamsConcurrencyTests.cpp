#include "QZFramework/System/DebugStreams.h"

#include "QZFramework/System/tests/DebugTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <thread>
#include <vector>

namespace QZ
{
namespace
{

constexpr int kThreads = 8;
constexpr int kLinesPerThread = 500;

std::string Line(int thread, int line)
{
    return "thread " + std::to_string(thread) + " line " + std::to_string(line) +
           std::string(static_cast<std::size_t>(line % 40), '.');
}

TEST(DebugStreamsFromThreads, EveryFlushedLineArrivesWhole)
{
    const StderrCapture capture;
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t)
    {
        writers.emplace_back(
            [t]
            {
                for (int i = 0; i < kLinesPerThread; ++i)
                {
                    if (i % 2 == 0)
                    {
                        DebugStreams::Narrow() << Line(t, i) << std::endl;
                    }
                    else
                    {
                        const std::string line = Line(t, i);
                        DebugStreams::Wide() << std::wstring(line.begin(), line.end()) << std::endl;
                    }
                }
            });
    }
    for (std::thread& writer : writers)
    {
        writer.join();
    }

    std::map<std::string, int> seen;
    std::istringstream lines(capture.GetText());
    for (std::string line; std::getline(lines, line);)
    {
        ++seen[line];
    }
    ASSERT_EQ(seen.size(), static_cast<std::size_t>(kThreads * kLinesPerThread));
    for (int t = 0; t < kThreads; ++t)
    {
        for (int i = 0; i < kLinesPerThread; ++i)
        {
            EXPECT_EQ(seen[Line(t, i)], 1) << Line(t, i);
        }
    }
}

} // namespace
} // namespace QZ
