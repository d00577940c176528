// The program's entry: the start-up sequence on the process's arguments.
#include "App/SkinResources.h"
#include "App/EditorLoop.h"
#include "QZFramework/Application/FrameworkProgram.h"

#include <cstddef>
#include <span>

int main(int argc, char** argv)
{
    SkinResources resources;
    EditorLoop loop;
    QZ::FrameworkProgram program(resources, loop);
    return program.Main(std::span<const char* const>(argv, static_cast<std::size_t>(argc)));
}
