#pragma once

#include "platform/surface.h"

#include <optional>

class CTarelogDoc;
class ProfileStore;
class QWidget;

// The view's four dialog commands. Each builds its dialog on the stack for
// what it edits and runs it modally over `parent`; the dialog writes back
// as it does (on OK, or at once). The view repaints after each returns.
void RunWeightEntryCommand(CTarelogDoc& doc, QWidget* parent);                       // 32771
void RunEditListCommand(CTarelogDoc& doc, QWidget* parent);                          // 32772
void RunColorCommand(Color* colorSlots, QWidget* parent);                            // 32775
void RunUnitDigitsCommand(CTarelogDoc& doc, ProfileStore& profile, QWidget* parent); // 32776

// "目標体重...": the goal after OK (none for an empty field), nothing when
// the dialog was cancelled.
std::optional<std::optional<double>> RunGoalCommand(std::optional<double> goal, QWidget* parent);
