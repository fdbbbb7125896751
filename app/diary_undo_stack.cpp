#include "app/diary_undo_stack.h"

#include "diary/sharing/diary_contents.h"
#include "diary/sharing/diary_step.h"
#include "diary/tarelog_doc.h"
#include "platform/qt/message_box.h"

#include <QStringList>
#include <QUndoCommand>

namespace {

// One change of the diary. Pushed after the change was made, so its first
// redo (which QUndoStack runs on push) does nothing.
class StepCommand : public QUndoCommand {
public:
    StepCommand(const std::string& name, DiaryStep step, CTarelogDoc& doc)
        : QUndoCommand(QString::fromStdString(name))
        , m_step(std::move(step))
        , m_doc(doc)
    {
    }

    const DiaryStep& Step() const { return m_step; }

    void undo() override { m_step.Undo(m_doc); }
    void redo() override
    {
        if (m_pushed)
            m_step.Redo(m_doc);
        m_pushed = true;
    }

private:
    DiaryStep m_step;
    CTarelogDoc& m_doc;
    bool m_pushed = false;
};

QString DayText(const DayKey& key)
{
    return QStringLiteral("%1-%2-%3")
        .arg(std::get<0>(key), 4, 10, QLatin1Char('0'))
        .arg(std::get<1>(key), 2, 10, QLatin1Char('0'))
        .arg(std::get<2>(key), 2, 10, QLatin1Char('0'));
}

// What changed since the step, in a few words: the first days and how many more.
QString ChangedText(const std::vector<DayKey>& days, bool unit)
{
    QStringList parts;
    for (std::size_t i = 0; i < days.size() && i < 3; ++i)
        parts << DayText(days[i]);
    QString text = parts.join(QStringLiteral("、"));
    if (days.size() > 3)
        text += QStringLiteral(" ほか %1 日").arg(days.size() - 3);
    if (unit)
        text += (text.isEmpty() ? QString() : QStringLiteral("、")) + QStringLiteral("単位と少数桁");
    return text;
}

// True to go on: nothing changed since, or the person agrees to overwrite it.
bool MayOverwrite(const QString& verb, const QString& ask, const QString& name, const std::vector<DayKey>& days,
    bool unit, QWidget* parent)
{
    if (days.empty() && !unit)
        return true;
    const QString question = QStringLiteral("「%1」のあとで、%2 が変更されています（ほかのプログラムの変更か、"
                                            "読み込み直した内容です）。\n%3と、その変更は失われます。%4")
                                 .arg(name, ChangedText(days, unit), verb, ask);
    return ShowMessageBox(question, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, parent) == IDYES;
}

} // namespace

DiaryUndoStack::DiaryUndoStack() = default;
DiaryUndoStack::~DiaryUndoStack() = default;

void DiaryUndoStack::Attach(CTarelogDoc& doc)
{
    m_doc = &doc;
    Clear();
}

void DiaryUndoStack::Clear()
{
    m_stack.clear();
    if (m_doc)
        m_known = m_doc->Revision();
}

void DiaryUndoStack::Sync()
{
    if (!m_doc)
        return;
    if (m_doc->Revision() != m_known) {
        // Changed beside the history: from the disk, a recovery copy, or
        // straight on the document. Saved, it is the clean state; unsaved,
        // no undo leads back to what the file holds.
        m_known = m_doc->Revision();
        if (m_doc->IsModified())
            m_stack.resetClean();
        else
            m_stack.setClean();
        return;
    }
    // Saved since the last look: this is what the file holds.
    if (!m_doc->IsModified())
        m_stack.setClean();
}

void DiaryUndoStack::Record(const std::string& name, const std::function<void(CTarelogDoc&)>& change)
{
    if (!m_doc)
        return;
    Sync();
    const DiaryContents before = DiaryContents::Of(*m_doc);
    change(*m_doc);
    DiaryStep step = DiaryStep::Between(before, DiaryContents::Of(*m_doc));
    m_known = m_doc->Revision();
    if (!step.Empty())
        m_stack.push(new StepCommand(name, std::move(step), *m_doc));
}

bool DiaryUndoStack::CanUndo()
{
    Sync();
    return m_stack.canUndo();
}

bool DiaryUndoStack::CanRedo()
{
    Sync();
    return m_stack.canRedo();
}

void DiaryUndoStack::Undo(QWidget* parent)
{
    if (!CanUndo())
        return;
    const auto* command = static_cast<const StepCommand*>(m_stack.command(m_stack.index() - 1));
    const DiaryStep& step = command->Step();
    if (!MayOverwrite(QStringLiteral("元に戻す"), QStringLiteral("元に戻しますか?"), command->text(),
            step.ChangedSinceDone(*m_doc), step.UnitChangedSinceDone(*m_doc), parent))
        return;
    m_stack.undo();
    Moved();
}

void DiaryUndoStack::Redo(QWidget* parent)
{
    if (!CanRedo())
        return;
    const auto* command = static_cast<const StepCommand*>(m_stack.command(m_stack.index()));
    const DiaryStep& step = command->Step();
    if (!MayOverwrite(QStringLiteral("やり直す"), QStringLiteral("やり直しますか?"), command->text(),
            step.ChangedSinceUndone(*m_doc), step.UnitChangedSinceUndone(*m_doc), parent))
        return;
    m_stack.redo();
    Moved();
}

void DiaryUndoStack::Moved()
{
    m_known = m_doc->Revision();
    // Back at the saved state the diary is what its file holds.
    m_doc->SetModifiedFlag(!m_stack.isClean());
    m_doc->UpdateAllViews(nullptr, 0);
}
