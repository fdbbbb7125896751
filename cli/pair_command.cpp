// tarelog-cli pair DIARY: a one-time link that pairs a phone with the
// diary's page, or with --token a token for a script.
#include "cli/commands.h"
#include "cli/pairing_output.h"
#include "cli/verb_preamble.h"

#include "phone/device_store.h"
#include "phone/phone_defaults.h"
#include "phone/phone_service.h"
#include "platform/state_folder.h"

#include <cstdio>
#include <stdexcept>

namespace {

enum PairOption { kToken, kName, kUrl };

int PrintLink(const std::string& diary, const std::string& baseUrl)
{
    try {
        PrintPairingLink(NewPairingLink(diary, baseUrl));
    } catch (const std::runtime_error& error) {
        std::fprintf(stderr, "tarelog-cli: %s\n", error.what());
        return kExitFailure;
    }
    return kExitOk;
}

int PrintToken(const std::string& diary, const std::string& name)
{
    DeviceStore store(diary, StateFolder("tarelog"));
    const Result<std::string, std::string> token = store.NewToken(name);
    if (!token) {
        std::fprintf(stderr, "tarelog-cli: %s\n", token.error().c_str());
        return kExitFailure;
    }
    std::printf("%s\n", token->c_str());
    return kExitOk;
}

} // namespace

const VerbTable& PairTable()
{
    static const VerbTable table{
        .synopsis = "[--token [--name NAME]] [--url URL] DIARY",
        .description = "Prints, on a line that starts with \"pair: \", a link that pairs one phone with\n"
                       "the page that 'tarelog-cli serve DIARY' serves, and under it the link's QR\n"
                       "code. The link works once, for 10 minutes, whether the server runs now or\n"
                       "starts later. With --token, prints instead, alone on one line, a token for\n"
                       "a script, which it sends as \"Authorization: Bearer TOKEN\". Phones and\n"
                       "tokens are kept per diary in the user's state folder, their secrets only\n"
                       "as digests; 'tarelog-cli devices' lists and revokes them.\n",
        .options = {{kToken, "token", 0, nullptr, "print a token for a script instead of a link"},
            {kName, "name", 0, "NAME", "the token's name (default: token, token 2, ...)"},
            {kUrl, "url", 0, "URL",
                "the address the link starts with (default: https:// and this\n"
                "machine's first network address, port 8765)"}},
        .operands = {{.files = "tlg"}},
    };
    return table;
}

int RunPair(const std::vector<std::string>& args)
{
    ParsedArguments parsed;
    if (const auto stop = StartVerb(PairTable(), "pair", args, parsed))
        return *stop;
    if (parsed.operands.size() != 1)
        return UsageError("pair", "give one diary DIARY");
    std::string name, url;
    for (const UsedOption& used : parsed.options) {
        if (used.id == kName)
            name = used.value;
        if (used.id == kUrl)
            url = used.value;
    }
    if (!HasOption(parsed, kToken)) {
        if (HasOption(parsed, kName))
            return UsageError("pair", "--name names a token: give it with --token");
        if (url.empty())
            url = DefaultPhoneBaseUrl();
        while (!url.empty() && url.back() == '/')
            url.pop_back();
        return PrintLink(parsed.operands[0], url);
    }
    if (HasOption(parsed, kName) && name.empty())
        return UsageError("pair", "--name wants a name that is not empty");
    return PrintToken(parsed.operands[0], name);
}
