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
class DocumentFiles;
class QFileSystemWatcher;
class QTimer;
class QWidget;

// The frame and view of the one document, created on first use and then
// reused for every New and Open, with the file commands a user expects:
// the save question, Save, Save As, and a failed open or save that leaves
// the document as it was. The frame's title follows the document's name
// and modified flag. The document and what becomes of its file belong to
// the program's DocumentFiles; the template watches the file and tells it.
class CSingleDocTemplate {
public:
    // The frame and view runtime classes, as factories.
    struct Classes {
        std::function<CFrameWnd*()> frame;
        std::function<CView*()> view;
    };
    // The parts of the template's document string, in order.
    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };

    // `app` keeps the recent-file list; `files` owns the document and
    // outlives the template.
    CSingleDocTemplate(CWinApp& app, int resourceId, FrameResources resources, Classes classes, DocumentFiles& files);
    ~CSingleDocTemplate();

    // Opens `path`, or makes a new document when it is empty. False when
    // nothing changed (cancelled, or the file could not be read).
    bool OpenDocumentFile(const QString& path);
    // Asks whether to save a modified document: true to go on.
    bool SaveModified();
    bool DoFileSave();
    bool DoSaveAs();
    // Destroys the frame and view (which save their settings); the
    // document is shown no more.
    void CloseAllDocuments();
    // Looks at the document's file now, as when it changes on disk, and
    // shows what the document's files say of it.
    void CheckFileOnDisk();

    QString GetDocString(DocStringIndex index) const;
    // The file name, or the untitled name for a document never saved.
    QString DocumentTitle() const;

    // The document while a frame shows it, else nullptr.
    CDocument* Document() const;
    // The frame, the application's main window; only the template makes
    // and destroys it.
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

    CWinApp& m_app;
    int m_resourceId;
    FrameResources m_resources;
    Classes m_classes;
    DocumentFiles& m_files;
    CFrameWnd* m_frame = nullptr;
    CView* m_view = nullptr;
    std::unique_ptr<QFileSystemWatcher> m_watcher;
    std::unique_ptr<QTimer> m_diskCheck;
};

// What a window calls the document at `path`: its file's name, or the
// untitled name for a document never saved.
QString DocumentTitleOf(const std::string& path);

// The absolute form of `path` under which documents and recent files are
// compared.
QString NormalizedDocumentPath(const QString& path);
