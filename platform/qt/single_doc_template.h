#pragma once

#include "platform/qt/resources.h"

#include <QString>
#include <functional>
#include <memory>
#include <string>

class CDocument;
class CFrameWnd;
class CView;

// The one document, its frame and its view, created on first use and then
// reused for every New and Open, with the file commands a user expects:
// the save question, Save, Save As, and a failed open or save that leaves
// the document as it was.
class CSingleDocTemplate {
public:
    // The three runtime classes, as factories.
    struct Classes {
        std::function<std::unique_ptr<CDocument>()> document;
        std::function<CFrameWnd*()> frame;
        std::function<CView*(CDocument&)> view;
    };
    // Reading and writing the document's file; each returns the message for
    // the user, empty on success. A failed load leaves the document as it was.
    struct FileFunctions {
        std::function<QString(CDocument&, const std::string& path)> load;
        std::function<QString(const CDocument&, const std::string& path)> save;
    };
    // The parts of the template's document string, in order.
    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };

    CSingleDocTemplate(int resourceId, FrameResources resources, Classes classes, FileFunctions files);
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

    QString GetDocString(DocStringIndex index) const;
    // The file name, or the untitled name for a document never saved.
    QString DocumentTitle() const;
    void UpdateFrameTitle();

    int ResourceId() const { return m_resourceId; }
    CDocument* Document() const { return m_document.get(); }
    CFrameWnd* Frame() const { return m_frame; }

private:
    bool CreateFrame();
    bool DoSave(const QString& path);
    void ShowDocument();

    int m_resourceId;
    FrameResources m_resources;
    Classes m_classes;
    FileFunctions m_files;
    std::unique_ptr<CDocument> m_document;
    CFrameWnd* m_frame = nullptr;
    CView* m_view = nullptr;
};

// The absolute form of `path` under which documents and recent files are
// compared.
QString NormalizedDocumentPath(const QString& path);
