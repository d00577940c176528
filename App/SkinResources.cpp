#include "App/SkinResources.h"

#include <future>
#include <iostream>
#include <system_error>
#include <utility>

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
    // The skins take the longest to read: a thread of their own reads them while this one reads
    // the string tables. The future's end waits for it on every way out.
    const QZ::LControlFactory& factory = *mFactory;
    const auto readSkins = [&factory, path = PathIn(folder, kSkins)]
    { return factory.ReadSkins(path); };
    std::future<QZ::LControlFactory::SkinDocument> skins;
    try
    {
        skins = std::async(std::launch::async, readSkins);
    }
    catch (const std::system_error&)
    {
        skins = std::async(std::launch::deferred, readSkins);
    }
    QZ::QZRESULT result = mFactory->LoadStringTables(PathIn(folder, kApplicationStrings),
                                                     PathIn(folder, kFrameworkStrings), language);
    QZ::LControlFactory::SkinDocument document = skins.get();
    if (QZ::Succeeded(result))
    {
        result = mFactory->UseSkins(std::move(document));
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
