// The framework's control classes as the skins name them ("Framework.<name>"), each with the
// function that builds it. Several names share one class; the skin gives them different looks.
//
// The table is the single list of these names: a name is added by one row, which names the
// class it builds, so a row for a class that does not exist does not compile. The menu classes
// (popup menu, menu item, combo menu, main menu, checked combo box) and the value classes
// (slider, knob, combo slider, numeric up-down) join when they exist; until then the factory
// reports their skin controls as unknown classes and leaves them out.
#pragma once

#include "QZFramework/ControlBase/ControlFactory.h"

#include <functional>
#include <span>

namespace QZ
{

struct FrameworkControl
{
    const char16_t* className;
    LControlFactory::CreateFunction create;
    // The row's line in the table, named by the failure of its registration.
    int line;
};

[[nodiscard]] std::span<const FrameworkControl> GetFrameworkControls();

// Registers every row in table order through registerClass; the first negative result throws a
// FailedResultException naming the result and the row's line (the rows before it stay
// registered).
using RegisterClassFunction =
    std::function<QZRESULT(const WideString& className, LControlFactory::CreateFunction create)>;
void RegisterFrameworkControls(const RegisterClassFunction& registerClass);

} // namespace QZ
