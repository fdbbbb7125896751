// tarelog-cli resave IN OUT: open and save again, as the window's Save As
// does; older files come out in the current version.
#include "cli/commands.h"
#include "cli/synced_diary.h"
#include "cli/verb_preamble.h"

namespace {

const char kUsage[] = "usage: tarelog-cli resave IN OUT\n\n"
                      "Opens the diary IN and saves it as OUT in the current file version.\n"
                      "OUT may be IN itself; it is replaced only once the new file is complete.\n";

} // namespace

int RunResave(const VerbArguments& args)
{
    if (const auto stop = CheckVerbUsage(args, kUsage, ArgumentsFit(args.size() == 2)))
        return *stop;
    // OUT may be IN: the lock is taken before the read, so a writer in
    // between cannot be overwritten.
    const std::optional<FileWriteLock> lock = LockDiaryReporting(args[1]);
    if (!lock)
        return kExitFailure;
    CTarelogDoc doc;
    // Saved over itself, the diary is written like any other change of it:
    // its conflict copies come in. Saved elsewhere, it is a copy of IN.
    const FileIdentity in = IdentifyFile(args[0]);
    if (in.exists && IdentifyFile(lock->Target()) == in) {
        SyncedDiaryWrite write(*lock, SyncedDiaryWrite::DefaultStateFolder());
        bool missing = false;
        return LoadForWriting(write, doc, missing) && SaveWritten(write, doc) ? kExitOk : kExitFailure;
    }
    if (!LoadDiaryReporting(args[0], doc) || !SaveDiaryReporting(doc, *lock))
        return kExitFailure;
    return kExitOk;
}
