#pragma once

// The command and string ids the framework itself handles or shows, with
// the window system's numbers.
constexpr int ID_FILE_NEW = 57600;
constexpr int ID_FILE_OPEN = 57601;
constexpr int ID_FILE_CLOSE = 57602;
constexpr int ID_FILE_SAVE = 57603;
constexpr int ID_FILE_SAVE_AS = 57604;
constexpr int ID_FILE_MRU_FILE1 = 57616;
constexpr int ID_FILE_MRU_LAST = 57631; // the string table covers 16 entries
constexpr int ID_EDIT_CLEAR = 57632;
constexpr int ID_EDIT_CLEAR_ALL = 57633;
constexpr int ID_EDIT_COPY = 57634;
constexpr int ID_EDIT_CUT = 57635;
constexpr int ID_EDIT_FIND = 57636;
constexpr int ID_EDIT_PASTE = 57637;
constexpr int ID_EDIT_REPEAT = 57640;
constexpr int ID_EDIT_REPLACE = 57641;
constexpr int ID_EDIT_SELECT_ALL = 57642;
constexpr int ID_EDIT_UNDO = 57643;
constexpr int ID_EDIT_REDO = 57644;
constexpr int ID_WINDOW_SPLIT = 57653;
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_APP_EXIT = 57665;
constexpr int ID_NEXT_PANE = 57680;
constexpr int ID_PREV_PANE = 57681;

constexpr int IDS_IDLE_MESSAGE = 57345;
constexpr int IDS_SC_CLOSE = 61190;
constexpr int IDS_SC_TASKLIST = 61203;
constexpr int ID_INDICATOR_CAPS = 59137;
