// Writes a picture of each dialog, as the user first sees it, into the
// folder named on the command line: dialog-entry.png, dialog-list.png,
// dialog-unit.png, dialog-color.png and dialog-goal.png.
#include "dialogs/qt/color_dlg.h"
#include "dialogs/qt/goal_dlg.h"
#include "dialogs/qt/edit_list_dlg.h"
#include "dialogs/qt/unit_digits_dlg.h"
#include "dialogs/qt/weight_entry_dlg.h"
#include "diary/tarelog_doc.h"
#include "platform/memory_profile_store.h"
#include "platform/qt/offscreen_gui.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QListWidget>
#include <QPainter>

#include <array>
#include <cstdio>

namespace {

// Offscreen windows have no frame; a plain caption with the title and the
// close box stands in for the window manager's.
QImage WithCaption(CDialog& dlg)
{
    const QImage client = dlg.grab().toImage();
    const int captionHeight = dlg.fontMetrics().height() + 8;
    QImage framed(client.width() + 2, client.height() + captionHeight + 1, QImage::Format_RGB32);
    framed.fill(QColor(0x30, 0x50, 0x90));
    QPainter painter(&framed);
    painter.setFont(dlg.font());
    painter.setPen(Qt::white);
    const QRect caption(6, 0, framed.width() - 12, captionHeight);
    painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter, dlg.windowTitle());
    painter.drawText(caption, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("×"));
    painter.drawImage(1, captionHeight, client);
    return framed;
}

bool Save(CDialog& dlg, const QDir& folder, const char* name)
{
    dlg.show();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 300)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    const QString path = folder.filePath(QString::fromUtf8(name));
    if (!WithCaption(dlg).save(path)) {
        std::fprintf(stderr, "cannot write %s\n", path.toLocal8Bit().constData());
        return false;
    }
    dlg.hide();
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    PreferOffscreenPlatform();
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: dialog_screenshots FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));

    CTarelogDoc doc;
    const double weights[] = {65.3, 65.1, 64.8, 65.0, 64.6, 64.4, 64.7, 64.2};
    for (int i = 0; i < 8; ++i)
        doc.SetDayWeight(weights[i], 2001, 5, 3 + i);
    bool ok = true;

    CWeightEntryDlg entry(doc);
    entry.m_date = CalendarDate::FromYmd(2001, 5, 11);
    ok &= Save(entry, folder, "dialog-entry.png");

    CEditListDlg list(doc);
    list.show();
    auto* lines = list.GetDlgItem<QListWidget>(IDC_RECORD_LIST);
    QElapsedTimer clock;
    clock.start();
    while (lines->count() == 0 && clock.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    lines->item(2)->setSelected(true);
    ok &= Save(list, folder, "dialog-list.png");

    MemoryProfileStore profile;
    doc.m_unit = u"kg";
    doc.m_digits = 1;
    CUnitDigitsDlg unit(doc, profile);
    ok &= Save(unit, folder, "dialog-unit.png");

    std::array<Color, 10> colors{MakeColor(200, 40, 40), MakeColor(0, 0, 0), MakeColor(0, 0, 128), MakeColor(0, 96, 0),
        MakeColor(255, 160, 0), MakeColor(0, 160, 255), MakeColor(160, 0, 160), 0, 0, 0};
    CColorDlg color(colors.data());
    ok &= Save(color, folder, "dialog-color.png");

    CGoalDlg goal(62.5);
    ok &= Save(goal, folder, "dialog-goal.png");
    return ok ? 0 : 1;
}
