// The program's entry: the start-up sequence on the process's arguments, with the editor's own
// control classes and services.
#include "App/EditorControls.h"
#include "App/EditorLoop.h"
#include "App/EditorServices.h"
#include "App/SkinResources.h"
#include "Platform/Signals/TerminationSignals.h"
#include "QZFramework/Application/Application.h"
#include "QZFramework/Application/FrameworkProgram.h"

#include <cstddef>
#include <memory>
#include <span>

namespace
{

int RunEditor(int argc, char** argv)
{
    SkinResources resources;
    EditorLoop loop;
    EditorServices services;
    QZ::FrameworkProgram program(resources, loop,
                                 [](const QZ::ApplicationStartup& startup)
                                 {
                                     auto application = std::make_unique<LApplication>(startup);
                                     application->SetControlRegistrar(&RegisterEditorControls);
                                     return application;
                                 });
    return program.Main(std::span<const char* const>(argv, static_cast<std::size_t>(argc)));
}

} // namespace

int main(int argc, char** argv)
{
    const int code = RunEditor(argc, argv);
    // Everything the program made is gone: an end signal has nothing left to force.
    QZ::TerminationSignals::Disarm();
    return code;
}
