#pragma once

#include "platform/qt/resources.h"
#include "tarelog_version.h"

#include <QIcon>
#include <QString>
#include <vector>

// Menu 128, accelerator table 128, the command-bar buttons and the string
// table, exactly as the program shows them.
const MenuResource& MainMenu();
const AccelTable& MainAccelerators();
const std::vector<ButtonResource>& CommandBarButtons();
// Empty for an id the table does not hold.
QString LoadAppString(int id);
FrameResources MainFrameResources();

// Icon 128 at 16, 32 and 64 pixels.
QIcon AppIcon();

// The version text of the about box: "Tarelog Version 1.11" for version 1.11.
inline constexpr const char* kVersionText = "Tarelog Version " TARELOG_VERSION;
