#include "App/EditorServices.h"

#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/ControlFactory.h"

bool EditorServices::LookupAppString(const char16_t* key, QZ::WideString& text) const
{
    const QZ::LApplicationBase* application = QZ::LApplicationBase::GetApplication();
    const QZ::RCPtr<QZ::LControlFactory> factory =
        application != nullptr ? application->GetControlFactory() : nullptr;
    QZ::RCPtr<QZ::LStringTable> table;
    return factory && factory->GetAppStringTable(table) && table->Lookup(key, text);
}

std::uint32_t EditorServices::ShowMessageBox(const QZ::WideString& text,
                                             const QZ::WideString& caption, std::uint32_t style)
{
    const QZ::LApplicationBase* application = QZ::LApplicationBase::GetApplication();
    return application != nullptr
               ? static_cast<std::uint32_t>(application->ShowMessageBox(text, caption, style))
               : 0;
}
