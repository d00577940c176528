#include "App/SkinResources.h"

#include <iostream>

namespace
{

struct Sources
{
    const char16_t* embedded;
    const char16_t* file;
};

constexpr Sources kApplicationStrings{u"::APP_STRINGS", u"StringTables.xml"};
constexpr Sources kFrameworkStrings{u"::FRAMEWORK_STRINGS", u"FrameworkStrings.xml"};
constexpr Sources kSkins{u"::APP_SKINS", u"Skins.xml"};

QZ::WideString PathIn(const QZ::WideString& folder, const Sources& sources)
{
    return folder == QZ::WideString(u"::")
               ? QZ::WideString(sources.embedded)
               : folder + QZ::WideString(u"/") + QZ::WideString(sources.file);
}

} // namespace

SkinResources::SkinResources()
    : mFactory(new QZ::LControlFactory(QZ::WideString(u"Tarn 61 Vidida Editor"),
                                       QZ::WideString(u"RededoVuvuva")))
{
}

QZ::QZRESULT SkinResources::LoadStringTablesAndSkins(const QZ::WideString& folder,
                                                     std::uint32_t language)
{
    mFactory->SetBaseFolder(folder);
    QZ::QZRESULT result = mFactory->LoadStringTables(PathIn(folder, kApplicationStrings),
                                                     PathIn(folder, kFrameworkStrings), language);
    if (QZ::Succeeded(result))
    {
        result = mFactory->LoadSkins(PathIn(folder, kSkins));
    }
    if (QZ::Failed(result))
    {
        std::cerr << mFactory->GetLastError() << std::endl;
    }
    return result;
}

bool SkinResources::LookupFrameworkString(const char16_t* key, QZ::WideString& text) const
{
    const QZ::RCPtr<QZ::LStringTable> table =
        mFactory->FindStringTable(QZ::WideString(QZ::LControlFactory::kFrameworkTableID));
    return table && table->Lookup(key, text);
}
