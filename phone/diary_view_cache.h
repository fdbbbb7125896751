#pragma once

#include "diary/diary_file_error.h"
#include "diary/tarelog_doc.h"
#include "phone/diary_figures.h"
#include "platform/result.h"
#include "platform/safe_file.h"

#include <memory>
#include <mutex>
#include <string>

// The diary as the page shows it: its figures and its graph, worked out
// once. A century of days takes milliseconds to load, sum up and draw,
// and every phone's visit would pay them again; the page differs only
// when the file or the settings do.
struct DiaryView {
    std::shared_ptr<const CTarelogDoc> doc;
    DiaryFigures figures;
    std::string graphSvg;
};

class DiaryViewCache {
public:
    explicit DiaryViewCache(std::string diaryPath);

    // The view of the diary as it is on disk now (a missing diary as a new,
    // empty one), with these settings. Safe to call from several threads.
    Result<std::shared_ptr<const DiaryView>, DiaryFileError> Get(const PageSettings& settings);

    const std::string& DiaryPath() const { return m_path; }

private:
    std::string m_path;
    std::mutex m_mutex;
    FileIdentity m_identity;
    PageSettings m_settings;
    std::shared_ptr<const DiaryView> m_view;
};
