#pragma once

// The commands the graph view handles, with the numbers the menus and
// accelerators of the application use for them.

// The data menu.
constexpr int ID_DATA_NEW = 32771;
constexpr int ID_DATA_EDIT = 32772;
constexpr int ID_DATA_COLOR = 32775;
constexpr int ID_DATA_UNIT = 32776;
constexpr int ID_AVG_NARROW = 32777;
// Normal and wide are numbered against their menu order.
constexpr int ID_AVG_WIDE = 32778;
constexpr int ID_AVG_NORMAL = 32779;

// The view menu, and saving the graph as a picture (in the file menu).
constexpr int ID_VIEW_ALL = 32780;
constexpr int ID_VIEW_4_WEEKS = 32781;
constexpr int ID_VIEW_3_MONTHS = 32782;
constexpr int ID_VIEW_6_MONTHS = 32783;
constexpr int ID_VIEW_1_YEAR = 32784;
constexpr int ID_VIEW_FILL = 32785;
constexpr int ID_VIEW_TREND = 32786;
constexpr int ID_VIEW_GOAL = 32787;
constexpr int ID_FILE_SAVE_GRAPH = 32788;

// Copying the shown days, under the window system's number for Copy.
constexpr int ID_EDIT_COPY = 57634;
