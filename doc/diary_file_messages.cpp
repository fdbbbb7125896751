#include "doc/diary_file.h"

#include "platform/format.h"

#include <cerrno>
#include <cstring>
#include <string_view>

namespace {

// The parts of a diary the loader names when it meets damage, in the words
// the window uses for them.
const char* JapanesePart(std::string_view english)
{
    if (english == "the version number")
        return "バージョン番号";
    if (english == "the record count")
        return "記録数";
    if (english == "the records")
        return "記録";
    if (english == "the unit text")
        return "単位";
    if (english == "the decimal digits")
        return "小数点以下の桁数";
    return nullptr;
}

std::string JapaneseDamage(const DiaryFileError& error)
{
    std::string_view detail = error.detail;
    const std::size_t at = detail.rfind(" (byte ");
    if (at != std::string_view::npos)
        detail = detail.substr(0, at);
    std::string text;
    constexpr std::string_view kEnds = "the file ends inside ";
    if (detail.substr(0, kEnds.size()) == kEnds) {
        if (const char* part = JapanesePart(detail.substr(kEnds.size())))
            text = std::string(part) + "の途中でファイルが終わっています。";
    } else if (detail == "the record count is larger than the records the file holds") {
        text = "記録数がファイルに入っている記録の数を超えています。";
    } else if (detail == "the unit text is not valid Shift_JIS") {
        text = "単位の文字が Shift_JIS として正しくありません。";
    } else if (detail == "the Shift_JIS text cannot be decoded on this system") {
        text = "このシステムでは Shift_JIS の文字を読めません。";
    }
    if (text.empty())
        text = std::string(detail) + "。";
    if (error.offset >= 0)
        text += FormatString("（先頭から %lld バイトの位置）", error.offset);
    return text;
}

std::string JapaneseReason(const DiaryFileError& error)
{
    switch (error.systemError) {
    case ENOENT: return "ファイルまたはフォルダが見つかりません。";
    case EACCES:
    case EPERM:
        if (error.detail.find("read-only") != std::string::npos)
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
    case EWOULDBLOCK: return "ほかのプログラムがこのファイルに書き込み中です。しばらくしてからもう一度保存してください。";
    case ESTALE: return "ほかのプログラムがファイルを読み込めない内容に変えたため、上書きしませんでした。「名前を付けて保存」で別のファイルに保存できます。";
    case EOVERFLOW: return "保存しても読み込めないファイルになるため、保存しませんでした。";
    default: return FormatString("システムエラー %d（%s）。", error.systemError, std::strerror(error.systemError));
    }
}

} // namespace

std::string DiaryFileError::EnglishMessage() const
{
    switch (kind) {
    case Kind::None: return {};
    case Kind::CannotOpen: return "cannot open '" + path + "': " + detail;
    case Kind::Damaged: return "'" + path + "' is damaged or not a diary: " + detail;
    case Kind::CannotWrite: return "cannot save '" + path + "': " + detail + "; the file on disk is unchanged";
    }
    return {};
}

std::string DiaryFileError::JapaneseMessage() const
{
    switch (kind) {
    case Kind::None: return {};
    case Kind::CannotOpen: return "ファイル「" + path + "」を開けません。\n" + JapaneseReason(*this);
    case Kind::Damaged: return "ファイル「" + path + "」は壊れているため開けません。\n" + JapaneseDamage(*this);
    case Kind::CannotWrite:
        return "ファイル「" + path + "」を保存できません。\n" + JapaneseReason(*this) + "\nディスク上のファイルは変更されていません。";
    }
    return {};
}
