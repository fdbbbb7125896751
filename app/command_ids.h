#pragma once

#include "platform/qt/framework_ids.h"
#include "view/data_command_ids.h"

// The program's own resources and commands. The framework's ids (file,
// edit, pane, about, exit) come with framework_ids.h, the data menu's with
// the view that handles them.
constexpr int IDR_MAINFRAME = 128;

// The application's own commands, numbered apart from the view's.
constexpr int ID_FILE_PHONE = 32800;
