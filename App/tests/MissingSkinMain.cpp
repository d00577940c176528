// The program as it starts when a skin resource is missing from it: the control factory's
// loading fails the way it does for an absent embedded resource.
#include "App/tests/StartupOnlyLoop.h"
#include "QZFramework/Application/ControlResources.h"
#include "QZFramework/Application/FrameworkProgram.h"

#include <cstddef>
#include <span>

namespace
{

class MissingSkinResources : public QZ::IControlResources
{
public:
    QZ::QZRESULT LoadStringTablesAndSkins(const QZ::WideString&, std::uint32_t) override
    {
        return static_cast<QZ::QZRESULT>(0x80070716u);
    }
    bool LookupFrameworkString(const char16_t*, QZ::WideString&) const override { return false; }
};

} // namespace

int main(int argc, char** argv)
{
    MissingSkinResources resources;
    StartupOnlyLoop loop;
    QZ::FrameworkProgram program(resources, loop);
    return program.Main(std::span<const char* const>(argv, static_cast<std::size_t>(argc)));
}
