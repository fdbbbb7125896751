// tarelog-cli devices DIARY [--revoke NAME]: the phones and tokens paired
// with a diary's page, and taking one's access away.
#include "cli/commands.h"
#include "cli/verb_preamble.h"

#include "phone/device_store.h"
#include "platform/state_folder.h"

#include <cstdio>
#include <ctime>

namespace {

enum DevicesOption { kRevoke };

std::string LocalTime(std::int64_t seconds)
{
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm local{};
    char text[32] = "?";
    if (::localtime_r(&time, &local) != nullptr)
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

int List(const DeviceStore& store)
{
    const Result<std::vector<Device>, std::string> devices = store.List();
    if (!devices) {
        std::fprintf(stderr, "tarelog-cli: %s\n", devices.error().c_str());
        return kExitFailure;
    }
    for (const Device& device : *devices)
        std::printf("%s\t%s\tpaired %s\n", device.name.c_str(), KindName(device.kind),
            LocalTime(device.pairedAt).c_str());
    return kExitOk;
}

} // namespace

const VerbTable& DevicesTable()
{
    static const VerbTable table{
        .synopsis = "[--revoke NAME] DIARY",
        .description = "Lists the phones and tokens paired with the diary's page, one a line: the\n"
                       "name, the kind (phone or token) and when it was paired, separated by tabs.\n"
                       "With --revoke, takes the access of the one named NAME away at once, also\n"
                       "from a server that is running.\n",
        .options = {{kRevoke, "revoke", 0, "NAME", "revoke the phone or token named NAME"}},
        .operands = {{.files = "tlg"}},
    };
    return table;
}

int RunDevices(const std::vector<std::string>& args)
{
    ParsedArguments parsed;
    if (const auto stop = StartVerb(DevicesTable(), "devices", args, parsed))
        return *stop;
    if (parsed.operands.size() != 1)
        return UsageError("devices", "give one diary DIARY");
    DeviceStore store(parsed.operands[0], StateFolder("tarelog"));
    if (!HasOption(parsed, kRevoke))
        return List(store);
    for (const UsedOption& used : parsed.options) {
        if (used.id != kRevoke)
            continue;
        if (const Status<std::string> revoked = store.Revoke(used.value); !revoked) {
            std::fprintf(stderr, "tarelog-cli: %s\n", revoked.error().c_str());
            return kExitFailure;
        }
        std::printf("revoked %s\n", used.value.c_str());
    }
    return kExitOk;
}
