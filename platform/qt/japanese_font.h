#pragma once

#include <QString>

// The face every Japanese text is drawn in, the graph's and the dialogs':
// "Noto Sans CJK JP" when it is installed, else empty, and the caller keeps
// its own default. One face for all, so that no text falls back glyph by
// glyph to whatever the system has.
QString InstalledJapaneseFamily();
