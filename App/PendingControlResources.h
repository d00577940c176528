// The control factory's loading as the program has it today: there are no string tables or
// skins to load yet, so loading succeeds with nothing loaded and every framework text is the
// built-in English one. The control factory takes this place once it exists.
#pragma once

#include "QZFramework/Application/ControlResources.h"

class PendingControlResources : public QZ::IControlResources
{
public:
    QZ::QZRESULT LoadStringTablesAndSkins(const QZ::WideString& folder,
                                          std::uint32_t language) override;
    bool LookupFrameworkString(const char16_t* key, QZ::WideString& text) const override;
};
