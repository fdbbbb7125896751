#pragma once

#include <QKeyCombination>
#include <QString>
#include <functional>
#include <vector>

// Resource tables in the shape the window system's resource compiler gives
// them, so the program's menus, keys and buttons read like its tables.

// One item of a pop-up menu; id 0 with kMenuSeparator is a separator.
struct MenuItemResource {
    const char* text; // UTF-8, with '&' mnemonics and "\t" shortcut text
    int id;
    unsigned flags = 0;
};
constexpr unsigned kMenuSeparator = 0x1;
constexpr unsigned kMenuGrayed = 0x2;

struct PopupResource {
    const char* text;
    std::vector<MenuItemResource> items;
};
using MenuResource = std::vector<PopupResource>;

struct AccelResource {
    QKeyCombination keys;
    int id;
};
using AccelTable = std::vector<AccelResource>;

// One command-bar button; a separator has no command.
struct ButtonResource {
    int image;
    int id;
    bool enabled;
    bool separator;
    int data;
    int text; // index of the button's text, -1 for none
};

// Looks up a string-table entry; empty when the table has none.
using StringLoader = std::function<QString(int id)>;

// Everything a frame is built from.
struct FrameResources {
    const MenuResource* menu = nullptr;
    const AccelTable* accelerators = nullptr;
    StringLoader strings;
};
