#pragma once

// The commands and strings the framework itself handles or shows, with the
// window system's numbers.
constexpr int ID_FILE_NEW = 57600;
constexpr int ID_FILE_OPEN = 57601;
constexpr int ID_FILE_SAVE = 57603;
constexpr int ID_FILE_SAVE_AS = 57604;
constexpr int ID_FILE_MRU_FILE1 = 57616;
constexpr int ID_FILE_MRU_LAST = 57631; // the string table covers 16 entries
constexpr int ID_APP_EXIT = 57665;

// The status bar's text while no command is described.
constexpr int IDS_IDLE_MESSAGE = 57345;
