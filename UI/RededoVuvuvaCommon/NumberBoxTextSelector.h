// A number with a text looked up for it: the number lives in the child "numericUpDown" and every
// change of it shows entry n of the string table of the child "label" (the controller names of
// control-change numbers). A number beyond the table leaves the text as it was. The owner gives
// the number its range. User-interface thread only.
#pragma once

#include "QZFramework/Controls/Panel.h"

namespace QZ
{

class LLabel;
class LNumericUpDown;

class LNumberBoxTextSelector : public LPanel
{
public:
    LNumberBoxTextSelector(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LNumberBoxTextSelector() override;

    // Finds the two children (a missing one throws the runtime error "Null Pointer"), follows the
    // number's changes (a refused subscription throws FailedResultException) and shows its text.
    QZRESULT Initialize() override;
    QZRESULT ReleaseInternalReferences() override;
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;

    void UpdateText();

private:
    QZRESULT OnNumberChanged(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification);

    RCPtr<LNotificationHandler<LNumberBoxTextSelector>> mHandler;
    RCPtr<LLabel> mLabel;
    RCPtr<LNumericUpDown> mNumericUpDown;
};

} // namespace QZ
