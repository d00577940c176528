// The summary inside a drawn continuous control: the channel in "midiChannel" and, in
// "infoLabel", a two-line text of what the control sends ("CC:" over the number, "RPN:" or
// "NRPN:" over the parameter, or the kind). It keeps no state: the control's view hands it the
// 6-byte assignment whenever its value changes; missing children or a value of another length
// leave the texts as they were. User-interface thread only.
#pragma once

#include "QZFramework/Controls/Panel.h"
#include "QZFramework/Utilities/Storage/Array.h"
#include "UI/TarnSeriesCommon/AssignmentView.h"

namespace QZ
{

class LMoveableControlViewPanel : public LPanel, public IAssignmentView
{
public:
    using LPanel::LPanel;

    void SetParamValues(const Array<signed char>& values) override;
};

} // namespace QZ
