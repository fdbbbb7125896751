#pragma once

#include "platform/surface.h"

#include <cstddef>
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

// The graph's context menu on the diary's record `index`: "この日を修正..."
// runs the entry dialog on that day's date and weight; "この日を削除" asks
// the list editor's question and deletes the record on Yes.
void RunCorrectDayCommand(CTarelogDoc& doc, std::size_t index, QWidget* parent);
void RunDeleteDayCommand(CTarelogDoc& doc, std::size_t index, QWidget* parent);

// "目標体重...": the goal after OK (none for an empty field), nothing when
// the dialog was cancelled.
std::optional<std::optional<double>> RunGoalCommand(std::optional<double> goal, QWidget* parent);
