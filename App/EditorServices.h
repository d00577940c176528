// The application's services for the parts below the editor, installed for the program's run:
// texts from the application-wide string table the control factory loaded, and message boxes
// shown by the living application object (none while there is no application object).
#pragma once

#include "UI/DriverCommon/AppServices.h"

class EditorServices : public IAppServices
{
public:
    EditorServices() { SetAppServices(this); }
    ~EditorServices() override { SetAppServices(nullptr); }
    EditorServices(const EditorServices&) = delete;
    EditorServices& operator=(const EditorServices&) = delete;

    bool LookupAppString(const char16_t* key, QZ::WideString& text) const override;
    std::uint32_t ShowMessageBox(const QZ::WideString& text, const QZ::WideString& caption,
                                 std::uint32_t style) override;
};
