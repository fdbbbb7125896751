#pragma once

#include <string>

// A pairing link as `pair` and `serve` print it on standard output: a
// line "pair: LINK" for scripts, then the link as a QR code in Unicode
// blocks for a phone's camera (as `qrencode -t UTF8` draws it).
void PrintPairingLink(const std::string& link);
