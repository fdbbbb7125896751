#pragma once

#include <QDialog>
#include <QRect>
#include <QSize>

#include <map>
#include <optional>

class CDataExchange;
class QFont;
class QLabel;
class QPushButton;

// A modal dialog laid out like a resource template: its size and every
// control's rectangle are given in dialog units, which scale with the dialog
// font, and each control carries its numeric id (also its object name), so
// data exchange, handlers and tests find controls by id.
//
// Results follow the window system: OK ends with 1, Cancel and the close box
// with 2, and EndDialog can end with any other code.
class CDialog : public QDialog {
    Q_OBJECT
public:
    explicit CDialog(QWidget* parent = nullptr);

    int DoModal();
    void EndDialog(int result);
    // Members to controls (false) or controls to members with validation
    // (true); false when a check failed (the user has been told).
    bool UpdateData(bool saveAndValidate = true);
    // Runs the initialisation once; DoModal and the first show call it.
    void InitDialog();
    // Qt's own OK and cancel paths (Enter, Escape, the close box) take the
    // framework's: OK validates first, cancel ends with 2.
    void accept() override;
    void reject() override;

    QWidget* GetDlgItem(int id) const;
    template <class T> T* GetDlgItem(int id) const { return qobject_cast<T*>(GetDlgItem(id)); }

    // Average character width and character height of the dialog font.
    QSize DialogBaseUnits() const;
    // Dialog units to pixels: x by width / 4, y by height / 8, rounded.
    QRect MapDialogRect(const QRect& units) const;

    // Timers carry the caller's ids, not the window system's.
    void SetTimer(int id, int milliseconds);
    void KillTimer(int id);
    bool HasTimer(int id) const;

protected:
    void SetTemplate(const QString& title, int widthUnits, int heightUnits);
    template <class T> T* AddControl(int id, int x, int y, int width, int height)
    {
        T* control = new T(this);
        PlaceControl(control, id, QRect(x, y, width, height));
        return control;
    }
    void PlaceControl(QWidget* control, int id, const QRect& units);
    // Static text at its template rectangle. CJK glyphs run wider than the
    // Latin average the units are measured from, so a text that would be cut
    // grows away from its alignment edge (a right-aligned label to the left)
    // instead of being clipped.
    QLabel* AddStatic(int id, int x, int y, int width, int height, const QString& text, Qt::Alignment alignment);
    // The default button "OK" (id 1) at its template rectangle; it ends the
    // dialog through OnOK, so the data exchange checks the fields first.
    QPushButton* AddOkButton(int x, int y, int width, int height);

    virtual bool OnInitDialog();
    virtual void DoDataExchange(CDataExchange&) {}
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnTimer(int) {}

    void showEvent(QShowEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    std::map<int, int> m_timers; // window-system timer id -> caller's id
    bool m_initialized = false;
};

// The font every dialog is laid out in: a Japanese-capable face at 9 points.
QFont DialogFont();

// The template id a control was added with (IDC_STATIC for a label);
// nothing for any other widget, such as the parts inside a control.
std::optional<int> ControlIdOf(const QWidget* widget);

// Id of a control that has none in its template (labels).
constexpr int IDC_STATIC = -1;
