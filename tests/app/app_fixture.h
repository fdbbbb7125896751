#pragma once

#include "app/tarelog_app.h"
#include "diary/diary_file.h"
#include "diary/tarelog_doc.h"
#include "platform/qt/cmd_target.h"
#include "platform/qt/file_dialog.h"
#include "platform/qt/frame_wnd.h"
#include "platform/qt/message_box.h"
#include "platform/qt/offscreen_gui.h"
#include "platform/qt/single_doc_template.h"
#include "view/qt/tarelog_view.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <vector>

// One QApplication for the whole test program; the offscreen platform comes
// from the test registration (or is forced here when a test is run by hand).
inline QApplication& TestApplication()
{
    EnsureOffscreenWidgetApplication("tarelog-app-tests");
    return *qApp;
}

// Runs `body` on the next modal dialog that opens, from the message loop;
// gives up after a second.
inline void OnNextModal(std::function<void(QDialog&)> body)
{
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(5);
    int attempts = 0;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, body, attempts]() mutable {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog || ++attempts >= 200) {
            timer->stop();
            timer->deleteLater();
        }
        if (dialog)
            body(*dialog);
    });
    timer->start();
}

// The diary's records as "1/1=60 1/2=61": month/day=weight in record order.
inline std::string DaysText(const CTarelogDoc& doc)
{
    std::ostringstream out;
    for (const WeightRecord& r : doc.Records())
        out << (out.tellp() > 0 ? " " : "") << r.month << "/" << r.day << "=" << r.weight;
    return out.str();
}

struct AskedQuestion {
    QString text;
    unsigned type;
};

// Starts the real application in a test folder: the profile, the recent
// files and every diary live there. Message boxes and file dialogs are
// answered from queues the test fills; an unexpected one fails the test.
class AppFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApplication();
        ASSERT_TRUE(m_dir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.filePath(QStringLiteral("config")));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.filePath(QStringLiteral("config")));
        // Recovery copies and the start marker live in the test folder too.
        qputenv("XDG_STATE_HOME", m_dir.filePath(QStringLiteral("state")).toLocal8Bit());
        SetMessageBoxResponder([this](const QString& text, unsigned type) {
            m_asked.push_back({text, type});
            if (m_answers.empty()) {
                ADD_FAILURE() << "unexpected message box: " << text.toStdString();
                return IDCANCEL;
            }
            const int answer = m_answers.front();
            m_answers.pop_front();
            return answer;
        });
        SetFileDialogResponder([this](FileDialogKind kind, const QString& suggested) {
            m_fileDialogs.push_back({kind, suggested});
            if (m_chosenFiles.empty()) {
                ADD_FAILURE() << "unexpected file dialog";
                return QString();
            }
            const QString path = m_chosenFiles.front();
            m_chosenFiles.pop_front();
            return path;
        });
        SetCommandObserver([this](int id) { m_routed.push_back(id); });
    }

    void TearDown() override
    {
        Quit();
        SetMessageBoxResponder(nullptr);
        SetFileDialogResponder(nullptr);
        SetCommandObserver(nullptr);
        EXPECT_TRUE(m_answers.empty()) << "a prepared message-box answer was not used";
        EXPECT_TRUE(m_chosenFiles.empty()) << "a prepared file choice was not used";
    }

    // InitInstance with these arguments; the posted start-up commands have
    // not run yet.
    bool Start(const QStringList& arguments = {})
    {
        m_app = std::make_unique<CTarelogApp>();
        m_app->SetCommandLine(arguments);
        return m_app->InitInstance();
    }
    // Start, then let the message loop handle what start-up posted.
    bool StartAndSettle(const QStringList& arguments = {})
    {
        const bool started = Start(arguments);
        Settle();
        return started;
    }
    // What the message loop does once the current message is handled.
    static void Settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        }
    }
    // Ends the application as the process exit does: the view saves its
    // colours, then the profile goes.
    void Quit()
    {
        if (!m_app)
            return;
        m_app->ExitInstance();
        m_app.reset();
        Settle();
    }

    CFrameWnd* Frame() const { return m_app ? m_app->GetMainWnd() : nullptr; }
    CTarelogDoc* Doc() const { return m_app ? m_app->Diary() : nullptr; }
    CTarelogView* View() const { return Frame() ? static_cast<CTarelogView*>(Frame()->GetActiveView()) : nullptr; }
    QString DocPath() const { return Doc() ? QString::fromStdString(Doc()->GetPathName()) : QString(); }

    QString FilePath(const QString& name) const { return m_dir.filePath(name); }
    // A diary on disk with one record per weight, from 2024-01-01 on.
    QString WriteDiary(const QString& name, const std::vector<double>& weights) const
    {
        CTarelogDoc doc;
        for (std::size_t i = 0; i < weights.size(); ++i)
            doc.SetDayWeight(weights[i], 2024, 1, 1 + static_cast<int>(i));
        const QString path = FilePath(name);
        const DiaryFileError error = SaveDiaryFile(doc, path.toStdString()).error_or({});
        EXPECT_FALSE(error) << error.EnglishMessage();
        return path;
    }
    static std::vector<double> WeightsIn(const QString& path)
    {
        CTarelogDoc doc;
        const DiaryFileError error = LoadDiaryFile(path.toStdString(), doc).error_or({});
        EXPECT_FALSE(error) << error.EnglishMessage();
        return WeightsOf(doc);
    }
    static std::vector<double> WeightsOf(const CTarelogDoc& doc)
    {
        std::vector<double> weights;
        for (const WeightRecord& record : doc.Records())
            weights.push_back(record.weight);
        return weights;
    }
    QStringList RecentFiles() const
    {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Ostrel"),
            QStringLiteral("Tarelog"));
        QStringList files;
        for (int i = 1; i <= 4; ++i) {
            const QString file = settings.value(QStringLiteral("Recent File List/File%1").arg(i)).toString();
            if (!file.isEmpty())
                files << file;
        }
        return files;
    }

    void Answer(int id) { m_answers.push_back(id); }
    void Choose(const QString& path) { m_chosenFiles.push_back(path); }

    QTemporaryDir m_dir;
    std::unique_ptr<CTarelogApp> m_app;
    std::vector<AskedQuestion> m_asked;
    std::deque<int> m_answers;
    std::vector<std::pair<FileDialogKind, QString>> m_fileDialogs;
    std::deque<QString> m_chosenFiles;
    std::vector<int> m_routed;
};
