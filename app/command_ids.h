#pragma once

#include "platform/qt/framework_ids.h"

// The program's own resources and commands. The framework's ids (file,
// edit, pane, about, exit) come with framework_ids.h.
constexpr int IDR_MAINFRAME = 128;

constexpr int ID_DATA_NEW = 32771;
constexpr int ID_DATA_EDIT = 32772;
constexpr int ID_DATA_COLOR = 32775;
constexpr int ID_DATA_UNIT = 32776;
constexpr int ID_AVG_NARROW = 32777;
// Normal and wide are numbered against their menu order.
constexpr int ID_AVG_WIDE = 32778;
constexpr int ID_AVG_NORMAL = 32779;
