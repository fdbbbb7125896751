// Undo and redo in the real window (offscreen): sequences of changes,
// saves and other writers' changes on disk, through the keys a person uses.
#include "app_fixture.h"

#include "app/command_ids.h"
#include "app/diary_undo_stack.h"
#include "view/view_command_ids.h"

#include <QDateEdit>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <sstream>

namespace {

class AppUndoTest : public AppFixture {
protected:
    // Another program writes the day into the diary's file; the window looks.
    void WriteOnDisk(int day, double weight)
    {
        CTarelogDoc other;
        ASSERT_FALSE(LoadDiaryFile(DocPath().toStdString(), other).error_or({}));
        other.SetDayWeight(weight, 2024, 1, day);
        ASSERT_FALSE(SaveDiaryFile(other, DocPath().toStdString()).error_or({}));
        m_app->DocTemplate()->CheckFileOnDisk();
        Settle();
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        QTest::keyClick(Frame(), key, modifiers);
        Settle();
    }

    // One step of a sequence: "set D W", "del D", "undo", "undo-alt", "redo",
    // "redo-shift", "save", "disk D W"; "yes" or "no" after undo and redo
    // answers the question about overwriting.
    void Run(const std::string& op)
    {
        std::istringstream in(op);
        std::string verb, answer;
        in >> verb;
        int day = 0;
        double weight = 0;
        if (verb == "set" || verb == "disk" || verb == "del")
            in >> day >> weight;
        else
            in >> answer;
        if (answer == "yes")
            Answer(IDYES);
        if (answer == "no")
            Answer(IDNO);
        if (verb == "set")
            m_app->UndoStack().SetDay(2024, 1, day, weight);
        else if (verb == "del")
            m_app->UndoStack().RemoveDay(2024, 1, day);
        else if (verb == "undo")
            Key(Qt::Key_Z, Qt::ControlModifier);
        else if (verb == "undo-alt")
            Key(Qt::Key_Backspace, Qt::AltModifier);
        else if (verb == "redo")
            Key(Qt::Key_Y, Qt::ControlModifier);
        else if (verb == "redo-shift")
            Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        else if (verb == "save")
            ASSERT_TRUE(m_app->DocTemplate()->DoFileSave());
        else if (verb == "disk")
            WriteOnDisk(day, weight);
        else
            FAIL() << "unknown step " << op;
    }
};

struct UndoCase {
    const char* name;
    std::vector<std::string> ops;
    const char* days;      // the diary afterwards (it starts as "1/1=60 1/2=61", saved)
    bool modified;         // the modified mark afterwards
    std::size_t questions; // questions about overwriting a changed day
};

const UndoCase kCases[] = {
    {"undo a new day", {"set 3 62", "undo"}, "1/1=60 1/2=61", false, 0},
    {"undo with alt backspace", {"set 3 62", "undo-alt"}, "1/1=60 1/2=61", false, 0},
    {"redo it", {"set 3 62", "undo", "redo"}, "1/1=60 1/2=61 1/3=62", true, 0},
    {"redo with ctrl shift z", {"set 3 62", "undo", "redo-shift"}, "1/1=60 1/2=61 1/3=62", true, 0},
    {"two steps back", {"set 3 62", "set 1 70", "undo", "undo"}, "1/1=60 1/2=61", false, 0},
    {"one of two steps back", {"set 3 62", "set 1 70", "undo"}, "1/1=60 1/2=61 1/3=62", true, 0},
    {"a replaced day comes back", {"set 2 6530", "undo"}, "1/1=60 1/2=61", false, 0},
    {"a deleted day comes back in its place", {"del 1", "undo"}, "1/1=60 1/2=61", false, 0},
    {"nothing to undo", {"undo", "redo"}, "1/1=60 1/2=61", false, 0},
    {"a new change drops the redo", {"set 3 62", "undo", "set 4 63", "redo"}, "1/1=60 1/2=61 1/4=63", true, 0},
    // The saved state is where the mark goes.
    {"undo after a save marks it", {"set 3 62", "save", "undo"}, "1/1=60 1/2=61", true, 0},
    {"redo back to the save clears it", {"set 3 62", "save", "undo", "redo"}, "1/1=60 1/2=61 1/3=62", false, 0},
    {"undo to a save in the middle", {"set 3 62", "save", "set 4 63", "undo"}, "1/1=60 1/2=61 1/3=62", false, 0},
    // Another writer's days on disk: reloaded into the unchanged window, or
    // merged on save into the changed one, and never undone.
    {"a reloaded day of another writer stays", {"set 3 62", "save", "disk 1 59", "undo"}, "1/1=59 1/2=61", true, 0},
    {"a merged day of another writer stays", {"set 3 62", "disk 1 59", "save", "undo"}, "1/1=59 1/2=61", true, 0},
    {"the same day changed on disk: no keeps it", {"set 1 70", "save", "disk 1 75", "undo no"}, "1/1=75 1/2=61", false,
        1},
    {"the same day changed on disk: yes undoes", {"set 1 70", "save", "disk 1 75", "undo yes"}, "1/1=60 1/2=61", true,
        1},
    {"a redo over a day changed on disk asks too", {"set 3 62", "undo", "save", "disk 3 50", "redo no"},
        "1/1=60 1/2=61 1/3=50", false, 1},
};

void PrintTo(const UndoCase& c, std::ostream* out)
{
    *out << c.name;
}

class AppUndoTable : public AppUndoTest, public ::testing::WithParamInterface<UndoCase> {};

TEST_P(AppUndoTable, KeysUndoAndRedoTheWindowsChangesOnly)
{
    const UndoCase& c = GetParam();
    ASSERT_TRUE(StartAndSettle({WriteDiary(QStringLiteral("d.tlg"), {60.0, 61.0})}));
    Frame()->activateWindow();
    for (const std::string& op : c.ops) {
        SCOPED_TRACE(op);
        Run(op);
    }
    EXPECT_EQ(DaysText(*Doc()), c.days);
    EXPECT_EQ(Doc()->IsModified(), c.modified);
    EXPECT_EQ(Frame()->windowTitle().contains(QLatin1Char('*')), c.modified);
    EXPECT_EQ(m_asked.size(), c.questions);
    Doc()->SetModifiedFlag(false);
}

INSTANTIATE_TEST_SUITE_P(Sequences, AppUndoTable, ::testing::ValuesIn(kCases),
    [](const ::testing::TestParamInfo<UndoCase>& info) {
    std::string name = info.param.name;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
});

TEST_F(AppUndoTest, MenuItemsLeadTheDataMenuAndGrayWithNothingToDo)
{
    ASSERT_TRUE(StartAndSettle());
    QMenu* menu = Frame()->FindPopup(QStringLiteral("ﾃﾞｰﾀ"));
    ASSERT_NE(menu, nullptr);
    QAction* undo = Frame()->FindAction(ID_EDIT_UNDO);
    QAction* redo = Frame()->FindAction(ID_EDIT_REDO);
    ASSERT_NE(undo, nullptr);
    ASSERT_NE(redo, nullptr);
    EXPECT_EQ(undo->statusTip(), QStringLiteral("直前に行った動作を元に戻す"));
    EXPECT_EQ(redo->statusTip(), QStringLiteral("直前に行った動作を繰り返す"));
    emit menu->aboutToShow();
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    m_app->UndoStack().SetDay(2024, 1, 1, 60.0);
    emit menu->aboutToShow();
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    undo->trigger();
    Settle();
    emit menu->aboutToShow();
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_TRUE(redo->isEnabled());
    EXPECT_EQ(Doc()->GetRecordCount(), 0);
}

TEST_F(AppUndoTest, TheEntryDialogAndTheUnitDialogAreUndone)
{
    ASSERT_TRUE(StartAndSettle({WriteDiary(QStringLiteral("d.tlg"), {60.0})}));
    // 6530 for 65.30 is far from the latest weight: recorded after the question.
    Answer(IDYES);
    OnNextModal([](QDialog& dialog) {
        dialog.findChild<QDateEdit*>()->setDate(QDate(2024, 1, 5));
        dialog.findChild<QLineEdit*>()->setText(QStringLiteral("6530"));
        dialog.accept();
    });
    QTest::mouseDClick(View(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    Settle();
    ASSERT_EQ(DaysText(*Doc()), "1/1=60 1/5=6530");
    OnNextModal([](QDialog& dialog) {
        for (QLineEdit* edit : dialog.findChildren<QLineEdit*>())
            if (edit->text() == QStringLiteral("k"))
                edit->setText(QStringLiteral("kg"));
        dialog.accept();
    });
    Frame()->RouteCommand(ID_DATA_UNIT);
    Settle();
    ASSERT_EQ(Doc()->m_unit, u"kg");
    Frame()->RouteCommand(ID_EDIT_UNDO);
    EXPECT_EQ(Doc()->m_unit, u"k");
    EXPECT_EQ(DaysText(*Doc()), "1/1=60 1/5=6530");
    Frame()->RouteCommand(ID_EDIT_UNDO);
    EXPECT_EQ(DaysText(*Doc()), "1/1=60");
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(AppUndoTest, OneRunOfTheListEditorIsOneStep)
{
    ASSERT_TRUE(StartAndSettle({WriteDiary(QStringLiteral("d.tlg"), {60.0, 61.0, 62.0})}));
    Answer(IDYES); // 削除しますか
    bool ran = false;
    OnNextModal([&ran](QDialog& dialog) {
        auto* list = dialog.findChild<QListWidget*>();
        QElapsedTimer clock;
        clock.start();
        while (list->count() < 3 && clock.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        ASSERT_EQ(list->count(), 3);
        auto button = [&dialog](const QString& text) {
            for (QPushButton* b : dialog.findChildren<QPushButton*>())
                if (b->text() == text)
                    return b;
            return static_cast<QPushButton*>(nullptr);
        };
        list->item(0)->setSelected(true);
        dialog.findChild<QLineEdit*>()->setText(QStringLiteral("59.5"));
        button(QStringLiteral("更新"))->click();
        list->item(2)->setSelected(true);
        button(QStringLiteral("削除"))->click();
        ran = true;
        dialog.close();
    });
    Frame()->RouteCommand(ID_DATA_EDIT);
    Settle();
    ASSERT_TRUE(ran);
    ASSERT_EQ(DaysText(*Doc()), "1/1=59.5 1/2=61");
    Frame()->RouteCommand(ID_EDIT_UNDO);
    EXPECT_EQ(DaysText(*Doc()), "1/1=60 1/2=61 1/3=62");
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_FALSE(m_app->UndoStack().CanUndo());
    Frame()->RouteCommand(ID_EDIT_REDO);
    EXPECT_EQ(DaysText(*Doc()), "1/1=59.5 1/2=61");
}

TEST_F(AppUndoTest, AnotherDiaryStartsAHistoryOfItsOwn)
{
    const QString second = WriteDiary(QStringLiteral("e.tlg"), {50.0});
    ASSERT_TRUE(StartAndSettle({WriteDiary(QStringLiteral("d.tlg"), {60.0})}));
    m_app->UndoStack().SetDay(2024, 1, 2, 61.0);
    ASSERT_TRUE(m_app->DocTemplate()->DoFileSave());
    ASSERT_TRUE(m_app->UndoStack().CanUndo());
    ASSERT_TRUE(m_app->DocTemplate()->OpenDocumentFile(second));
    EXPECT_FALSE(m_app->UndoStack().CanUndo());
    m_app->UndoStack().SetDay(2024, 1, 3, 52.0);
    // A new diary (nothing to save: the question is answered No).
    Answer(IDNO);
    ASSERT_TRUE(m_app->DocTemplate()->OpenDocumentFile(QString()));
    EXPECT_FALSE(m_app->UndoStack().CanUndo());
    EXPECT_EQ(Doc()->GetRecordCount(), 0);
}

} // namespace
