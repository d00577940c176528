// LAboutDlg: the About box. Its label "labelProduct" shows the product line (maker, product, the
// word "Version" from the application strings and the version number, joined by single blanks)
// and "labelCopyright" the copyright notice, both from the program's compiled-in version block;
// "buttonOK" closes it. User-interface thread only.
#pragma once

#include "QZFramework/Controls/Dialog.h"

namespace QZ
{

class Version;

class LAboutDlg : public LDialog
{
public:
    using LDialog::LDialog;

    // "<company> <product> <version word> <version>": always three blanks, even around empty
    // parts.
    [[nodiscard]] static WideString BuildProductLine(const Version& version,
                                                     const WideString& versionWord);

    // The dialog's own, then sets both texts; a missing label throws the runtime error
    // "Null Pointer : Could not find child <name>". The result of setting the copyright (0 when
    // the text changed, 1 when it was already shown).
    QZRESULT Initialize() override;
};

} // namespace QZ
