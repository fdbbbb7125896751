#pragma once

#include <functional>
#include <string>
#include <vector>

class CArchive;
class CDocument;

// Anything that shows a document and repaints when it changes.
class CDocumentView {
public:
    virtual ~CDocumentView() = default;
    // hint 0 means "everything may have changed".
    virtual void OnUpdate(CDocument* document, long hint) = 0;
};

// The framework's document: the modified flag, the file it came from and
// the views that show it. Plain C++, so documents build without a window.
class CDocument {
public:
    virtual ~CDocument() = default;

    bool IsModified() const { return m_modified; }
    // Every change sets the flag, so setting it is also the notice of a
    // change: the change listener hears each one (to keep a recovery copy).
    void SetModifiedFlag(bool modified = true);
    void SetChangeListener(std::function<void()> listener) { m_changeListener = std::move(listener); }
    // Hears the modified flag or the path take another value: what a
    // window's title shows of its document.
    void SetTitleListener(std::function<void()> listener) { m_titleListener = std::move(listener); }

    // Asks every attached view except `sender` to update.
    void UpdateAllViews(CDocumentView* sender, long hint = 0);
    void AddView(CDocumentView* view);
    void RemoveView(CDocumentView* view);

    // UTF-8 path of the file, empty for a document never saved.
    const std::string& GetPathName() const { return m_pathName; }
    void SetPathName(const std::string& path);

    // The new-file step: the base clears the modified flag and the path and
    // reports success; documents extend it to empty their contents.
    virtual bool OnNewDocument();
    virtual void Serialize(CArchive& archive) = 0;

private:
    void NotifyTitleListener();

    std::vector<CDocumentView*> m_views;
    std::string m_pathName;
    bool m_modified = false;
    std::function<void()> m_changeListener;
    std::function<void()> m_titleListener;
};
