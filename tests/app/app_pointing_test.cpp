// Reading the graph in the real window: the mark under the pointer and the
// keyboard, the context menu's correction and deletion, zooming with the
// wheel, panning by dragging, the way back to the whole view, and the hint
// of an empty diary.
#include "app_fixture.h"

#include "app/command_ids.h"
#include "dialogs/qt/weight_entry_dlg.h"
#include "view/pointing_text.h"
#include "view/view_command_ids.h"

#include <QAction>
#include <QDateEdit>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

namespace {

class AppPointingTest : public AppFixture {
protected:
    // Ten days from 2024-01-01, 70.0 to 70.9, in a window of a fixed size.
    void StartOnTenDays()
    {
        std::vector<double> weights;
        for (int i = 0; i < 10; ++i)
            weights.push_back(70.0 + i * 0.1);
        ASSERT_TRUE(StartAndSettle({WriteDiary(QStringLiteral("ten.tlg"), weights)}));
        Frame()->resize(640, 560);
        View()->setFocus();
        Paint();
    }
    void Paint()
    {
        // The layout the pointer reads comes from a paint.
        View()->grab();
        Settle();
    }
    QString Status() const { return Frame()->statusBar()->currentMessage(); }
    void Key(Qt::Key key) { QTest::keyClick(View(), key); }
    void Wheel(QPoint at, int delta)
    {
        QWheelEvent event(at, View()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
            Qt::NoScrollPhase, false);
        QApplication::sendEvent(View(), &event);
        Paint();
    }
};

TEST_F(AppPointingTest, KeysAndThePointerMarkADayAndTheStatusBarReadsIt)
{
    StartOnTenDays();
    const QString idle = Status();
    ASSERT_TRUE(idle.startsWith(QStringLiteral("傾向 "))) << idle.toStdString();

    Key(Qt::Key_End);
    EXPECT_EQ(View()->MarkedRecord(), 9u);
    EXPECT_TRUE(Status().startsWith(QStringLiteral("2024/01/10\u300070.9"))) << Status().toStdString();
    Key(Qt::Key_Left);
    Key(Qt::Key_Left);
    EXPECT_EQ(View()->MarkedRecord(), 7u);
    EXPECT_TRUE(Status().startsWith(QStringLiteral("2024/01/08\u300070.7"))) << Status().toStdString();
    EXPECT_TRUE(Status().contains(QStringLiteral("傾向 ")));
    Key(Qt::Key_Home);
    EXPECT_EQ(View()->MarkedRecord(), 0u);
    Key(Qt::Key_Left);
    EXPECT_EQ(View()->MarkedRecord(), 0u) << "the first day stays marked";
    Key(Qt::Key_Right);
    EXPECT_EQ(View()->MarkedRecord(), 1u);
    EXPECT_TRUE(View()->accessibleDescription().contains(QStringLiteral("選択 2024/01/02")))
        << View()->accessibleDescription().toStdString();

    // The pointer: the left edge is nearest the first day, the right edge
    // the last.
    QTest::mouseMove(View(), QPoint(2, 200));
    EXPECT_EQ(View()->MarkedRecord(), 0u);
    QTest::mouseMove(View(), QPoint(View()->width() - 2, 200));
    EXPECT_EQ(View()->MarkedRecord(), 9u);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(View(), &leave);
    EXPECT_FALSE(View()->MarkedRecord());
    EXPECT_EQ(Status(), idle);
    EXPECT_FALSE(View()->accessibleName().isEmpty());
    EXPECT_TRUE(View()->accessibleDescription().contains(QStringLiteral("2024/01/01から2024/01/10まで")))
        << View()->accessibleDescription().toStdString();
}

TEST_F(AppPointingTest, TheContextMenuDeletesTheMarkedDayAfterTheListEditorsQuestion)
{
    StartOnTenDays();
    Key(Qt::Key_Home);
    Key(Qt::Key_Right);
    std::unique_ptr<QMenu> menu = View()->MakeDayMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("この日を修正..."));
    EXPECT_EQ(menu->actions()[1]->text(), QStringLiteral("この日を削除"));

    Answer(IDNO);
    menu->actions()[1]->trigger();
    ASSERT_EQ(m_asked.size(), 1u);
    EXPECT_EQ(m_asked[0].text, QStringLiteral("削除しますか"));
    EXPECT_EQ(m_asked[0].type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(Doc()->GetRecordCount(), 10);
    EXPECT_FALSE(Doc()->IsModified());

    Answer(IDYES);
    menu->actions()[1]->trigger();
    ASSERT_EQ(Doc()->GetRecordCount(), 9);
    EXPECT_EQ(Doc()->Records()[1].day, 3) << "the second day went";
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_FALSE(View()->MarkedRecord()) << "its index names another day now";
    EXPECT_EQ(View()->MakeDayMenu(), nullptr);

    // One undo brings the day back, and the diary is as it was opened.
    Frame()->RouteCommand(ID_EDIT_UNDO);
    ASSERT_EQ(Doc()->GetRecordCount(), 10);
    EXPECT_EQ(Doc()->Records()[1].day, 2);
    EXPECT_EQ(Doc()->Records()[1].weight, 70.1);
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(AppPointingTest, TheContextMenuCorrectsTheMarkedDayInTheEntryDialog)
{
    StartOnTenDays();
    Key(Qt::Key_End);
    Key(Qt::Key_Left);
    std::unique_ptr<QMenu> menu = View()->MakeDayMenu();
    ASSERT_NE(menu, nullptr);
    QString shownDate, shownWeight;
    OnNextModal([&](QDialog& dialog) {
        auto* dlg = qobject_cast<CWeightEntryDlg*>(&dialog);
        ASSERT_NE(dlg, nullptr);
        shownDate = dlg->GetDlgItem<QDateEdit>(IDC_ENTRY_DATE)->date().toString(Qt::ISODate);
        shownWeight = dlg->GetDlgItem<QLineEdit>(IDC_WEIGHT)->text();
        dlg->GetDlgItem<QLineEdit>(IDC_WEIGHT)->setText(QStringLiteral("70.25"));
        dlg->GetDlgItem<QPushButton>(IDOK)->click();
    });
    menu->actions()[0]->trigger();
    EXPECT_EQ(shownDate, QStringLiteral("2024-01-09"));
    EXPECT_EQ(shownWeight.toDouble(), 70.8);
    ASSERT_EQ(Doc()->GetRecordCount(), 10) << "the day is replaced, not added";
    EXPECT_EQ(Doc()->Records()[8].weight, 70.25);
    EXPECT_TRUE(Doc()->IsModified());

    Frame()->RouteCommand(ID_EDIT_UNDO);
    EXPECT_EQ(Doc()->Records()[8].weight, 70.8) << "the correction is undone";
    Frame()->RouteCommand(ID_EDIT_REDO);
    EXPECT_EQ(Doc()->Records()[8].weight, 70.25);
    Doc()->SetModifiedFlag(false);
}

TEST_F(AppPointingTest, TheWheelZoomsDraggingPansAndEscapeShowsTheWholeDiary)
{
    std::vector<double> weights;
    for (int i = 0; i < 200; ++i)
        weights.push_back(80.0 - i * 0.02);
    ASSERT_TRUE(StartAndSettle({WriteDiary(QStringLiteral("long.tlg"), weights)}));
    Frame()->resize(700, 560);
    View()->setFocus();
    Paint();

    Wheel(QPoint(View()->width() / 2, 200), 240);
    ASSERT_TRUE(View()->State().m_zoom);
    const DaySpan zoomed = *View()->State().m_zoom;
    EXPECT_LT(zoomed.Days(), 200);
    EXPECT_GT(zoomed.first, CalendarDate::FromYmd(2024, 1, 1).DayNumber());
    EXPECT_TRUE(Status().startsWith(QString::fromStdString(ShownSpanText(zoomed)))) << Status().toStdString();

    // Dragging right shows earlier days, and stops at the first.
    QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
    QTest::mouseMove(View(), QPoint(340, 200));
    Paint();
    ASSERT_TRUE(View()->State().m_zoom);
    EXPECT_LT(View()->State().m_zoom->first, zoomed.first);
    EXPECT_EQ(View()->State().m_zoom->Days(), zoomed.Days());
    QTest::mouseMove(View(), QPoint(690, 200));
    EXPECT_EQ(View()->State().m_zoom->first, CalendarDate::FromYmd(2024, 1, 1).DayNumber());
    QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, QPoint(690, 200));

    Key(Qt::Key_Escape);
    EXPECT_FALSE(View()->State().m_zoom);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(View(), &leave);
    EXPECT_TRUE(Status().startsWith(QStringLiteral("傾向 "))) << Status().toStdString();

    // Zooming out as far as it goes is the whole view again, and the
    // menu's range chooses over a zoom.
    Frame()->RouteCommand(ID_VIEW_4_WEEKS);
    Wheel(QPoint(350, 200), -120 * 20);
    EXPECT_FALSE(View()->State().m_zoom);
    EXPECT_EQ(View()->State().m_rangeDays, 0);
    Wheel(QPoint(350, 200), 120);
    ASSERT_TRUE(View()->State().m_zoom);
    Frame()->RouteCommand(ID_VIEW_ALL);
    EXPECT_FALSE(View()->State().m_zoom);
}

TEST_F(AppPointingTest, AnEmptyDiaryShowsHowToRecordTheFirstWeight)
{
    ASSERT_TRUE(StartAndSettle());
    Frame()->resize(640, 560);
    Settle();
    const QImage empty = View()->grab().toImage();
    // The hint is dark text in the middle row band, nowhere else.
    int inked = 0;
    for (int y = 0; y < empty.height(); ++y)
        for (int x = 0; x < empty.width(); ++x)
            if (qGray(empty.pixel(x, y)) < 128) {
                ++inked;
                EXPECT_LT(std::abs(y - empty.height() / 2), 20) << x << "," << y;
            }
    EXPECT_GT(inked, 100);
    EXPECT_EQ(View()->accessibleDescription(), QString::fromUtf8(kFirstWeightHint));

    Doc()->SetDayWeight(70.0, 2024, 1, 1);
    Settle();
    const QImage one = View()->grab().toImage();
    EXPECT_NE(one, empty);
    Doc()->SetModifiedFlag(false);
}

} // namespace
