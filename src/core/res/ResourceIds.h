#pragma once
// Resource, command and control ids of the program. Every action and widget
// carries its id as its object name (QString::number(id)), so code and tests
// find them by id.

namespace ids {
// Commands
constexpr int ID_FILE_NEW = 57600;
constexpr int ID_FILE_OPEN = 57601;
constexpr int ID_FILE_SAVE = 57603;
constexpr int ID_FILE_SAVE_AS = 57604;
constexpr int ID_FILE_PRINT_SETUP = 57606;
constexpr int ID_FILE_PRINT = 57607;
constexpr int ID_FILE_PRINT_DIRECT = 57608;
constexpr int ID_FILE_PRINT_PREVIEW = 57609;
constexpr int ID_FILE_MRU_FILE1 = 57616;
constexpr int ID_FILE_MRU_FILE4 = 57619;
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_APP_EXIT = 57665;
constexpr int ID_HELP_FINDER = 57667;
constexpr int ID_CONTEXT_HELP = 57669;
constexpr int ID_HELP = 57670;
constexpr int ID_VIEW_TOOLBAR = 59392;
constexpr int ID_VIEW_STATUS_BAR = 59393;
constexpr int ID_READ = 32771;
constexpr int ID_WRITE = 32772;
constexpr int ID_PORT_COM1 = 32773;
constexpr int ID_PORT_COM2 = 32775;
constexpr int ID_PORT_COM3 = 32776;
constexpr int ID_PORT_COM4 = 32777;
constexpr int ID_TUNING = 32778;
constexpr int ID_EDIT_CHANNELS = 32780;
constexpr int ID_OPTIONS = 32784;
constexpr int ID_EXPORT_CSV = 32790;
constexpr int ID_IMPORT_CSV = 32791;
constexpr int ID_EDIT_CLEAR = 57632;
constexpr int ID_EDIT_COPY = 57634;
constexpr int ID_EDIT_CUT = 57635;
constexpr int ID_EDIT_PASTE = 57637;
constexpr int ID_EDIT_UNDO = 57643;
constexpr int ID_EDIT_REDO = 57644;
constexpr int ID_CHANNEL_INSERT = 32792;
constexpr int ID_CHANNEL_DELETE = 32793;
constexpr int ID_CHANNEL_UP = 32794;
constexpr int ID_CHANNEL_DOWN = 32795;
constexpr int ID_SET_FIELD = 32796;
constexpr int ID_COMPARE_FILE = 32841;
constexpr int ID_COMPARE_RADIO = 32842;
constexpr int ID_NEXT_DIFFERENCE = 32843;
constexpr int ID_PREVIOUS_DIFFERENCE = 32844;
constexpr int ID_END_COMPARE = 32845;
constexpr int ID_HISTORY = 32846;

// Dialogs
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDD_FORM = 101;
constexpr int IDD_PROGRESS = 133;
constexpr int IDD_TUNING = 136;
constexpr int IDD_OPTIONS = 156;
constexpr int IDD_SET_FIELD = 160;
constexpr int IDR_MAINFRAME = 128;
constexpr int IDI_LARGE = 134;

// Form controls
constexpr int IDC_GRID = 1007;
constexpr int IDC_BAND = 1011;
constexpr int IDC_MODEL = 1017;
constexpr int IDC_POWER_LEVEL = 1018;
constexpr int IDC_MANUAL = 1099;

// The set-field dialog
constexpr int IDC_FIELD_COLUMN = 1201;
constexpr int IDC_FIELD_VALUE = 1202;

// Cell editors
constexpr int IDC_EDIT_FREQ = 61446;
constexpr int IDC_TONE = 1000;
constexpr int IDC_LIST_SIGNAL = 61448;
constexpr int IDC_LIST_POWER = 61449;
constexpr int IDC_LIST_SCAN = 61450;
constexpr int IDC_LIST_PTTID = 61451;
constexpr int IDC_LIST_WIDTH = 61452;
constexpr int IDC_LIST_BUSY = 61453;
}  // namespace ids
