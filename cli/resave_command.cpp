// tarelog-cli resave IN OUT: open and save again, as the window's Save As
// does; older files come out in the current version.
#include "cli/commands.h"
#include "cli/synced_diary.h"
#include "cli/verb_preamble.h"

const VerbTable& ResaveTable()
{
    static const VerbTable table{
        .synopsis = "IN OUT",
        .description = "Opens the diary IN and saves it as OUT in the current file version.\n"
                       "OUT may be IN itself; it is replaced only once the new file is complete.\n",
        .operands = {{.files = "tlg"}, {.files = "tlg"}},
    };
    return table;
}

int RunResave(const std::vector<std::string>& args)
{
    ParsedArguments parsed;
    if (const auto stop = StartVerb(ResaveTable(), "resave", args, parsed))
        return *stop;
    if (parsed.operands.size() != 2)
        return UsageError("resave", "give the diary IN and the file OUT");
    const std::string& in = parsed.operands[0];
    const std::string& out = parsed.operands[1];
    // OUT may be IN: the lock is taken before the read, so a writer in
    // between cannot be overwritten.
    const std::optional<FileWriteLock> lock = LockDiaryReporting(out);
    if (!lock)
        return kExitFailure;
    CTarelogDoc doc;
    // Saved over itself, the diary is written like any other change of it:
    // its conflict copies come in. Saved elsewhere, it is a copy of IN.
    const FileIdentity source = IdentifyFile(in);
    if (source.exists && IdentifyFile(lock->Target()) == source) {
        SyncedDiaryWrite write(*lock, SyncedDiaryWrite::DefaultStateFolder());
        bool missing = false;
        return LoadForWriting(write, doc, missing) && SaveWritten(write, doc) ? kExitOk : kExitFailure;
    }
    if (!LoadDiaryReporting(in, doc) || !SaveDiaryReporting(doc, *lock))
        return kExitFailure;
    return kExitOk;
}
