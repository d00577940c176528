// A peer on the hand-over socket sends arbitrary bytes: a whole message, one without its
// terminating zero, or one cut off by the peer going away.
//
// The running instance takes exactly the text before the first zero of a message that ends in a
// zero and acknowledges it when its peer still waits for the answer; anything else, a whole
// message whose peer went away included, is dropped unacknowledged; and it goes on serving, so a
// well-formed hand-over after every input is delivered.
//
// Input: one byte whose bit 0 set cuts the message off after (second byte) bytes with the peer
// closing without a proper end; then the message's bytes.
#include "Platform/Instance/SingleInstance.h"
#include "Platform/Instance/tests/FreeFirstInstance.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace QZ;

namespace
{

constexpr const char* kName = "fuzz";
const std::string kMarker = "editor -marker";

void Fail(const char* what)
{
    std::fprintf(stderr, "InstanceMessageFuzzer: %s\n", what);
    std::abort();
}

// A listening first instance in a private folder, kept for the whole run, that takes the texts as
// soon as they are queued.
struct Rig
{
    Rig()
    {
        folder = std::filesystem::temp_directory_path() / ("imf-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        first = std::make_unique<FreeFirstInstance>(folder.string(), kName);
        if (!first->Start())
        {
            Fail("the rig cannot listen");
        }
    }

    std::filesystem::path folder;
    std::unique_ptr<FreeFirstInstance> first;
};

// Sends the bytes; with cut, closes without ending the stream properly. The answer byte, or -1.
int Send(const std::string& socketPath, const std::string& bytes, bool cut)
{
    const int connection = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketPath.copy(address.sun_path, sizeof(address.sun_path) - 1);
    if (::connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0)
    {
        Fail("cannot connect");
    }
    static_cast<void>(::send(connection, bytes.data(), bytes.size(), MSG_NOSIGNAL));
    int answer = -1;
    if (!cut)
    {
        ::shutdown(connection, SHUT_WR);
        pollfd entry{connection, POLLIN, 0};
        char byte = 0;
        if (::poll(&entry, 1, 5000) == 1 && ::recv(connection, &byte, 1, 0) == 1)
        {
            answer = byte;
        }
    }
    ::close(connection);
    return answer;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Rig* const rig = new Rig();
    if (size == 0)
    {
        return 0;
    }
    const bool cut = (data[0] & 1) != 0 && size > 1;
    std::string bytes(reinterpret_cast<const char*>(data) + (cut ? 2 : 1), size - (cut ? 2 : 1));
    if (cut)
    {
        bytes.resize(std::min<std::size_t>(bytes.size(), data[1]));
    }
    const bool whole = !bytes.empty() && bytes.back() == '\0';
    const int answer = Send(rig->first->GetSocketPath(), bytes, cut);
    if (!cut && (answer == 1) != whole)
    {
        Fail(whole ? "a whole message was not acknowledged" : "a broken message was acknowledged");
    }
    if (SingleInstance(rig->folder.string(), kName).HandOver(kMarker) != HandOverResult::Delivered)
    {
        Fail("the listener stopped serving");
    }
    std::vector<std::string> expected;
    if (whole && !cut)
    {
        expected.emplace_back(bytes.c_str());
    }
    expected.push_back(kMarker);
    if (rig->first->TakeTaken() != expected)
    {
        Fail("the taken texts differ from the whole messages answered");
    }
    return 0;
}
