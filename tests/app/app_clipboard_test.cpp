// Copy and paste in the real window (offscreen): the graph and the shown
// days on the clipboard, and days pasted from a spreadsheet's text.
#include "app_fixture.h"

#include "app/diary_undo_stack.h"
#include "view/view_command_ids.h"

#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QTest>

namespace {

class AppClipboardTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        QGuiApplication::clipboard()->clear();
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        QTest::keyClick(Frame(), key, modifiers);
        Settle();
    }

    void Paste(const QString& text, Qt::Key key = Qt::Key_V, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        QGuiApplication::clipboard()->setText(text);
        Key(key, modifiers);
    }
};

TEST_F(AppClipboardTest, CopyPutsTheGraphAsPngAndSvgAndTheShownDaysAsText)
{
    ASSERT_TRUE(StartAndSettle());
    Doc()->m_digits = 2;
    Doc()->SetDayWeight(70.0, 2024, 1, 1);
    Doc()->SetDayWeight(65.125, 2024, 3, 1);
    Doc()->SetDayWeight(64.5, 2024, 3, 20);
    Doc()->SetModifiedFlag(false);
    Frame()->resize(400, 300);
    Settle();
    Key(Qt::Key_C, Qt::ControlModifier);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), QStringLiteral("2024-01-01\t70.00\n2024-03-01\t65.12\n2024-03-20\t64.50\n"));
    QImage png;
    ASSERT_TRUE(png.loadFromData(data->data(QStringLiteral("image/png")), "PNG"));
    EXPECT_EQ(png.size(), View()->size());
    // The weight line is drawn: not every pixel is the white background.
    bool drawn = false;
    for (int y = 0; y < png.height() && !drawn; ++y)
        for (int x = 0; x < png.width() && !drawn; ++x)
            drawn = png.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_TRUE(drawn);
    const QByteArray svg = data->data(QStringLiteral("image/svg+xml"));
    EXPECT_TRUE(svg.contains("<svg")) << svg.left(200).toStdString();
    EXPECT_TRUE(svg.contains(QStringLiteral("width=\"%1\"").arg(View()->width()).toUtf8()));

    // A range copies the days it shows; Ctrl+Insert copies too.
    Frame()->RouteCommand(ID_VIEW_4_WEEKS);
    QGuiApplication::clipboard()->clear();
    Key(Qt::Key_Insert, Qt::ControlModifier);
    ASSERT_NE(QGuiApplication::clipboard()->mimeData(), nullptr);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("2024-03-01\t65.12\n2024-03-20\t64.50\n"));
    // Copying changed nothing.
    EXPECT_FALSE(Doc()->IsModified());
    Frame()->RouteCommand(ID_VIEW_ALL);
}

TEST_F(AppClipboardTest, PasteMergesAfterTheSummaryAsOneStep)
{
    ASSERT_TRUE(StartAndSettle({WriteDiary(QStringLiteral("d.tlg"), {60.0, 61.0})}));
    Frame()->activateWindow();
    Answer(IDYES);
    Paste(QStringLiteral("2024/1/2\t62,5\n2024-01-03\t63\n\n日付なし\t1\n"));
    ASSERT_EQ(m_asked.size(), 1u);
    const QString summary = m_asked[0].text;
    EXPECT_TRUE(summary.contains(QStringLiteral("「クリップボード」"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("追加: 1 日"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("置き換え: 1 日"))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("読み飛ばし: 1 行"))) << summary.toStdString();
    EXPECT_EQ(DaysText(*Doc()), "1/1=60 1/2=62.5 1/3=63");
    EXPECT_TRUE(Doc()->IsModified());
    // One undo takes the whole paste back, and the saved diary is there again.
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(DaysText(*Doc()), "1/1=60 1/2=61");
    EXPECT_FALSE(Doc()->IsModified());
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(DaysText(*Doc()), "1/1=60 1/2=62.5 1/3=63");
}

TEST_F(AppClipboardTest, NoToTheSummaryOrTextWithoutDaysChangesNothing)
{
    ASSERT_TRUE(StartAndSettle({WriteDiary(QStringLiteral("d.tlg"), {60.0})}));
    Frame()->activateWindow();
    Answer(IDNO);
    Paste(QStringLiteral("2024-01-05 66"), Qt::Key_Insert, Qt::ShiftModifier);
    ASSERT_EQ(m_asked.size(), 1u);
    EXPECT_TRUE(m_asked[0].text.contains(QStringLiteral("追加: 1 日")));
    for (const QString& text : {QStringLiteral("see you tomorrow"), QString(), QStringLiteral("65.3\n64.1")}) {
        SCOPED_TRACE(text.toStdString());
        Answer(IDOK);
        Paste(text);
        EXPECT_TRUE(m_asked.back().text.contains(QStringLiteral("貼り付けられる日付と体重がありません")))
            << m_asked.back().text.toStdString();
    }
    EXPECT_EQ(m_asked.size(), 4u);
    EXPECT_EQ(DaysText(*Doc()), "1/1=60");
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_FALSE(m_app->UndoStack().CanUndo());
}

TEST_F(AppClipboardTest, WhatIsCopiedPastesIntoAnotherDiary)
{
    ASSERT_TRUE(StartAndSettle({WriteDiary(QStringLiteral("d.tlg"), {60.5, 61.25, 59.0})}));
    Doc()->m_digits = 2;
    Frame()->activateWindow();
    Key(Qt::Key_C, Qt::ControlModifier);
    const std::string copied = DaysText(*Doc());
    ASSERT_TRUE(m_app->DocTemplate()->OpenDocumentFile(QString()));
    Answer(IDYES);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(DaysText(*Doc()), copied);
    Doc()->SetModifiedFlag(false);
}

} // namespace
