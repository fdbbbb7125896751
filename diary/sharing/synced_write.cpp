#include "diary/sharing/synced_write.h"

#include "platform/state_folder.h"
#include "diary/sharing/diary_merge.h"
#include "diary/sharing/conflict_copies.h"
#include "diary/sharing/kept_copies.h"

#include <chrono>
#include <unistd.h>

namespace {

std::int64_t NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

struct LoadedCopy {
    DiaryVersion version;
    FileIdentity identity;
};

// A copy that does not load, or that carries far more than a diary after
// it, is somebody else's file that happens to have such a name.
std::optional<LoadedCopy> LoadCopy(const std::string& path)
{
    CTarelogDoc doc;
    const Result<DiaryFileFacts, DiaryFileError> loaded = LoadDiaryFile(path, doc);
    if (!loaded || loaded->trailingBytes > kSuspectTrailingBytes)
        return std::nullopt;
    return LoadedCopy{DiaryVersion{DiaryContents::Of(doc), loaded->identity.modifiedNs, path}, loaded->identity};
}

} // namespace

SyncedDiaryWrite::SyncedDiaryWrite(const FileWriteLock& lock, std::string stateFolder)
    : m_lock(lock)
    , m_stateFolder(std::move(stateFolder))
    , m_statePath(DiarySyncState::PathIn(m_stateFolder + "/sync", lock.Target()))
{
}

std::string SyncedDiaryWrite::DefaultStateFolder()
{
    return StateFolder("tarelog");
}

Result<DiaryFileFacts, DiaryFileError> SyncedDiaryWrite::Load(CTarelogDoc& doc, Copies copies,
    const std::vector<DiaryVersion>& others)
{
    m_copies = copies;
    m_others = others;
    m_report = {};
    m_foldedIdentities.clear();
    CTarelogDoc disk;
    Result<DiaryFileFacts, DiaryFileError> loaded = LoadDiaryFile(m_lock.Target(), disk);
    const bool missing = !loaded && IsMissingFile(loaded.error());
    if (!loaded && !missing)
        return loaded;
    m_loadedIdentity = loaded ? loaded->identity : FileIdentity{};
    m_remembers = disk.GetRecordCount() <= kRememberedDays;
    m_state = m_remembers ? DiarySyncState::Load(m_statePath) : DiarySyncState();
    std::vector<DiaryVersion> versions{
        DiaryVersion{DiaryContents::Of(disk), loaded ? loaded->identity.modifiedNs : 0, m_lock.Target()}};
    if (copies == Copies::Fold) {
        for (const std::string& path : FindConflictCopies(m_lock.Target())) {
            std::optional<LoadedCopy> copy = LoadCopy(path);
            if (!copy) {
                m_report.unreadable.push_back(path);
                continue;
            }
            versions.push_back(std::move(copy->version));
            m_report.folded.push_back(path);
            m_foldedIdentities.push_back(copy->identity);
        }
    }
    versions.insert(versions.end(), others.begin(), others.end());
    if (versions.size() == 1 && !m_remembers)
        m_fold = VersionFold{versions[0].contents, {}, 0, {}, std::nullopt};
    else
        m_fold = FoldVersions(versions, m_state);
    m_report.conflicts = m_fold.conflicts;
    m_report.daysFromCopies = m_fold.daysChanged;
    m_foldChanged = !(m_fold.merged == versions[0].contents);
    m_before = m_fold.merged;
    if (m_foldChanged)
        m_fold.merged.ApplyTo(disk);
    doc.TakeContents(disk);
    return loaded;
}

Status<DiaryFileError> SyncedDiaryWrite::Save(CTarelogDoc& doc)
{
    for (int attempt = 1;; ++attempt) {
        const Status<DiaryFileError> saved = SaveDiaryFile(doc, m_lock, &m_loadedIdentity);
        if (saved)
            break;
        if (saved.error().failure.reason != FileReason::ReplacedMeanwhile || attempt == kAttempts)
            return saved;
        if (Status<DiaryFileError> again = TakeInArrival(doc); !again)
            return again;
    }
    Record(DiaryContents::Of(doc));
    KeepFoldedCopies();
    return {};
}

// A sync engine put another machine's version in place while this one was
// written: fold that in as the read did, and put this write's own changes
// on top of it, so that neither side's days are lost.
Status<DiaryFileError> SyncedDiaryWrite::TakeInArrival(CTarelogDoc& doc)
{
    const DiaryContents before = m_before;
    const DiaryContents own = DiaryContents::Of(doc);
    CTarelogDoc arrived;
    const Result<DiaryFileFacts, DiaryFileError> loaded = Load(arrived, m_copies, m_others);
    if (!loaded && !IsMissingFile(loaded.error()))
        return Failed{loaded.error()};
    MergeDiaries(before, m_before, own, ConflictChoice::KeepWindow).merged.ApplyTo(doc);
    return {};
}

void SyncedDiaryWrite::Finish()
{
    Record(m_before);
    KeepFoldedCopies();
}

// The state is this machine's memory, not the diary: a state that cannot
// be written costs only the finer judgement of the next fold.
void SyncedDiaryWrite::Record(const DiaryContents& written)
{
    if (!m_remembers)
        return;
    const DiarySyncState next = StateAfterWrite(m_state, m_fold, m_before, written, NowNs());
    if (!(next == m_state))
        (void)next.Save(m_statePath);
    m_state = next;
}

// A copy that changed since it was read holds something not folded in: it
// stays for the next write.
void SyncedDiaryWrite::KeepFoldedCopies()
{
    KeptCopies kept(m_stateFolder + "/conflict-copies", kKeptDays);
    for (std::size_t i = 0; i < m_foldedIdentities.size(); ++i) {
        const std::string& path = m_report.folded[i];
        if (IdentifyFile(path) == m_foldedIdentities[i] && kept.Keep(path))
            ::unlink(path.c_str());
    }
    kept.RemoveExpired();
    m_foldedIdentities.clear();
}
