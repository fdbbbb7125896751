#include "diary/diary_file_error.h"

#include "platform/format.h"

#include <cerrno>
#include <cstring>

// Both languages' words for a diary error, composed from its data.

namespace {

const char* EnglishPart(DiaryPart part)
{
    switch (part) {
    case DiaryPart::Version: return "the version number";
    case DiaryPart::RecordCount: return "the record count";
    case DiaryPart::Records: return "the records";
    case DiaryPart::Unit: return "the unit text";
    case DiaryPart::Digits: return "the decimal digits";
    }
    return "";
}

const char* JapanesePart(DiaryPart part)
{
    switch (part) {
    case DiaryPart::Version: return "バージョン番号";
    case DiaryPart::RecordCount: return "記録数";
    case DiaryPart::Records: return "記録";
    case DiaryPart::Unit: return "単位";
    case DiaryPart::Digits: return "小数点以下の桁数";
    }
    return "";
}

std::string EnglishDamage(const DiaryDamage& damage)
{
    const std::string part = EnglishPart(damage.part);
    switch (damage.problem) {
    case ArchiveProblem::EndsInside: return "the file ends inside " + part;
    case ArchiveProblem::CountBeyondData: return part + " is larger than the records the file holds";
    case ArchiveProblem::InvalidShiftJis: return part + " is not valid Shift_JIS";
    case ArchiveProblem::NoShiftJisDecoder: return "the Shift_JIS text cannot be decoded on this system";
    }
    return {};
}

std::string JapaneseDamage(const DiaryDamage& damage)
{
    const std::string part = JapanesePart(damage.part);
    switch (damage.problem) {
    case ArchiveProblem::EndsInside: return part + "の途中でファイルが終わっています。";
    case ArchiveProblem::CountBeyondData: return part + "がファイルに入っている記録の数を超えています。";
    case ArchiveProblem::InvalidShiftJis: return part + "の文字が Shift_JIS として正しくありません。";
    case ArchiveProblem::NoShiftJisDecoder: return "このシステムでは Shift_JIS の文字を読めません。";
    }
    return {};
}

std::string EnglishRefusal(const DiaryFileError& error)
{
    switch (error.refusal) {
    case DiaryRefusal::None: break;
    case DiaryRefusal::SortingOutOfMemory:
        return std::string("sorting the records: ") + std::strerror(error.systemError);
    case DiaryRefusal::RecoveryCopyHeldElsewhere: return "another window keeps a recovery copy of this diary";
    case DiaryRefusal::ChangedIntoUnreadable:
        return "another program changed the file into something that cannot be read";
    }
    return {};
}

// The detail of this error alone, without its cause.
std::string OwnDetail(const DiaryFileError& error)
{
    if (error.kind == DiaryFileError::Kind::None)
        return {};
    if (error.refusal != DiaryRefusal::None)
        return EnglishRefusal(error);
    if (error.kind == DiaryFileError::Kind::Damaged)
        return FormatString("%s (byte %lld)", EnglishDamage(error.damage).c_str(), error.offset);
    return DescribeFileFailure(error.failure);
}

std::string JapaneseReason(const DiaryFileError& error)
{
    switch (error.systemError) {
    case ENOENT: return "ファイルまたはフォルダが見つかりません。";
    case EACCES:
    case EPERM:
        if (error.failure.reason == FileReason::ReadOnly)
            return "ファイルが読み取り専用です。";
        return "アクセスが許可されていません。";
    case EROFS: return "読み取り専用の場所です。";
    case ENOSPC: return "ディスクの空き容量が足りません。";
    case EDQUOT: return "ディスクの使用量の上限に達しました。";
    case EFBIG: return "ファイルが大きすぎます。";
    case EISDIR: return "フォルダです。";
    case EINVAL: return "通常のファイルではありません。";
    case EIO: return "入出力エラーが発生しました。";
    case ENAMETOOLONG: return "ファイル名が長すぎます。";
    case ENOTDIR: return "パスの途中にフォルダでないものがあります。";
    case ENOMEM: return "メモリが足りません。";
    case EWOULDBLOCK:
        return "ほかのプログラムがこのファイルに書き込み中です。しばらくしてからもう一度保存してください。";
    case ESTALE:
        return "ほかのプログラムがファイルを読み込めない内容に変えたため、上書きしませんでした。「名前を付けて保存」で別のファイルに保存できます。";
    case EOVERFLOW: return "保存しても読み込めないファイルになるため、保存しませんでした。";
    default: return FormatString("システムエラー %d（%s）。", error.systemError, std::strerror(error.systemError));
    }
}

} // namespace

std::string DiaryFileError::Detail() const
{
    std::string text = OwnDetail(*this);
    if (cause != nullptr)
        text += " (" + cause->Detail() + ")";
    return text;
}

std::string DiaryFileError::EnglishMessage() const
{
    switch (kind) {
    case Kind::None: return {};
    case Kind::CannotOpen: return "cannot open '" + path + "': " + Detail();
    case Kind::Damaged: return "'" + path + "' is damaged or not a diary: " + Detail();
    case Kind::CannotWrite: return "cannot save '" + path + "': " + Detail() + "; the file on disk is unchanged";
    }
    return {};
}

std::string DiaryFileError::JapaneseMessage() const
{
    switch (kind) {
    case Kind::None: return {};
    case Kind::CannotOpen: return "ファイル「" + path + "」を開けません。\n" + JapaneseReason(*this);
    case Kind::Damaged:
        return "ファイル「" + path + "」は壊れているため開けません。\n" + JapaneseDamage(damage)
            + FormatString("（先頭から %lld バイトの位置）", offset);
    case Kind::CannotWrite:
        return "ファイル「" + path + "」を保存できません。\n" + JapaneseReason(*this)
            + "\nディスク上のファイルは変更されていません。";
    }
    return {};
}
