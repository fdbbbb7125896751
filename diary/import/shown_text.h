#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// A piece of an imported file as a message shows it: in single quotes, cut
// after about kShownLength characters (never inside a UTF-8 sequence, with
// "..." and the full length appended), and with every control byte written
// as an escape (\t, \r, \n, \xHH) so a hostile file cannot move the cursor,
// ring the terminal or fill the screen.
constexpr std::size_t kShownLength = 60;

std::string ShownText(std::string_view text);
