#include "App/EditorControls.h"

#include "QZFramework/Controls/Dialog.h"
#include "QZFramework/Controls/Panel.h"
#include "QZFramework/Controls/TabControl.h"
#include "UI/DeviceView/DeviceView.h"
#include "UI/DriverCommon/MainControl.h"
#include "UI/RededoVuvuvaCommon/AboutDlg.h"
#include "UI/RededoVuvuvaCommon/GetPresetFromMidiDeviceDlg.h"
#include "UI/RededoVuvuvaCommon/MidiNoteSelector.h"
#include "UI/RededoVuvuvaCommon/NumberBoxTextSelector.h"
#include "UI/RededoVuvuvaCommon/SendPresetToMidiDeviceDlg.h"
#include "UI/TarnSeriesCommon/ButtonControlEditPanel.h"
#include "UI/TarnSeriesCommon/ButtonControlViewPanel.h"
#include "UI/TarnSeriesCommon/ButtonEditPanel.h"
#include "UI/TarnSeriesCommon/ButtonGroupPanel.h"
#include "UI/TarnSeriesCommon/ButtonPanel.h"
#include "UI/TarnSeriesCommon/EncoderEditPanel.h"
#include "UI/TarnSeriesCommon/EncoderGroupPanel.h"
#include "UI/TarnSeriesCommon/EncoderPanel.h"
#include "UI/TarnSeriesCommon/FaderEditPanel.h"
#include "UI/TarnSeriesCommon/FaderGroupPanel.h"
#include "UI/TarnSeriesCommon/FaderPanel.h"
#include "UI/TarnSeriesCommon/GlobalSettingsDlg.h"
#include "UI/TarnSeriesCommon/KeybedZoneEditPanel.h"
#include "UI/TarnSeriesCommon/KeybedZoneGroupPanel.h"
#include "UI/TarnSeriesCommon/KeybedZonePanel.h"
#include "UI/TarnSeriesCommon/MIDIChannelViewPanel.h"
#include "UI/TarnSeriesCommon/MoveableControlEditPanel.h"
#include "UI/TarnSeriesCommon/MoveableControlViewPanel.h"
#include "UI/TarnSeriesCommon/NoteModeEditPanel.h"
#include "UI/TarnSeriesCommon/PadEditPanel.h"
#include "UI/TarnSeriesCommon/PadGroupPanel.h"
#include "UI/TarnSeriesCommon/PadPanel.h"
#include "UI/TarnSeriesCommon/PedalGroupPanel.h"
#include "UI/TarnSeriesCommon/PresetNamePanel.h"
#include "UI/TarnSeriesCommon/SustainPedalEditPanel.h"
#include "UI/TarnSeriesCommon/SustainPedalPanel.h"
#include "UI/TarnSeriesCommon/VolumePedalEditPanel.h"
#include "UI/TarnSeriesCommon/VolumePedalPanel.h"
#include "UI/TarnSeriesCommon/WheelEditPanel.h"
#include "UI/TarnSeriesCommon/WheelGroupPanel.h"
#include "UI/TarnSeriesCommon/WheelPanel.h"
#include "UI/TarnSeriesCommon/XYPadDirectionGroupPanel.h"
#include "UI/TarnSeriesCommon/XYPadDirectionPanel.h"
#include "UI/TarnSeriesCommon/XYPadEditPanel.h"

namespace
{

using QZ::LAboutDlg;
using QZ::LButtonControlEditPanel;
using QZ::LButtonControlViewPanel;
using QZ::LButtonEditPanel;
using QZ::LButtonGroupPanel;
using QZ::LButtonPanel;
using QZ::LControlFactory;
using QZ::LDeviceView;
using QZ::LEncoderEditPanel;
using QZ::LEncoderGroupPanel;
using QZ::LEncoderPanel;
using QZ::LFaderEditPanel;
using QZ::LFaderGroupPanel;
using QZ::LFaderPanel;
using QZ::LGetPresetFromMidiDeviceDlg;
using QZ::LGlobalSettingsDlg;
using QZ::LKeybedZoneEditPanel;
using QZ::LKeybedZoneGroupPanel;
using QZ::LKeybedZonePanel;
using QZ::LMainControl;
using QZ::LMIDIChannelViewPanel;
using QZ::LMidiNoteSelector;
using QZ::LMoveableControlEditPanel;
using QZ::LMoveableControlViewPanel;
using QZ::LNoteModeEditPanel;
using QZ::LNumberBoxTextSelector;
using QZ::LPadEditPanel;
using QZ::LPadGroupPanel;
using QZ::LPadPanel;
using QZ::LPanel;
using QZ::LPedalGroupPanel;
using QZ::LPresetNamePanel;
using QZ::LSendPresetToMidiDeviceDlg;
using QZ::LSustainPedalEditPanel;
using QZ::LSustainPedalPanel;
using QZ::LTabControl;
using QZ::LVolumePedalEditPanel;
using QZ::LVolumePedalPanel;
using QZ::LWheelEditPanel;
using QZ::LWheelGroupPanel;
using QZ::LWheelPanel;
using QZ::LXYPadDirectionGroupPanel;
using QZ::LXYPadDirectionPanel;
using QZ::LXYPadEditPanel;

constexpr EditorControl kEditorControls[] = {
    // The editor's own classes.
    {u"RededoVuvuva.GlobalEditorControl", &LControlFactory::Create<LGlobalSettingsDlg>},
    {u"RededoVuvuva.MainControl", &LControlFactory::Create<LMainControl>},
    {u"RededoVuvuva.MainControl.MIDIChannelView", &LControlFactory::Create<LMIDIChannelViewPanel>},
    {u"RededoVuvuva.MainControl.DeviceView", &LControlFactory::Create<LDeviceView>},
    {u"RededoVuvuva.MainControl.DeviceView.PresetNameEditPanel",
     &LControlFactory::Create<LPresetNamePanel>},
    {u"RededoVuvuva.MainControl.EditPanel.XYPadNotes",
     &LControlFactory::Create<LNoteModeEditPanel>},
    {u"RededoVuvuva.MainControl.PushButtonType.ViewPanel",
     &LControlFactory::Create<LButtonControlViewPanel>},
    {u"RededoVuvuva.Dialog.SendPresetToHardware",
     &LControlFactory::Create<LSendPresetToMidiDeviceDlg>},
    {u"RededoVuvuva.Dialog.RetrievePresetFromHardware",
     &LControlFactory::Create<LGetPresetFromMidiDeviceDlg>},
    {u"RededoVuvuva.MainControl.EditPanel.MoveableTypePanel",
     &LControlFactory::Create<LMoveableControlEditPanel>},
    {u"RededoVuvuva.MainControl.EditPanel.ButtonTypePanel",
     &LControlFactory::Create<LButtonControlEditPanel>},
    {u"RededoVuvuva.MainControl.FaderView", &LControlFactory::Create<LFaderGroupPanel>},
    {u"RededoVuvuva.MainControl.FaderView.Fader", &LControlFactory::Create<LFaderPanel>},
    {u"RededoVuvuva.MainControl.EncoderView", &LControlFactory::Create<LEncoderGroupPanel>},
    {u"RededoVuvuva.MainControl.EncoderView.Encoder", &LControlFactory::Create<LEncoderPanel>},
    {u"RededoVuvuva.MainControl.ButtonView", &LControlFactory::Create<LButtonGroupPanel>},
    {u"RededoVuvuva.MainControl.ButtonView.Button", &LControlFactory::Create<LButtonPanel>},
    {u"RededoVuvuva.MainControl.Pedals", &LControlFactory::Create<LPedalGroupPanel>},
    {u"RededoVuvuva.MainControl.Pedals.SustainPedal", &LControlFactory::Create<LSustainPedalPanel>},
    {u"RededoVuvuva.MainControl.Pedals.VolumePedal", &LControlFactory::Create<LVolumePedalPanel>},
    {u"RededoVuvuva.MainControl.KeybedZones", &LControlFactory::Create<LKeybedZoneGroupPanel>},
    {u"RededoVuvuva.MainControl.KeybedZones.Zone", &LControlFactory::Create<LKeybedZonePanel>},
    {u"RededoVuvuva.MainControl.WheelView", &LControlFactory::Create<LWheelGroupPanel>},
    {u"RededoVuvuva.MainControl.WheelView.Wheel", &LControlFactory::Create<LWheelPanel>},
    {u"RededoVuvuva.MainControl.PadView", &LControlFactory::Create<LPadGroupPanel>},
    {u"RededoVuvuva.MainControl.PadView.Pad", &LControlFactory::Create<LPadPanel>},
    {u"RededoVuvuva.Control.ZoneNoteSelector", &LControlFactory::Create<LMidiNoteSelector>},
    {u"RededoVuvuva.Control.NoteSelector", &LControlFactory::Create<LMidiNoteSelector>},
    {u"RededoVuvuva.Control.CCSelector", &LControlFactory::Create<LNumberBoxTextSelector>},
    {u"RededoVuvuva.MainPage.ButtonEditPanel", &LControlFactory::Create<LButtonEditPanel>},
    {u"RededoVuvuva.MainPage.VolumeEditPanel", &LControlFactory::Create<LVolumePedalEditPanel>},
    {u"RededoVuvuva.MainPage.SustainEditPanel", &LControlFactory::Create<LSustainPedalEditPanel>},
    {u"RededoVuvuva.TabControl.PageHolder.WheelsPage.Wheel",
     &LControlFactory::Create<LWheelEditPanel>},
    {u"RededoVuvuva.MainPage.FaderEditPanel", &LControlFactory::Create<LFaderEditPanel>},
    {u"RededoVuvuva.MainPage.ZoneEditPanel", &LControlFactory::Create<LKeybedZoneEditPanel>},
    {u"RededoVuvuva.MainPage.KnobEditPanel", &LControlFactory::Create<LEncoderEditPanel>},
    {u"RededoVuvuva.MainPage.XYPadEditPanel", &LControlFactory::Create<LXYPadEditPanel>},
    {u"RededoVuvuva.MainControl.XYPadView.Axis", &LControlFactory::Create<LXYPadDirectionPanel>},
    {u"RededoVuvuva.MainControl.XYPadView", &LControlFactory::Create<LXYPadDirectionGroupPanel>},
    {u"RededoVuvuva.MainPage.PadEditPanel", &LControlFactory::Create<LPadEditPanel>},
    {u"RededoVuvuva.MainControl.MoveableType.ViewPanel",
     &LControlFactory::Create<LMoveableControlViewPanel>},
    {u"RededoVuvuva.DialogAbout", &LControlFactory::Create<LAboutDlg>},
    // The program's message boxes.
    {u"RededoVuvuva.MessageBox", &LControlFactory::Create<QZ::LDialog>},
    // Tab controls.
    {u"RededoVuvuva.Control.ButtonModesControl.TabControl", &LControlFactory::Create<LTabControl>},
    {u"RededoVuvuva.TabControl", &LControlFactory::Create<LTabControl>},
    {u"RededoVuvuva.MainPage.ButtonEditPanel.TabControl", &LControlFactory::Create<LTabControl>},
    {u"RededoVuvuva.TabControl.PageHolder.ButtonsPage.TabControl",
     &LControlFactory::Create<LTabControl>},
    {u"RededoVuvuva.Control.MovementTypes.TabControl", &LControlFactory::Create<LTabControl>},
    {u"RededoVuvuva.MainPage.PadEditPanel.TabControl", &LControlFactory::Create<LTabControl>},
    {u"RededoVuvuva.MainPage.XYPadEditPanel.TabControl", &LControlFactory::Create<LTabControl>},
    {u"RededoVuvuva.TabControl.CCCyclePage.TabControl", &LControlFactory::Create<LTabControl>},
    {u"RededoVuvuva.TabControl.ProgramCyclePage.TabControl", &LControlFactory::Create<LTabControl>},
    // Plain panels.
    {u"RededoVuvuva.Control.Global.LabeledXYPadFriction", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.Global.LabeledGlobalXYPadRebound", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.Global.LabeledxyPadSensitivity", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.Global.LabeledMackieHUIToggle", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.Global.LabeledKeyOctave", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.Global.LabeledKeyTranspose", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.Global.LabeledKeySensitivity", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.Global.LabeledPadOctave", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.Global.LabeledPadTranspose", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.Global.LabeledPadSensitivity", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.Global.LabeledControlCurve", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.Global.LabeledGlobalXYPadVelocity", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.Global.LabeledGlobalChannel", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.MainControl.DeviceView.PresetView", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.MainControl.DeviceView.GroupBanks", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.MainPage.ButtonEditPanel.MidiPage", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.MainControl.FaderView.FaderBank", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.MainControl.EncoderView.EncoderBank", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.MainControl.ButtonView.ButtonBank", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.SustainModes.TabControl.PageHolder.NotePage",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.SustainModes.TabControl.PageHolder.ProgramPage",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.SustainModes.TabControl.PageHolder.CCAbsolutePage",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.SustainModes.TabControl.PageHolder.CCIncDecPage",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.SustainModes.TabControl.PageHolder.MMCPage",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.SustainModes.TabControl.PageHolder.ProgramIncDecPage",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.MainControl.PadView.Pad.ColorIndicator", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledColorSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledKeySelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledModifierSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledButtonTypeSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledCCSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledCCValueSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledMMCSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledNoteSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledProgramSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledOtherSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledCycleTypeSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledINCDecTypeSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledLatchingSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledButtonColorSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledPadColorSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledRelativeTypeSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.ButtonModesControl.TabControl.ButtonHolder",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.ButtonModesControl.TabControl.PageHolder",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.PressedReleasedSelectors", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledPressedSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledReleasedSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledModifierKeySelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledKeyZoneNoteSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.KeyZoneStartEndNoteSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledPressedReleasedSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledMidiChannelSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledKeyZoneMidiChannelSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.MinMaxSelectors", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.MinSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.MaxSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledMinSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledMaxSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.StartEndNoteSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledOctaveSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledTransposeSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.MSBLSBSelectors", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledMSBSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledLSBSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.OnOffSelectors", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledOnSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledOffSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledFaderTypeSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.MainControl.ButtonView.Button.ColorIndicator",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.MovementTypes.TabControl.PageHolder", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.MovementTypes.TabControl.PageHolder.CCAbsolutePage",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.MovementTypes.TabControl.PageHolder.CCRelativePage",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.MovementTypes.TabControl.PageHolder.NRPNAbsolutePage",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.MovementTypes.TabControl.ButtonHolder",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledSustainTypeSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledXYPadTypeSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.XYPadModes.TabControl.ButtonHolder", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.PresetSlotCombobox", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledNoteModeTypeSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledNoteScaleSelector", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Panel.TabControl", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.TabControl.ButtonHolder", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.TabControl.PageHolder", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.MainPage.ButtonEditPanel.TabControl.ButtonHolder",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.MainPage.ButtonEditPanel.TabControl.PageHolder",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.MainPage.ButtonEditPanel.AsciiPage", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.MainPage.ButtonEditPanel.ColorPage", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.TabControl.PageHolder.ButtonsPage.AsciiPage", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.TabControl.PageHolder.ButtonsPage.MidiPage", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.TabControl.PageHolder.PedalsPage", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.TabControl.PageHolder.WheelsPage", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.TabControl.PageHolder.FadersPage", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.MovementTypes.TabControl.PageHolder.PitchBendPage",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.TabControl.PageHolder.KeybedPage", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.TabControl.PageHolder.KnobsPage", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.MainPage.PadEditPanel.TabControl.ButtonHolder",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.MainPage.PadEditPanel.TabControl.PageHolder", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.MainPage.PadEditPanel.ColorPage", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.MainPage.XYPadEditPanel.TabControl.ButtonHolder",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.MainPage.XYPadEditPanel.TabControl.PageHolder",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.TabControl.PageHolder.PadsPage", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.PadModes.TabControl.PageHolder.CCAbsolutePage",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.PadModes.TabControl.PageHolder.CCCyclePage",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.PadModes.TabControl.PageHolder.CCIncDecPage",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.PadModes.TabControl.PageHolder.MMCPage",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.PadModes.TabControl.PageHolder.NotePage",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.PadModes.TabControl.PageHolder.NRPNAbsolutePage",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.PadModes.TabControl.PageHolder.ProgramCyclePage",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.PadModes.TabControl.PageHolder.ProgramIncDecPage",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.PadModes.TabControl.PageHolder.ProgramPage",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.TabControl.CCCyclePage.TabControl.ButtonHolder",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.TabControl.CCCyclePage.TabControl.PageHolder",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.TabControl.CCCyclePage.TabControl.PageHolder.CCPage",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.TabControl.CCCyclePage.TabControl.PageHolder.ColorPage",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.TabControl.ProgramCyclePage.TabControl.ButtonHolder",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.TabControl.ProgramCyclePage.TabControl.PageHolder",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.TabControl.ProgramCyclePage.TabControl.PageHolder.ProgramPage",
     &LControlFactory::Create<LPanel>},
    {u"MainControl.ProductImageSelector", &LControlFactory::Create<LPanel>},
    {u"MainControl.MainPage.ButtonEditPanel.MidiPage", &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.ButtonModesControl.TabControl.PageHolder.OtherPage",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.ButtonModesControl.TabControl.PageHolder.CCAbsolutePage",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.ButtonModesControl.TabControl.PageHolder.NrpnRpnPage",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.MovementTypes.TabControl.PageHolder.OtherPage",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.MovementTypes.TabControl.PageHolder.NrpnRpnPage",
     &LControlFactory::Create<LPanel>},
    {u"RededoVuvuva.Control.LabeledNrpnRpnSelector", &LControlFactory::Create<LPanel>},
};

} // namespace

std::span<const EditorControl> GetEditorControls()
{
    return kEditorControls;
}

void RegisterEditorControls(QZ::LControlFactory& factory)
{
    for (const EditorControl& control : kEditorControls)
    {
        factory.RegisterControlClass(QZ::WideString(control.className), control.create);
    }
}
