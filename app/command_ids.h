#pragma once

// The program's own resources and the commands the application handles.
// The framework's commands (file, recent files, exit) are in
// platform/qt/framework_ids.h, the graph's in view/view_command_ids.h.
constexpr int IDR_MAINFRAME = 128;

// Under the window system's numbers for them.
constexpr int ID_EDIT_PASTE = 57637;
constexpr int ID_EDIT_UNDO = 57643;
constexpr int ID_EDIT_REDO = 57644;
constexpr int ID_APP_ABOUT = 57664;

// Keys of the accelerator table that nothing handles: nothing in the graph
// is cut, and the window has one pane.
constexpr int ID_EDIT_CUT = 57635;
constexpr int ID_NEXT_PANE = 57680;
constexpr int ID_PREV_PANE = 57681;

// The application's own commands, numbered apart from the view's.
constexpr int ID_FILE_PHONE = 32800;
