#include "QZFramework/Controls/ComboBox.h"
#include "QZFramework/Controls/NumericUpDown.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "UI/RededoVuvuvaCommon/MidiNoteSelector.h"
#include "UI/TarnSeriesCommon/NoteModeEditPanel.h"
#include "UI/TarnSeriesCommon/tests/ByteLists.h"
#include "UI/TarnSeriesCommon/tests/ShippedSkinFixture.h"

#include <functional>
#include <string>
#include <vector>

namespace QZ
{
namespace
{

const std::u16string kEditorPath =
    u"mainControl/viewDevice/xyPadEditPanel/viewTabControl/pageHolder/noteModePage";

// What the editor shows: the type and scale indices, the eight notes, how many note selectors
// show and the captions of the first and the last shown note.
struct Shown
{
    int type;
    int scale;
    std::vector<int> notes;
    int showing;
    std::string first;
    std::string last;

    bool operator==(const Shown&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Shown& shown)
{
    out << "type " << shown.type << " scale " << shown.scale << " notes";
    for (const int note : shown.notes)
    {
        out << ' ' << note;
    }
    return out << " showing " << shown.showing << ' ' << shown.first << '/' << shown.last;
}

class NoteModeEditor : public ShippedSkinFixture
{
protected:
    void SetUp() override
    {
        Register<LNoteModeEditPanel>(u"RededoVuvuva.MainControl.EditPanel.XYPadNotes");
        Register<LMidiNoteSelector>(u"RededoVuvuva.Control.NoteSelector");
        mEditor = RCPtr<LNoteModeEditPanel>::DynamicCastFrom(Build(kEditorPath));
        ASSERT_TRUE(mEditor);
        mReports->Subscribe(RCPtr<LNotificationDistributor>(mEditor.Get()), NID_PARAMETERS_CHANGED,
                            0);
    }
    void TearDown() override { mReports->UnsubscribeAll(); }

    RCPtr<LControl> Note(int n) const
    {
        return Descend(RCPtr<LControl>(mEditor.Get()), u"note" + Digit(n));
    }
    RCPtr<LNumericUpDown> UpDown(int n) const
    {
        return At<LNumericUpDown>(Note(n), u"noteSelector/numericUpDown");
    }
    RCPtr<LComboBox> List(const std::u16string& selector) const
    {
        return At<LComboBox>(RCPtr<LControl>(mEditor.Get()), selector + u"/comboBox");
    }
    void SetNote(int n, int note) const
    {
        const RCPtr<LNumericUpDown> upDown = UpDown(n);
        upDown->SetValue(upDown->ValueToPosition(note));
    }
    std::string Caption(int n) const { return Text(Note(n), u"controlNameLabel"); }
    Shown Show() const
    {
        Shown shown{List(u"noteModeType")->GetSelectedIndex(),
                    List(u"noteScaleType")->GetSelectedIndex(),
                    {},
                    0,
                    Caption(1),
                    ""};
        for (int n = 1; n <= 8; ++n)
        {
            const RCPtr<LNumericUpDown> upDown = UpDown(n);
            shown.notes.push_back(static_cast<int>(upDown->PositionToValue(upDown->GetValue())));
            if (Note(n)->IsShowing(false))
            {
                shown.showing = n;
                shown.last = Caption(n);
            }
        }
        return shown;
    }
    static std::u16string Digit(int n)
    {
        return std::u16string(1, static_cast<char16_t>(u'0' + n));
    }

    RCPtr<LNoteModeEditPanel> mEditor;
    RCPtr<CountingClient> mReports{new CountingClient()};
};

// Every value shows without a report: the count (clamped into 2 to 8), the notes in order with
// the last one at byte 2, the scale they form, and reads back as the editor holds it.
TEST_F(NoteModeEditor, FillingShowsTheValueSilentlyAndReadsItBack)
{
    struct Case
    {
        std::vector<int> value;
        Shown shown;
        std::vector<int> readBack; // none: the value as given
    };
    const std::vector<Case> cases{
        {{2, 48, 72, 0, 0, 0, 0, 0, 0},
         {0, 0, {48, 72, 0, 0, 0, 0, 0, 0}, 2, "FIRST", "LAST"}, {}},
        {{4, 60, 67, 62, 64, 0, 0, 0, 0},
         {2, 0, {60, 62, 64, 67, 0, 0, 0, 0}, 4, "FIRST", "LAST"}, {}},
        {{5, 60, 67, 62, 64, 65, 69, 71, 72},
         {3, 1, {60, 62, 64, 65, 67, 69, 71, 72}, 5, "KEY", "LAST"}, {}},
        // The hidden eighth note breaks the scale.
        {{5, 60, 67, 62, 64, 65, 69, 71, 73},
         {3, 0, {60, 62, 64, 65, 67, 69, 71, 73}, 5, "FIRST", "LAST"}, {}},
        {{8, 62, 74, 64, 65, 67, 69, 71, 72},
         {6, 7, {62, 64, 65, 67, 69, 71, 72, 74}, 8, "KEY", "LAST"}, {}},
        {{3, 0x90, 200, 5, 6, 7, 8, 9, 10},
         {1, 0, {0, 5, 0, 6, 7, 8, 9, 10}, 3, "FIRST", "LAST"},
         {3, 0, 0, 5, 6, 7, 8, 9, 10}},
        // Counts outside 2 to 8 show as the nearest count and are never read back as another;
        // nothing of the value shown before stays in the hidden notes.
        {{1, 40, 50, 0, 0, 0, 0, 0, 0},
         {0, 0, {40, 50, 0, 0, 0, 0, 0, 0}, 2, "FIRST", "LAST"},
         {2, 40, 50, 0, 0, 0, 0, 0, 0}},
        {{-3, 40, 50, 0, 0, 0, 0, 0, 0},
         {0, 0, {40, 50, 0, 0, 0, 0, 0, 0}, 2, "FIRST", "LAST"},
         {2, 40, 50, 0, 0, 0, 0, 0, 0}},
        // A range keeps the notes stored beyond it.
        {{2, 36, 48, 62, 64, 65, 67, 69, 71},
         {0, 0, {36, 48, 62, 64, 65, 67, 69, 71}, 2, "FIRST", "LAST"}, {}},
        // A scale held at the top note is still that scale.
        {{8, 120, 127, 122, 124, 125, 127, 127, 127},
         {6, 1, {120, 122, 124, 125, 127, 127, 127, 127}, 8, "KEY", "LAST"}, {}},
        {{9, 60, 67, 61, 62, 63, 64, 65, 66},
         {6, 10, {60, 61, 62, 63, 64, 65, 66, 67}, 8, "KEY", "LAST"},
         {8, 60, 67, 61, 62, 63, 64, 65, 66}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(::testing::PrintToString(c.value));
        EXPECT_EQ(mEditor->SetParamValues(BytesOf(c.value)), S_OK);
        EXPECT_EQ(Show(), c.shown);
        EXPECT_EQ(IntsOf(mEditor->GetParamValues()), c.readBack.empty() ? c.value : c.readBack);
    }
    EXPECT_EQ(mReports->count, 0);
    EXPECT_EQ(mEditor->SetParamValues(BytesOf({2, 48, 72, 0, 0, 0, 0, 0})), E_INVALIDARG);
    EXPECT_EQ(IntsOf(mEditor->GetParamValues()),
              (std::vector<int>{8, 60, 67, 61, 62, 63, 64, 65, 66}));
}

// Each change of the user is reported once, after the scale has moved every note it moves.
TEST_F(NoteModeEditor, EachUserChangeReportsOnceWithItsWholeEffect)
{
    struct Case
    {
        const char* what;
        std::vector<int> start;
        std::function<void()> change;
        Shown shown;
        std::vector<int> readBack;
    };
    const auto choose = [this](const char16_t* selector, int index)
    { return [this, selector, index] { List(selector)->SetSelectedIndex(index); }; };
    const auto note = [this](int n, int value) { return [this, n, value] { SetNote(n, value); }; };
    const std::vector<Case> cases{
        {"chromatic from 60",
         {4, 60, 64, 62, 63, 0, 0, 0, 0},
         choose(u"noteScaleType", 10),
         {2, 10, {60, 61, 62, 63, 64, 65, 66, 67}, 4, "KEY", "LAST"},
         {4, 60, 63, 61, 62, 64, 65, 66, 67}},
        {"major from 120 stays in range",
         {8, 120, 0, 0, 0, 0, 0, 0, 0},
         choose(u"noteScaleType", 1),
         {6, 1, {120, 122, 124, 125, 127, 127, 127, 127}, 8, "KEY", "LAST"},
         {8, 120, 127, 122, 124, 125, 127, 127, 127}},
        {"a new key moves the minor scale",
         {5, 60, 67, 62, 63, 65, 68, 70, 72},
         note(1, 57),
         {3, 2, {57, 59, 60, 62, 64, 65, 67, 69}, 5, "KEY", "LAST"},
         {5, 57, 64, 59, 60, 62, 65, 67, 69}},
        {"another note leaves the scale",
         {5, 60, 67, 62, 63, 65, 68, 70, 72},
         note(3, 64),
         {3, 0, {60, 62, 64, 65, 67, 68, 70, 72}, 5, "FIRST", "LAST"},
         {5, 60, 67, 62, 64, 65, 68, 70, 72}},
        {"a range ignores the scale",
         {2, 48, 72, 0, 0, 0, 0, 0, 0},
         choose(u"noteScaleType", 1),
         {0, 1, {48, 72, 0, 0, 0, 0, 0, 0}, 2, "FIRST", "LAST"},
         {2, 48, 72, 0, 0, 0, 0, 0, 0}},
        {"more notes show the values they held",
         {3, 60, 64, 62, 65, 67, 0, 0, 0},
         choose(u"noteModeType", 3),
         {3, 0, {60, 62, 64, 65, 67, 0, 0, 0}, 5, "FIRST", "LAST"},
         {5, 60, 67, 62, 64, 65, 0, 0, 0}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(mEditor->SetParamValues(BytesOf(c.start)), S_OK);
        mReports->count = 0;
        c.change();
        EXPECT_EQ(mReports->count, 1);
        EXPECT_EQ(Show(), c.shown);
        EXPECT_EQ(IntsOf(mEditor->GetParamValues()), c.readBack);
    }
}

} // namespace
} // namespace QZ
