// The program's string tables and skins, loaded into the control factory that builds every
// control: from the resources embedded in the program ("::APP_STRINGS", "::FRAMEWORK_STRINGS",
// "::APP_SKINS") or from a folder holding StringTables.xml, FrameworkStrings.xml and Skins.xml.
#pragma once

#include "QZFramework/Application/ControlResources.h"
#include "QZFramework/ControlBase/ControlFactory.h"

class SkinResources : public QZ::IControlResources
{
public:
    SkinResources();

    QZ::QZRESULT LoadStringTablesAndSkins(const QZ::WideString& folder,
                                          std::uint32_t language) override;
    bool LookupFrameworkString(const char16_t* key, QZ::WideString& text) const override;
    [[nodiscard]] QZ::RCPtr<QZ::LControlFactory> GetControlFactory() const override
    {
        return mFactory;
    }

private:
    QZ::RCPtr<QZ::LControlFactory> mFactory;
};
