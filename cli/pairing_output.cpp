#include "cli/pairing_output.h"

#include "platform/qr_code.h"

#include <cstdio>

void PrintPairingLink(const std::string& link)
{
    std::printf("pair: %s\n", link.c_str());
    // A link of a few dozen characters always fits a code; the line above
    // says it all the same.
    if (const auto code = QrCode::Encode(link))
        std::fputs(code->Blocks().c_str(), stdout);
}
