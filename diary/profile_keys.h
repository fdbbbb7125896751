#pragma once

// Where the window keeps its settings in the profile: the graph's colour
// slots (entries "0" to "9") and the date-label style. The graph reads
// them; the colour and the unit-and-digits dialogs write them.
inline constexpr const char* kColorSection = "色";
inline constexpr const char* kShowSection = "SHOW";
inline constexpr const char* kDateStyleEntry = "X";
// The date-label style of a profile that has none.
inline constexpr int kDefaultDateStyle = 1;
