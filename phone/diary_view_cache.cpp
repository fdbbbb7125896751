#include "phone/diary_view_cache.h"

#include "diary/diary_file.h"

DiaryViewCache::DiaryViewCache(std::string diaryPath)
    : m_path(std::move(diaryPath))
{
}

Result<std::shared_ptr<const DiaryView>, DiaryFileError> DiaryViewCache::Get(const PageSettings& settings)
{
    // A file replaced or changed in place has another identity: a write by
    // this server, by tarelog-cli or the window, or a sync engine's.
    const FileIdentity now = IdentifyFile(m_path);
    {
        const std::lock_guard hold(m_mutex);
        if (m_view && now == m_identity && settings == m_settings)
            return m_view;
    }
    auto doc = std::make_shared<CTarelogDoc>();
    const Result<DiaryFileFacts, DiaryFileError> loaded = LoadDiaryFile(m_path, *doc);
    if (!loaded && !IsMissingFile(loaded.error()))
        return Failed{loaded.error()};
    auto view = std::make_shared<DiaryView>();
    view->figures = FiguresOf(*doc, settings);
    view->graphSvg = RecentGraphSvg(*doc, settings);
    view->doc = std::move(doc);
    const std::lock_guard hold(m_mutex);
    // The identity of what was read, which may be newer than `now`.
    m_identity = loaded ? loaded->identity : FileIdentity{};
    m_settings = settings;
    m_view = view;
    return std::shared_ptr<const DiaryView>(std::move(view));
}
