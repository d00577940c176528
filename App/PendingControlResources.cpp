#include "App/PendingControlResources.h"

QZ::QZRESULT PendingControlResources::LoadStringTablesAndSkins(const QZ::WideString&, std::uint32_t)
{
    return QZ::S_OK;
}

bool PendingControlResources::LookupFrameworkString(const char16_t*, QZ::WideString&) const
{
    return false;
}
