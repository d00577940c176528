// The emulator program's refusal of option values it cannot use: it names the option and the
// value, and ends with exit code 2 before it touches any MIDI service.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace
{

struct Outcome
{
    int exitCode = -1;
    std::string errors;
};

Outcome RunEmulator(const std::string& arguments)
{
    Outcome outcome;
    const std::string command = std::string(TARN61_EMULATOR_PROGRAM) + " " + arguments + " 2>&1";
    FILE* output = popen(command.c_str(), "r");
    if (output == nullptr)
    {
        return outcome;
    }
    std::array<char, 256> chunk{};
    while (std::fgets(chunk.data(), chunk.size(), output) != nullptr)
    {
        outcome.errors += chunk.data();
    }
    const int status = pclose(output);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

TEST(Tarn61EmulatorProgram, NumberOptionsRefuseWhatIsNotAWholeNumberInRange)
{
    const char* refused[][2] = {
        {"--delay-ms", "abc"},         {"--delay-ms", "''"},
        {"--delay-ms", "-1"},          {"--length-change", "-9223372036854775808"},
        {"--length-change", "-65537"}, {"--piece-size", "99999999999999999999"},
        {"--piece-size", "12x"},       {"--piece-gap-ms", "' 5'"},
    };
    for (const auto& [option, value] : refused)
    {
        const Outcome outcome = RunEmulator(std::string(option) + " " + value);
        EXPECT_EQ(outcome.exitCode, 2) << option << " " << value;
        EXPECT_NE(outcome.errors.find(std::string(option) + " takes a whole number"),
                  std::string::npos)
            << outcome.errors;
    }
}

} // namespace
