#include "UI/RededoVuvuvaCommon/AboutDlg.h"

#include "QZFramework/Application/Version.h"
#include "QZFramework/Controls/Label.h"
#include "UI/TarnSeriesCommon/ControlUtilities.h"
#include "UI/TarnSeriesCommon/DeviceMessages.h"

#include <string>

namespace QZ
{
namespace
{

constexpr const char* kInitialize = "LAboutDlg::Initialize";

std::u16string Text(const WideString& text)
{
    return std::u16string(text.GetString(), static_cast<std::size_t>(text.GetLength()));
}

} // namespace

WideString LAboutDlg::BuildProductLine(const Version& version, const WideString& versionWord)
{
    const std::u16string line = Text(version.GetCompanyName()) + u" " +
                                Text(version.GetProductName()) + u" " + Text(versionWord) + u" " +
                                Text(version.GetProductVersion());
    return WideString(line.c_str());
}

QZRESULT LAboutDlg::Initialize()
{
    const QZRESULT result = LDialog::Initialize();
    if (Failed(result))
    {
        return result;
    }
    const RCPtr<LControl> self(this);
    const RCPtr<LLabel> product = RequireChild<LLabel>(self, {u"labelProduct"}, kInitialize,
                                                       "Could not find child labelProduct");
    const RCPtr<LLabel> copyright = RequireChild<LLabel>(self, {u"labelCopyright"}, kInitialize,
                                                         "Could not find child labelCopyright");
    const Version version;
    product->SetText(BuildProductLine(version, GetDeviceDialogString(kAppVersionWord)), true);
    return copyright->SetText(version.GetStringFileInfo("LegalCopyright"), true) ? S_OK : S_FALSE;
}

} // namespace QZ
