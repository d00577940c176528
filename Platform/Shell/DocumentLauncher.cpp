#include "Platform/Shell/DocumentLauncher.h"

#include <chrono>
#include <thread>
#include <utility>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace QZ::Shell
{
namespace
{

DocumentOpener& Opener()
{
    static DocumentOpener opener;
    return opener;
}

bool OpenWithXdgOpen(const std::string& path)
{
    if (::access(path.c_str(), R_OK) != 0)
    {
        return false;
    }
    std::string program = "xdg-open";
    std::string argument = path;
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t child = 0;
    if (::posix_spawnp(&child, program.c_str(), nullptr, nullptr, argv, environ) != 0)
    {
        return false;
    }
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kOpenReportWaitMs);
    while (std::chrono::steady_clock::now() < deadline)
    {
        int status = 0;
        const pid_t ended = ::waitpid(child, &status, WNOHANG);
        if (ended == child)
        {
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
        if (ended < 0)
        {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // Still running with the application it started: it is reaped whenever it ends.
    std::thread(
        [child]
        {
            int status = 0;
            static_cast<void>(::waitpid(child, &status, 0));
        })
        .detach();
    return true;
}

} // namespace

bool OpenDocument(const std::string& path)
{
    return Opener() ? Opener()(path) : OpenWithXdgOpen(path);
}

void SetDocumentOpener(DocumentOpener opener)
{
    Opener() = std::move(opener);
}

} // namespace QZ::Shell
