// The editor's own control classes as the skins name them ("RededoVuvuva.<name>"), each with the
// function that builds it; registered at start-up after the framework's classes.
//
// Classes that only hold and place their children (labelled selectors, the bank row, pages) build
// plain panels.
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
