#include "Platform/Shell/SpecialFolders.h"

#include "Platform/Shell/UserDirs.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include <pwd.h>
#include <unistd.h>

namespace QZ::Shell
{
namespace
{

// The variable's value when it is an absolute path.
std::optional<std::string> AbsoluteVariable(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/')
    {
        return std::nullopt;
    }
    return std::string(value);
}

// The XDG variable's folder, then the default under the home folder.
std::vector<std::string> BaseDirectoryCandidates(const char* variable, const char* homeDefault)
{
    std::vector<std::string> candidates;
    if (std::optional<std::string> folder = AbsoluteVariable(variable))
    {
        candidates.push_back(*folder);
    }
    const std::string home = GetHomeFolder();
    if (!home.empty())
    {
        candidates.push_back(home + homeDefault);
    }
    return candidates;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream stream(path, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

std::vector<std::string> DocumentsCandidates()
{
    std::vector<std::string> candidates;
    const std::string home = GetHomeFolder();
    for (const std::string& config : BaseDirectoryCandidates("XDG_CONFIG_HOME", "/.config"))
    {
        if (std::optional<std::string> folder =
                FindUserDir(ReadFile(config + "/user-dirs.dirs"), "XDG_DOCUMENTS_DIR", home))
        {
            candidates.push_back(*folder);
            break;
        }
    }
    if (!home.empty())
    {
        candidates.push_back(home + "/Documents");
    }
    return candidates;
}

} // namespace

std::vector<std::string> GetSpecialFolderCandidates(SpecialFolder folder)
{
    std::vector<std::string> candidates;
    switch (folder)
    {
    case SpecialFolder::SharedApplicationData:
        candidates = BaseDirectoryCandidates("XDG_DATA_HOME", "/.local/share");
        break;
    case SpecialFolder::LocalApplicationData:
        candidates = BaseDirectoryCandidates("XDG_CONFIG_HOME", "/.config");
        break;
    case SpecialFolder::Documents:
        candidates = DocumentsCandidates();
        break;
    }
    candidates.push_back(GetFallbackFolder());
    return candidates;
}

std::string GetFallbackFolder()
{
    const std::string temporary = AbsoluteVariable("TMPDIR").value_or("/tmp");
    return temporary + "/qz-user-" + std::to_string(::getuid());
}

std::string GetHomeFolder()
{
    if (std::optional<std::string> home = AbsoluteVariable("HOME"))
    {
        return *home;
    }
    const passwd* entry = ::getpwuid(::getuid());
    return entry != nullptr && entry->pw_dir != nullptr && entry->pw_dir[0] == '/'
               ? std::string(entry->pw_dir)
               : std::string();
}

std::optional<std::string> GetProgramPath()
{
    std::string buffer(256, '\0');
    for (;;)
    {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
        {
            return std::nullopt;
        }
        if (static_cast<std::size_t>(length) < buffer.size())
        {
            buffer.resize(static_cast<std::size_t>(length));
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace QZ::Shell
