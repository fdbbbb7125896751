#pragma once

// One weight for one calendar day, as an import, a pasted text, the phone
// page or a script brings it in.
struct DayWeight {
    double weight = 0.0;
    int year = 0;
    int month = 0;
    int day = 0;
};
