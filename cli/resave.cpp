// tarelog-cli resave IN OUT: open and save again, as the window's Save As
// does; older files come out in the current version.
#include "cli/cli_command.h"

#include "doc/diary_file.h"
#include "platform/file_lock.h"

#include <cstdio>

namespace {

const char kUsage[] = "usage: tarelog-cli resave IN OUT\n\n"
                      "Opens the diary IN and saves it as OUT in the current file version.\n"
                      "OUT may be IN itself; it is replaced only once the new file is complete.\n";

int RunResave(const VerbArguments& args)
{
    if (WantsHelp(args)) {
        std::fputs(kUsage, stdout);
        return kExitOk;
    }
    if (args.size() != 2) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    // OUT may be IN: the lock is taken before the read, so a writer in
    // between cannot be overwritten.
    const Result<FileWriteLock, DiaryFileError> lock = LockDiaryFile(args[1]);
    if (!lock) {
        std::fprintf(stderr, "tarelog-cli: %s\n", lock.error().EnglishMessage().c_str());
        return kExitFailure;
    }
    CTarelogDoc doc;
    if (const auto loaded = LoadDiaryFile(args[0], doc); !loaded) {
        std::fprintf(stderr, "tarelog-cli: %s\n", loaded.error().EnglishMessage().c_str());
        return kExitFailure;
    }
    if (const Status<DiaryFileError> saved = SaveDiaryFile(doc, *lock); !saved) {
        std::fprintf(stderr, "tarelog-cli: %s\n", saved.error().EnglishMessage().c_str());
        return kExitFailure;
    }
    return kExitOk;
}

const CliCommandRegistration registration({"resave", "open a diary and save it again", RunResave});

} // namespace
