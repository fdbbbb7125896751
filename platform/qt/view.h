#pragma once

#include "platform/document.h"
#include "platform/qt/cmd_target.h"

#include <QWidget>

class QPainter;

// The framework's view: a widget that shows one document, repaints when the
// document asks its views to update and routes its own commands through the
// frame. Painting erases to white, then calls OnDraw.
class CView : public QWidget, public CCmdTarget, public CDocumentView {
    Q_OBJECT
public:
    explicit CView(QWidget* parent = nullptr);
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    // Attaches the view to `document` (nullptr detaches it).
    void SetDocument(CDocument* document);

    // Runs when a new or opened document is first shown.
    virtual void OnInitialUpdate();
    void OnUpdate(CDocument* document, long hint) override;

protected:
    virtual void OnDraw(QPainter& painter) = 0;

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    CDocument* m_pDocument = nullptr;
};
