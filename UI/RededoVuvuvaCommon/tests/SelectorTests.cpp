#include "QZFramework/Controls/NumericUpDown.h"
#include "UI/RededoVuvuvaCommon/MidiNoteSelector.h"
#include "UI/RededoVuvuvaCommon/NumberBoxTextSelector.h"
#include "UI/TarnSeriesCommon/tests/ShippedSkinFixture.h"

#include <string>
#include <vector>

namespace QZ
{
namespace
{

const std::u16string kNotePath = u"mainControl/viewDevice/buttonEditPanel/viewTabControl/"
                                 u"pageHolder/midiPage/tabControl/pageHolder/notePage/note/"
                                 u"noteSelector";
const std::u16string kZoneNotePath =
    u"mainControl/viewDevice/zoneEditPanel/startEndNoteSelector/startNote/noteSelector";
const std::u16string kNoteRowPath =
    u"mainControl/viewDevice/xyPadEditPanel/viewTabControl/pageHolder/noteModePage";
const std::u16string kCCPath = u"mainControl/viewDevice/knobEditPanel/moveableTypePanel/"
                               u"tabControl/pageHolder/ccAbsolutePage/cc/ccSelector";

class Selectors : public ShippedSkinFixture
{
protected:
    void SetUp() override
    {
        Register<LMidiNoteSelector>(u"RededoVuvuva.Control.NoteSelector");
        Register<LMidiNoteSelector>(u"RededoVuvuva.Control.ZoneNoteSelector");
        Register<LNumberBoxTextSelector>(u"RededoVuvuva.Control.CCSelector");
    }

    static void SetNumber(const RCPtr<LControl>& selector, double number)
    {
        const RCPtr<LNumericUpDown> upDown = At<LNumericUpDown>(selector, u"numericUpDown");
        ASSERT_TRUE(upDown);
        upDown->SetValue(upDown->ValueToPosition(number));
    }
};

// Both spellings of a note, from either end of the range; an owner's range beyond the tables
// leaves the last texts in place.
TEST_F(Selectors, NoteSelectorsSpellNoteAndOctave)
{
    struct Case
    {
        double note;
        const char* sharp;
        const char* sharpOctave;
        const char* flat;
        const char* flatOctave;
    };
    const std::vector<Case> cases{{0, "C", "(-1)", "C", "(1)"},   {60, "C", "(4)", "C", "(6)"},
                                  {61, "C#", "(4)", "Db", "(6)"}, {127, "G", "(9)", "G", "(11)"},
                                  {-1, "G", "(9)", "G", "(11)"},  {140, "G", "(9)", "G", "(11)"}};
    const RCPtr<LControl> sharp = Build(kNotePath);
    const RCPtr<LControl> flat = Build(kZoneNotePath);
    ASSERT_TRUE(RCPtr<LMidiNoteSelector>::DynamicCastFrom(sharp));
    ASSERT_TRUE(RCPtr<LMidiNoteSelector>::DynamicCastFrom(flat));
    EXPECT_EQ(Text(sharp, u"noteNameLabel") + Text(sharp, u"octaveNameLabel"), "C(-1)");
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.note);
        for (const RCPtr<LControl>& selector : {sharp, flat})
        {
            const RCPtr<LControl> upDown = Descend(selector, u"numericUpDown");
            if (c.note < 0 || c.note > 127)
            {
                upDown->SetValueRange(-1.0, 140.0, 0);
            }
            SetNumber(selector, c.note);
        }
        EXPECT_EQ(Text(sharp, u"noteNameLabel"), c.sharp);
        EXPECT_EQ(Text(sharp, u"octaveNameLabel"), c.sharpOctave);
        EXPECT_EQ(Text(flat, u"noteNameLabel"), c.flat);
        EXPECT_EQ(Text(flat, u"octaveNameLabel"), c.flatOctave);
    }
}

// Controller names, and the numbers beyond the table that keep the last name.
TEST_F(Selectors, CCSelectorNamesTheController)
{
    const RCPtr<LControl> selector = Build(kCCPath);
    ASSERT_TRUE(RCPtr<LNumberBoxTextSelector>::DynamicCastFrom(selector));
    EXPECT_EQ(Text(selector, u"label"), "Bank Select");
    Descend(selector, u"numericUpDown")->SetValueRange(-5.0, 200.0, 0);
    const std::vector<std::pair<double, const char*>> cases{
        {7, "Channel Volume"},    {3, "Controller 3"},        {119, "Controller 119"},
        {127, "Poly Mode On"},    {128, "Poly Mode On"},      {74, "Cutoff Frequency"},
        {-1, "Cutoff Frequency"}, {12, "Effects Controller1"}};
    for (const auto& [number, name] : cases)
    {
        SetNumber(selector, number);
        EXPECT_EQ(Text(selector, u"label"), name) << number;
    }
}

// A selector whose skin lacks a child fails its creation with a text naming the child.
TEST_F(Selectors, MissingChildFailsInitialize)
{
    const std::vector<std::pair<std::u16string, std::u16string>> cases{
        {kNotePath, u"octaveNameLabel"}, {kZoneNotePath, u"numericUpDown"}, {kCCPath, u"label"}};
    for (const auto& [path, missing] : cases)
    {
        const std::string expected = "Runtime Error : Null Pointer : Cannot find child: " +
                                     Narrow(WideString(missing.c_str()));
        const std::string text = BuildWithout(path, path, missing);
        EXPECT_EQ(text.rfind(expected, 0), 0u) << text;
    }
}

std::vector<double> Notes(std::int32_t scale, double start, std::int32_t count)
{
    Array<double> notes(3); // replaced, not appended to
    BuildScaleNotes(notes, scale, start, count);
    return {notes.GetData(), notes.GetData() + notes.GetCount()};
}

TEST(ScaleNotes, EachScaleRepeatsByOctave)
{
    EXPECT_EQ(Notes(0, 60, 8), (std::vector<double>{60, 62, 64, 65, 67, 69, 71, 72}));
    EXPECT_EQ(Notes(6, 60, 4), (std::vector<double>{60, 62, 64, 66}));
    EXPECT_EQ(Notes(7, 60, 4), (std::vector<double>{60, 62, 63, 65}));
    EXPECT_EQ(Notes(8, 120, 9), (std::vector<double>{120, 121, 123, 125, 126, 128, 130, 132, 133}));
    std::vector<double> chromatic;
    for (int note = 60; note <= 72; ++note)
    {
        chromatic.push_back(note);
    }
    EXPECT_EQ(Notes(9, 60, 13), chromatic);
    EXPECT_EQ(Notes(10, 60, 14),
              (std::vector<double>{60, 59, 58, 57, 56, 55, 54, 53, 52, 51, 50, 49, 72, 71}));
    EXPECT_TRUE(Notes(11, 60, 8).empty());
    EXPECT_TRUE(Notes(-1, 60, 8).empty());
    EXPECT_TRUE(Notes(0, 60, 0).empty());
}

// A row of note selectors follows the first one's scale, limited to the range, and is recognised
// as following it afterwards; an unknown scale changes nothing.
TEST_F(Selectors, RowOfNotesFollowsTheScale)
{
    const RCPtr<LControl> page = Build(kNoteRowPath);
    std::vector<RCPtr<LControl>> row;
    for (char16_t i = u'1'; i <= u'8'; ++i)
    {
        row.push_back(
            Descend(page, u"note" + std::u16string(1, i) + u"/noteSelector/numericUpDown"));
        ASSERT_TRUE(row.back());
    }
    const auto values = [&row]()
    {
        std::vector<double> out;
        for (const RCPtr<LControl>& control : row)
        {
            out.push_back(control->PositionToValue(control->GetValue()));
        }
        return out;
    };
    row[0]->SetValue(row[0]->ValueToPosition(120));
    EXPECT_EQ(ApplyScaleToControls(row, 11), S_OK);
    EXPECT_EQ(values(), (std::vector<double>{120, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(ControlsFollowScale(row, 0));

    EXPECT_EQ(ApplyScaleToControls(row, 0), S_OK);
    EXPECT_EQ(values(), (std::vector<double>{120, 122, 124, 125, 127, 127, 127, 127}));
    EXPECT_TRUE(ControlsFollowScale(row, 0));
    EXPECT_FALSE(ControlsFollowScale(row, 1));
    EXPECT_EQ(Text(RCPtr<LControl>(row[1]->GetParent()), u"noteNameLabel"), "D");

    row[5]->SetValue(row[5]->ValueToPosition(126));
    EXPECT_FALSE(ControlsFollowScale(row, 0));
    EXPECT_FALSE(ControlsFollowScale({}, 0));
    EXPECT_EQ(ApplyScaleToControls({RCPtr<LControl>()}, 0), S_OK);
}

} // namespace
} // namespace QZ
