// The editor's own control classes as the skins name them ("RededoVuvuva.<name>"), each with the
// function that builds it; registered at start-up after the framework's classes.
//
// A class whose panel is not built yet builds a plain panel, so the editor's windows open whole
// from the skin; its row names the class that replaces it.
#pragma once

#include "QZFramework/ControlBase/ControlFactory.h"

#include <span>

struct EditorControl
{
    const char16_t* className;
    QZ::LControlFactory::CreateFunction create;
};

[[nodiscard]] std::span<const EditorControl> GetEditorControls();

// Registers every row in table order.
void RegisterEditorControls(QZ::LControlFactory& factory);
