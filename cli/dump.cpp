// tarelog-cli dump FILE: the whole diary as one line of JSON.
#include "cli/cli_command.h"

#include "doc/diary_file.h"
#include "platform/format.h"

#include <cmath>
#include <cstdio>

namespace {

const char kUsage[] = "usage: tarelog-cli dump FILE\n\n"
                      "Prints the diary FILE as JSON on stdout: version, unit, digits and every\n"
                      "record in file order (date, year, month, day, weight, reserved bytes).\n";

std::string JsonString(const std::string& utf8)
{
    std::string out = "\"";
    for (const char c : utf8) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            out += std::string("\\") + c;
        else if (u < 0x20 || u == 0x7F)
            out += FormatString("\\u%04x", u);
        else
            out += c;
    }
    return out + "\"";
}

// JSON has no non-finite numbers; they travel as strings.
std::string JsonWeight(double weight)
{
    if (std::isnan(weight))
        return "\"nan\"";
    if (std::isinf(weight))
        return weight > 0 ? "\"inf\"" : "\"-inf\"";
    return ShortestDouble(weight);
}

std::string JsonRecord(const WeightRecord& r)
{
    return FormatString("{\"date\":\"%04d-%02d-%02d\",\"year\":%d,\"month\":%d,\"day\":%d,\"weight\":%s,\"reserved\":\"%02x%02x\"}",
        r.year, r.month, r.day, r.year, r.month, r.day, JsonWeight(r.weight).c_str(), r.reserved[0], r.reserved[1]);
}

int RunDump(const VerbArguments& args)
{
    if (WantsHelp(args)) {
        std::fputs(kUsage, stdout);
        return kExitOk;
    }
    if (args.size() != 1 || args.IsOption(0)) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    CTarelogDoc doc;
    std::int32_t version = 0;
    if (const DiaryFileError error = LoadDiaryFile(args[0], doc, &version)) {
        std::fprintf(stderr, "tarelog-cli: %s\n", error.EnglishMessage().c_str());
        return kExitFailure;
    }
    std::string json = FormatString("{\"version\":%d,\"unit\":%s,\"digits\":%d,\"records\":[", version,
        JsonString(ToUtf8(doc.m_unit)).c_str(), doc.m_digits);
    for (int i = 0; i < doc.GetRecordCount(); ++i) {
        if (i > 0)
            json += ',';
        json += JsonRecord(doc.GetRecord(i));
    }
    json += "]}\n";
    if (std::fwrite(json.data(), 1, json.size(), stdout) != json.size() || std::fflush(stdout) != 0) {
        std::fprintf(stderr, "tarelog-cli: cannot write to standard output\n");
        return kExitFailure;
    }
    return kExitOk;
}

const CliCommandRegistration registration({"dump", "print a diary as JSON", RunDump});

} // namespace
