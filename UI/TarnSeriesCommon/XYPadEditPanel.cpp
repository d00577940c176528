#include "UI/TarnSeriesCommon/XYPadEditPanel.h"

#include "QZFramework/Controls/TabControl.h"
#include "UI/TarnSeriesCommon/PadFamilyLayouts.h"

namespace QZ
{
namespace
{

constexpr auto kAssignmentSize = static_cast<std::int32_t>(kAxisAssignmentSize);
constexpr auto kNoteModeSize = static_cast<std::int32_t>(kAxisNoteModeSize);

// `count` bytes of the source from `first` on.
Array<signed char> Slice(const Array<signed char>& source, std::int32_t first, std::int32_t count)
{
    Array<signed char> slice(count);
    for (std::int32_t k = 0; k < count; ++k)
    {
        slice.GetAt(k) = source.GetAt(first + k);
    }
    return slice;
}

} // namespace

LXYPadEditPanel::LXYPadEditPanel(const RCPtr<LControl>& parent, const WideString& name,
                                 bool mostDerived)
    : LFamilyEditPanel<ITouchPadAxis>(parent, name, mostDerived, GetXYPadAxisLayout())
{
}

QZRESULT LXYPadEditPanel::ReleaseInternalReferences()
{
    mMidiPage = nullptr;
    mNoteModePage = nullptr;
    mMidi = nullptr;
    mNoteMode = nullptr;
    return LFamilyEditPanel<ITouchPadAxis>::ReleaseInternalReferences();
}

void LXYPadEditPanel::FindEditors()
{
    const std::string method = GetInitializeMethod();
    const auto tabs =
        RequireChild<LTabControl>(RCPtr<LControl>(this), {u"viewTabControl"}, method.c_str(),
                                  "Cannot find child: viewTabControl");
    const auto requirePage = [&](const char16_t* name, const char* detail,
                                 RCPtr<LControl>& page) -> IAssignmentEditor*
    {
        page = tabs->GetPage(WideString(name));
        auto* editor = dynamic_cast<IAssignmentEditor*>(page.Get());
        if (editor == nullptr)
        {
            QZ_THROW_RUNTIME(method, "Null Pointer", detail);
        }
        ListenForEdits(page, NID_PARAMETERS_CHANGED);
        return editor;
    };
    mMidi = requirePage(u"midiPage", mLayout.missingEditor, mMidiPage);
    mNoteMode = requirePage(u"noteModePage", "Cannot find child: viewTabControl: noteModePage",
                            mNoteModePage);
}

void LXYPadEditPanel::FillEditors(const Array<signed char>& value)
{
    static_cast<void>(mMidi->SetParamValues(Slice(value, 0, kAssignmentSize)));
    static_cast<void>(mNoteMode->SetParamValues(Slice(value, kAssignmentSize, kNoteModeSize)));
}

std::optional<Array<signed char>> LXYPadEditPanel::ReadEditors()
{
    const Array<signed char> assignment = mMidi->GetParamValues();
    const Array<signed char> noteMode = mNoteMode->GetParamValues();
    if (assignment.GetCount() != kAssignmentSize || noteMode.GetCount() != kNoteModeSize)
    {
        return std::nullopt;
    }
    Array<signed char> value(kAssignmentSize + kNoteModeSize);
    for (std::int32_t k = 0; k < value.GetCount(); ++k)
    {
        value.GetAt(k) =
            k < kAssignmentSize ? assignment.GetAt(k) : noteMode.GetAt(k - kAssignmentSize);
    }
    return value;
}

} // namespace QZ
