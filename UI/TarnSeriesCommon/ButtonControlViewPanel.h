// The summary inside a drawn push button: the channel in "midiChannel" and, in "infoLabel", a
// short text of what the button sends (a kind over its number, or an MMC command's name). It keeps
// no state; the drawn button hands it the assignment block whenever its value changes. Missing
// children and a block that is not 10 bytes leave the texts as they were. User-interface thread
// only.
#pragma once

#include "QZFramework/Controls/Panel.h"
#include "UI/TarnSeriesCommon/ButtonAssignment.h"

#include <optional>

namespace QZ
{

class LButtonControlViewPanel : public LPanel
{
public:
    using LPanel::LPanel;

    virtual void ShowValues(const ButtonAssignmentBlock& values);

private:
    // The info text of the block, or nothing to leave the label as it is.
    [[nodiscard]] std::optional<WideString> GetSummary(const LControl& label,
                                                       const ButtonAssignmentBlock& values);
    // The label text of an MMC command, named after the button editor's MMC list entry.
    [[nodiscard]] std::optional<WideString> GetMMCSummary(const LControl& label,
                                                          std::uint8_t command);
};

} // namespace QZ
