#pragma once

#include "platform/calendar_date.h"

class CTarelogDoc;

// What the weight entry dialog edits: a day and a weight. The dialog's
// preset, step buttons and OK work on these members only; the dialog moves
// them to and from its controls.
struct WeightEntryData {
    CalendarDate m_date = CalendarDate::Today();
    double m_weight = 0.0;

    // The command's presets: the latest recorded weight (0.0 without
    // records) and today.
    void Preset(const CTarelogDoc& doc, CalendarDate today);
    // Button 1004 takes a tenth, 1006 adds 0.1, 1007 subtracts 0.1; no
    // bound, so the weight may reach zero or below.
    void Step(int buttonId);
    // OK: the document inserts or replaces the record of m_date's day.
    void Commit(CTarelogDoc& doc) const;
};

constexpr int IDC_WEIGHT_TENTH = 1004;
constexpr int IDC_WEIGHT_PLUS = 1006;
constexpr int IDC_WEIGHT_MINUS = 1007;
