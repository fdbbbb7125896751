// The questions a window asks about values two versions of its diary hold
// differently: a line for each conflict, with every digit of both weights,
// the unit and digits named instead of a day, and at most ten lines.
#include "app/disk_change_policy.h"

#include <gtest/gtest.h>

namespace {

const QString kDiskHead = QStringLiteral(
    "ほかのプログラムがこのファイルを変更しました。次の項目は、ファイルとこの画面で値が食い違っています。\n\n");
const QString kDiskTail = QStringLiteral("\nどちらの値を残しますか? ほかの項目は両方の変更をまとめて保存します。");

TEST(ConflictQuestions, TheFileAgainstTheWindowNamesEachDayAndSetting)
{
    // As keeping the file's values settles them: the kept weight is the file's.
    const std::vector<DiaryConflict> conflicts{
        {DiaryConflict::Kind::Day, {2024, 1, 5}, 66.12345, std::nullopt, {}},
        {DiaryConflict::Kind::Day, {987, 12, 31}, std::nullopt, 70.0, {}},
        SettingsConflict(DiaryConflict::Kind::Unit),
        SettingsConflict(DiaryConflict::Kind::Digits),
    };
    EXPECT_EQ(ConflictQuestion(conflicts),
        kDiskHead
            + QStringLiteral("2024/01/05　ファイル: 66.12345　この画面: 削除\n"
                             "987/12/31　ファイル: 削除　この画面: 70\n"
                             "単位\n"
                             "小数桁\n")
            + kDiskTail);

    const std::vector<DiaryConflict> many(11, conflicts[0]);
    const QString question = ConflictQuestion(many);
    EXPECT_EQ(question.count(QStringLiteral("2024/01/05")), 10);
    EXPECT_TRUE(question.endsWith(QStringLiteral("ほか 1 件\n") + kDiskTail)) << question.toStdString();
}

TEST(ConflictQuestions, TwoMachinesNameTheKeptWeightAndTheOther)
{
    const std::vector<DiaryConflict> conflicts{
        {DiaryConflict::Kind::Day, {2024, 3, 9}, 75.5, 74.25, "a.tlg"},
        {DiaryConflict::Kind::Day, {2024, 3, 10}, std::nullopt, 74.0, "b.tlg"},
        SettingsConflict(DiaryConflict::Kind::UnitAndDigits, "c.tlg"),
    };
    EXPECT_EQ(CopyConflictQuestion(conflicts),
        QStringLiteral(
            "同期の競合コピーに、2 台のコンピューターで別々に変更された日があります。\n\n"
            "2024/03/09　残す値: 75.5　もう一方: 74.25\n"
            "2024/03/10　残す値: 削除　もう一方: 74\n"
            "単位と小数桁\n"
            "\n「新しい方を残す」と、あとで変更された値を日記に残し、もう一方は状態フォルダーに 30 日間保管します。"
            "「そのまま残す」と、競合コピーには手を付けません。"));

    const QString question = CopyConflictQuestion(std::vector<DiaryConflict>(12, conflicts[0]));
    EXPECT_EQ(question.count(QStringLiteral("2024/03/09")), 10);
    EXPECT_TRUE(question.contains(QStringLiteral("\nほか 2 件\n"))) << question.toStdString();
}

} // namespace
