#pragma once

#include <string>

class CTarelogDoc;
class ProfileStore;

// What the unit and digits dialog edits: the document's unit text and
// decimal digits, and the date-label style kept in the profile.
struct UnitDigitsData {
    int m_digits = 0;
    std::u16string m_unit;
    int m_dateStyle = 0;

    // The document's unit and digits, and the profile's style (1 without one).
    void Load(const CTarelogDoc& doc, const ProfileStore& profile);
    // OK: the document takes unit and digits and is marked modified only
    // when one of them differs (the unit compared case-sensitively); the
    // style is written to the profile every time.
    void Apply(CTarelogDoc& doc, ProfileStore& profile) const;
};

// The dialog's checks on its three fields.
constexpr int kMinDigits = 0;
constexpr int kMaxDigits = 5;
constexpr int kMaxUnitChars = 4;
constexpr int kMinDateStyle = 1;
constexpr int kMaxDateStyle = 3;
