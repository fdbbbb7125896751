#include "phone/diary_access.h"

#include "diary/diary_file.h"
#include "diary/sharing/synced_write.h"

namespace {

WriteRefusal RefusalOf(const DiaryFileError& error)
{
    return {error.EnglishMessage(), error.JapaneseMessage()};
}

} // namespace

Status<WriteRefusal> RecordDay(const std::string& path, const DayWeight& entry)
{
    // Held from before the read until after the rename, so that a writer
    // running at the same time cannot slip its day in between and lose it.
    const Result<FileWriteLock, DiaryFileError> lock = LockDiaryFile(path);
    if (!lock)
        return Failed{RefusalOf(lock.error())};
    CTarelogDoc doc;
    SyncedDiaryWrite write(*lock, SyncedDiaryWrite::DefaultStateFolder());
    const Result<DiaryFileFacts, DiaryFileError> loaded = write.Load(doc);
    if (!loaded && !IsMissingFile(loaded.error()))
        return Failed{RefusalOf(loaded.error())};
    // Such a file is almost certainly not a diary: `add` asks for --force
    // before writing over it, and the page has no way to ask.
    if (loaded && loaded->trailingBytes > kSuspectTrailingBytes)
        return Failed{
            WriteRefusal{path + " carries data after the diary and is probably not a diary; nothing was written",
                "日記のあとに別のデータがあり、日記ではないようです。記録しませんでした。"}};
    doc.SetDayWeight(entry.weight, entry.year, entry.month, entry.day);
    if (const Status<DiaryFileError> saved = write.Save(doc); !saved)
        return Failed{RefusalOf(saved.error())};
    return {};
}
