#pragma once

#include "platform/qt/resources.h"

#include <QString>
#include <functional>
#include <memory>
#include <string>

class CDocument;
class CFrameWnd;
class CView;
class CWinApp;
class QFileSystemWatcher;
class QTimer;
class QWidget;

// The one document, its frame and its view, created on first use and then
// reused for every New and Open, with the file commands a user expects:
// the save question, Save, Save As, and a failed open or save that leaves
// the document as it was. The frame's title follows the document's name
// and modified flag.
class CSingleDocTemplate {
public:
    // The three runtime classes, as factories.
    struct Classes {
        std::function<std::unique_ptr<CDocument>()> document;
        std::function<CFrameWnd*()> frame;
        std::function<CView*(CDocument&)> view;
    };
    // What a save did: an error for the user (nothing saved), a quiet
    // cancel, or success with a note for the status bar.
    struct SaveResult {
        QString error;
        QString status;
        bool cancelled = false;
    };
    // The one hook for a document's file changed on disk: the template
    // watches the file and asks; what follows (read again, merge later, what
    // the status bar says) is the application's policy.
    class DiskChangeHook {
    public:
        virtual ~DiskChangeHook() = default;
        // The file is no longer what was loaded from or saved to it.
        virtual bool ChangedOnDisk(const CDocument& doc, const std::string& path) const = 0;
        // The watched file or its folder may have changed (and once after the
        // file is opened): acts on it, asking over `parent` if need be, and
        // returns what the status bar says, or empty.
        virtual QString OnFileChanged(CDocument& doc, const std::string& path, QWidget* parent) = 0;
    };
    // Reading and writing the document's file. A failed load returns the
    // message for the user and leaves the document as it was. A save may
    // merge what another program wrote meanwhile, asking through `parent`.
    // The other functions are optional.
    struct FileFunctions {
        std::function<QString(CDocument&, const std::string& path)> load;
        std::function<SaveResult(CDocument&, const std::string& path, QWidget* parent)> save;
        // What to do when another program writes the file; without one the
        // file is not watched.
        std::shared_ptr<DiskChangeHook> diskChange;
        // A new document: nothing on disk is known any more.
        std::function<void()> forget;
        // Recovery copies of unsaved changes: keep one now, drop this
        // window's, or offer one a crashed window left (true when restored).
        std::function<void(const CDocument&, const std::string& path)> keepRecovery;
        std::function<void(const std::string& path)> dropRecovery;
        std::function<bool(CDocument&, const std::string& path, QWidget* parent)> offerRecovery;
    };
    // How soon after a change the recovery copy is written.
    static constexpr int kRecoveryDelayMs = 2000;
    // The parts of the template's document string, in order.
    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };

    // `app` keeps the recent-file list and learns which frame is the main window.
    CSingleDocTemplate(CWinApp& app, int resourceId, FrameResources resources, Classes classes, FileFunctions files);
    ~CSingleDocTemplate();

    // Opens `path`, or makes a new document when it is empty. False when
    // nothing changed (cancelled, or the file could not be read).
    bool OpenDocumentFile(const QString& path);
    // Asks whether to save a modified document: true to go on.
    bool SaveModified();
    bool DoFileSave();
    bool DoSaveAs();
    // Destroys the frame and view (which save their settings) and the document.
    void CloseAllDocuments();
    // Looks at the document's file now, as when it changes on disk, and
    // shows what the disk-change hook says of it.
    void CheckFileOnDisk();
    // Writes the recovery copy now instead of after the delay.
    void KeepRecoveryNow();

    QString GetDocString(DocStringIndex index) const;
    // The file name, or the untitled name for a document never saved.
    QString DocumentTitle() const;

    CDocument* Document() const { return m_document.get(); }
    CFrameWnd* Frame() const { return m_frame; }

private:
    bool CreateFrame();
    bool DoSave(const QString& path);
    bool LoadInto(const QString& path);
    void AdoptPath(const QString& path);
    void UpdateFrameTitle();
    void ShowDocument();
    void Watch(const QString& path);
    void ShowStatus(const QString& text);
    void OnDocumentChanged();
    void DropRecovery(const std::string& path);

    CWinApp& m_app;
    int m_resourceId;
    FrameResources m_resources;
    Classes m_classes;
    FileFunctions m_files;
    std::unique_ptr<CDocument> m_document;
    CFrameWnd* m_frame = nullptr;
    CView* m_view = nullptr;
    std::unique_ptr<QFileSystemWatcher> m_watcher;
    std::unique_ptr<QTimer> m_diskCheck;
    std::unique_ptr<QTimer> m_recoveryTimer;
};

// What a window calls the document at `path`: its file's name, or the
// untitled name for a document never saved.
QString DocumentTitleOf(const std::string& path);

// The absolute form of `path` under which documents and recent files are
// compared.
QString NormalizedDocumentPath(const QString& path);
