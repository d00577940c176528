// The notification identifier texts that the program uses, spelled as the program spells them
// (the misspelled ones included, since the texts travel in string-table keys and must match).
// These are plain texts; GetNotificationID interns them.
#pragma once

namespace QZ
{

inline constexpr const char16_t* NID_APP_EXIT_REQ = u"NID_APP_EXIT_REQ";
inline constexpr const char16_t* NID_BUTTON_AUTOREPEAT = u"NID_BUTTON_AUTOREPEAT";
inline constexpr const char16_t* NID_CAPTURE_CONDITION_CHANGE = u"NID_CAPTURE_CONDITION_CHANGE";
inline constexpr const char16_t* NID_CLIENT_EXTENT_CHANGE = u"NID_CLIENT_EXTENT_CHANGE";
inline constexpr const char16_t* NID_CLIPLIGHT_UNLATCHED = u"NID_CLIPLIGHT_UNLATCHED";
inline constexpr const char16_t* NID_CONDITION_CHANGE = u"NID_CONDITION_CHANGE";
inline constexpr const char16_t* NID_CONTAINS_FOCUS_CONDITION_CHANGE =
    u"NID_CONTAINS_FOCUS_CONDITION_CHANGE";
inline constexpr const char16_t* NID_DEVICE_CONNECTION_STATE_CHANGE =
    u"NID_DEVICE_CONNECTION_STATE_CHANGE";
inline constexpr const char16_t* NID_DIALOG_CLOSED = u"NID_DIALOG_CLOSED";
inline constexpr const char16_t* NID_DIALOG_CLOSING = u"NID_DIALOG_CLOSING";
inline constexpr const char16_t* NID_DROPDOWN_OPENING = u"NID_DROPDOWN_OPENING";
inline constexpr const char16_t* NID_EDIT_COPY_REQ = u"NID_EDIT_COPY_REQ";
inline constexpr const char16_t* NID_EDIT_CUT_REQ = u"NID_EDIT_CUT_REQ";
inline constexpr const char16_t* NID_EDIT_DELETE_REQ = u"NID_EDIT_DELETE_REQ";
inline constexpr const char16_t* NID_EDIT_PASTE_REQ = u"NID_EDIT_PASTE_REQ";
inline constexpr const char16_t* NID_ENABLED_CONDITION_CHANGE = u"NID_ENABLED_CONDITION_CHANGE";
inline constexpr const char16_t* NID_GLOBAL_LOAD_CONTROL_PANEL_SETTINGS =
    u"NID_GLOBAL_LOAD_CONTROL_PANEL_SETTINGS";
inline constexpr const char16_t* NID_HAS_FOCUS_CONDITION_CHANGE = u"NID_HAS_FOCUS_CONDITION_CHANGE";
inline constexpr const char16_t* NID_HOVER_CONDITION_CHANGE = u"NID_HOVER_CONDITION_CHANGE";
inline constexpr const char16_t* NID_IDLE = u"NID_IDLE";
inline constexpr const char16_t* NID_ITEM_ACTIVATED = u"NID_ITEM_ACTIVATED";
inline constexpr const char16_t* NID_ITEM_CHECKBOX_CLICKED = u"NID_ITEM_CHECKBOX_CLICKED";
inline constexpr const char16_t* NID_ITEM_CHECK_CHANGE = u"NID_ITEM_CHECK_CHANGE";
inline constexpr const char16_t* NID_ITEM_DOUBLE_CLICKED = u"NID_ITEM_DOUBLE_CLICKED";
inline constexpr const char16_t* NID_ITEM_HOVER_CONDITION_CHANGE =
    u"NID_ITEM_HOVER_CONDITION_CHANGE";
inline constexpr const char16_t* NID_ITEM_LEFT_DRAG_CONDITION_CHANGE =
    u"NID_ITEM_LEFT_DRAG_CONDITION_CHANGE";
inline constexpr const char16_t* NID_LEFT_CLICK = u"NID_LEFT_CLICK";
inline constexpr const char16_t* NID_LEFT_DRAG_CONDITION_CHANGE = u"NID_LEFT_DRAG_CONDITION_CHANGE";
inline constexpr const char16_t* NID_MENU_FILE_EXIT_REQ = u"NID_MENU_FILE_EXIT_REQ";
inline constexpr const char16_t* NID_MENU_FILE_GLOBALSETTINGS_REQ =
    u"NID_MENU_FILE_GLOBALSETTINGS_REQ";
inline constexpr const char16_t* NID_MENU_FILE_LOAD_PRESET_FROM_DEVICE =
    u"NID_MENU_FILE_LOAD_PRESET_FROM_DEVICE";
inline constexpr const char16_t* NID_MENU_FILE_LOAD_PRESET_FROM_FILE =
    u"NID_MENU_FILE_LOAD_PRESET_FROM_FILE";
inline constexpr const char16_t* NID_MENU_FILE_SAVE_PRESET_TO_FILE =
    u"NID_MENU_FILE_SAVE_PRESET_TO_FILE";
inline constexpr const char16_t* NID_MENU_FILE_SEND_PRESET_TO_DEVICE =
    u"NID_MENU_FILE_SEND_PRESET_TO_DEVICE";
inline constexpr const char16_t* NID_MENU_HELP_ABOUT_REQ = u"NID_MENU_HELP_ABOUT_REQ";
inline constexpr const char16_t* NID_MENU_HELP_OPEN_USER_GUIDE_REQ =
    u"NID_MENU_HELP_OPEN_USER_GUIDE_REQ";
inline constexpr const char16_t* NID_MIDDLE_CLICK = u"NID_MIDDLE_CLICK";
inline constexpr const char16_t* NID_MIDDLE_DRAG_CONDITION_CHANGE =
    u"NID_MIDDLE_DRAG_CONDITION_CHANGE";
inline constexpr const char16_t* NID_MIDI_DATA_CAPTURED = u"NID_MIDI_DATA_CAPTURED";
inline constexpr const char16_t* NID_MIDIMANAGER_PARAMETER_RECIEVED =
    u"NID_MIDIMANAGER_PARAMETER_RECIEVED";
inline constexpr const char16_t* NID_MOUSE_DOWN = u"NID_MOUSE_DOWN";
inline constexpr const char16_t* NID_MOUSE_MOVE = u"NID_MOUSE_MOVE";
inline constexpr const char16_t* NID_MOUSE_UP = u"NID_MOUSE_UP";
inline constexpr const char16_t* NID_PARAMETERS_CHANGED = u"NID_PARAMETERS_CHANGED";
inline constexpr const char16_t* NID_PARAM_MODULE_CHANGE_REQ = u"NID_PARAM_MODULE_CHANGE_REQ";
inline constexpr const char16_t* NID_PARAM_MODULE_STATE_CHANGE = u"NID_PARAM_MODULE_STATE_CHANGE";
inline constexpr const char16_t* NID_PRESETFILE_POST_LOAD = u"NID_PRESETFILE_POST_LOAD";
inline constexpr const char16_t* NID_PRESETFILE_PRE_LOAD = u"NID_PRESETFILE_PRE_LOAD";
inline constexpr const char16_t* NID_REMOTE_DEVICE_LIST_CHANGE = u"NID_REMOTE_DEVICE_LIST_CHANGE";
inline constexpr const char16_t* NID_RIGHT_CLICK = u"NID_RIGHT_CLICK";
inline constexpr const char16_t* NID_RIGHT_DRAG_CONDITION_CHANGE =
    u"NID_RIGHT_DRAG_CONDITION_CHANGE";
inline constexpr const char16_t* NID_SCROLL_OFFSET_CHANGE = u"NID_SCROLL_OFFSET_CHANGE";
inline constexpr const char16_t* NID_SELECTION_CHANGE = u"NID_SELECTION_CHANGE";
inline constexpr const char16_t* NID_SET_STATUS_TEXT = u"NID_SET_STATUS_TEXT";
inline constexpr const char16_t* NID_SIBLING_KEY = u"NID_SIBLING_KEY";
inline constexpr const char16_t* NID_SIMULATE_CLICK = u"NID_SIMULATE_CLICK";
inline constexpr const char16_t* NID_TAB_SELECTED = u"NID_TAB_SELECTED";
inline constexpr const char16_t* NID_TEXTBOX_TEXT_CHANGE = u"NID_TEXTBOX_TEXT_CHANGE";
inline constexpr const char16_t* NID_TEXTBOX_VALIDATED = u"NID_TEXTBOX_VALIDATED";
inline constexpr const char16_t* NID_TEXTBOX_VALIDATING = u"NID_TEXTBOX_VALIDATING";
inline constexpr const char16_t* NID_VALUE_CHANGE = u"NID_VALUE_CHANGE";
inline constexpr const char16_t* NID_VALUE_CHANGE_CAPTURE = u"NID_VALUE_CHANGE_CAPTURE";
inline constexpr const char16_t* NID_VALUE_CHANGE_KEY_DOWN = u"NID_VALUE_CHANGE_KEY_DOWN";
inline constexpr const char16_t* NID_VALUE_CHANGE_KEY_UP = u"NID_VALUE_CHANGE_KEY_UP";
inline constexpr const char16_t* NID_VISIBLITY_CONDITION_CHANGE = u"NID_VISIBLITY_CONDITION_CHANGE";
// Occurs only in hot-key and menu string-table keys.
inline constexpr const char16_t* NID_BUTTON_TOGGLE_DIALOG_BUTTON =
    u"NID_BUTTON_TOGGLE_DIALOG_BUTTON";

} // namespace QZ
