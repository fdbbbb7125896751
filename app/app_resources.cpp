#include "app/app_resources.h"

#include "app/command_ids.h"
#include "platform/qt/framework_ids.h"
#include "view/view_command_ids.h"

#include <map>

const MenuResource& MainMenu()
{
    static const MenuResource menu = {
        {"ﾌｧｲﾙ",
            {
                {"新規作成(&N)\tCtrl+N", ID_FILE_NEW},
                {"開く(&O)...\tCtrl+O", ID_FILE_OPEN},
                {"上書き保存(&S)\tCtrl+S", ID_FILE_SAVE},
                {"名前を付けて保存(&A)...", ID_FILE_SAVE_AS},
                {"グラフを画像で保存...", ID_FILE_SAVE_GRAPH},
                {"スマートフォンから入力...", ID_FILE_PHONE},
                {"", 0, kMenuSeparator},
                {"最新のファイル", ID_FILE_MRU_FILE1, kMenuGrayed},
                {"", 0, kMenuSeparator},
                {"アプリケーションの終了(&X)", ID_APP_EXIT},
            }},
        {"ﾃﾞｰﾀ",
            {
                {"元に戻す\tCtrl+Z", ID_EDIT_UNDO},
                {"やり直し\tCtrl+Y", ID_EDIT_REDO},
                {"", 0, kMenuSeparator},
                {"コピー\tCtrl+C", ID_EDIT_COPY},
                {"貼り付け\tCtrl+V", ID_EDIT_PASTE},
                {"", 0, kMenuSeparator},
                {"新規入力...", ID_DATA_NEW},
                {"変更、修正...", ID_DATA_EDIT},
                {"", 0, kMenuSeparator},
                {"色の変更...", ID_DATA_COLOR},
                {"", 0, kMenuSeparator},
                {"単位、少数桁...", ID_DATA_UNIT},
                {"平均(狭）", ID_AVG_NARROW},
                {"平均(通常)", ID_AVG_NORMAL},
                {"平均(広）", ID_AVG_WIDE},
            }},
        {"表示",
            {
                {"全期間\tCtrl+1", ID_VIEW_ALL},
                {"最近4週間\tCtrl+2", ID_VIEW_4_WEEKS},
                {"最近3か月\tCtrl+3", ID_VIEW_3_MONTHS},
                {"最近6か月\tCtrl+4", ID_VIEW_6_MONTHS},
                {"最近1年\tCtrl+5", ID_VIEW_1_YEAR},
                {"", 0, kMenuSeparator},
                {"ウィンドウに合わせる", ID_VIEW_FILL},
                {"傾向線", ID_VIEW_TREND},
                {"", 0, kMenuSeparator},
                {"目標体重...", ID_VIEW_GOAL},
            }},
        {"ﾍﾙﾌﾟ",
            {
                {"Tarelog のバージョン情報(&A)...", ID_APP_ABOUT},
            }},
    };
    return menu;
}

const AccelTable& MainAccelerators()
{
    static const AccelTable table = {
        {Qt::CTRL | Qt::Key_N, ID_FILE_NEW},
        {Qt::CTRL | Qt::Key_O, ID_FILE_OPEN},
        {Qt::CTRL | Qt::Key_S, ID_FILE_SAVE},
        {Qt::CTRL | Qt::Key_Z, ID_EDIT_UNDO},
        {Qt::CTRL | Qt::Key_X, ID_EDIT_CUT},
        {Qt::CTRL | Qt::Key_C, ID_EDIT_COPY},
        {Qt::CTRL | Qt::Key_V, ID_EDIT_PASTE},
        {Qt::ALT | Qt::Key_Backspace, ID_EDIT_UNDO},
        {Qt::SHIFT | Qt::Key_Delete, ID_EDIT_CUT},
        {Qt::CTRL | Qt::Key_Insert, ID_EDIT_COPY},
        {Qt::SHIFT | Qt::Key_Insert, ID_EDIT_PASTE},
        {Qt::CTRL | Qt::Key_Y, ID_EDIT_REDO},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, ID_EDIT_REDO},
        {QKeyCombination(Qt::Key_F6), ID_NEXT_PANE},
        {Qt::SHIFT | Qt::Key_F6, ID_PREV_PANE},
        {Qt::CTRL | Qt::Key_1, ID_VIEW_ALL},
        {Qt::CTRL | Qt::Key_2, ID_VIEW_4_WEEKS},
        {Qt::CTRL | Qt::Key_3, ID_VIEW_3_MONTHS},
        {Qt::CTRL | Qt::Key_4, ID_VIEW_6_MONTHS},
        {Qt::CTRL | Qt::Key_5, ID_VIEW_1_YEAR},
    };
    return table;
}

const std::vector<ButtonResource>& CommandBarButtons()
{
    static const std::vector<ButtonResource> buttons = {
        {0, 0, true, true, 0, -1},
        {0, ID_APP_ABOUT, true, false, 0, -1},
        {0, 0, true, true, 0, -1},
    };
    return buttons;
}

QString LoadAppString(int id)
{
    static const std::map<int, const char*> table = {
        {IDR_MAINFRAME, "Tarelog\n\nTarelog\n体重ﾃﾞｰﾀﾌｧｲﾙ\n.tlg\nTarelog.Document\nTarelog Document"},
        {IDS_IDLE_MESSAGE, "レディ"},
        {ID_FILE_NEW, "新規にファイルを作成\n新規ファイル"},
        {ID_FILE_OPEN, "既存のファイルを開く\n開く"},
        {ID_FILE_SAVE, "作業中のファイルを保存\n保存"},
        {ID_FILE_SAVE_AS, "作業中のファイルに名前をつけて保存\n名前をつけて保存"},
        {ID_EDIT_COPY, "選択範囲をコピーしてクリップボードに保存\n保存"},
        {ID_EDIT_PASTE, "クリップボードの内容を貼り付け\n貼り付け"},
        {ID_EDIT_UNDO, "直前に行った動作を元に戻す\n元に戻す"},
        {ID_EDIT_REDO, "直前に行った動作を繰り返す\nやり直し"},
        {ID_APP_ABOUT, "プログラムの情報、バージョンそして著作権を表示\nバージョン情報"},
        {ID_APP_EXIT, "アプリケーションを終了し、ファイルの保存を指示\n終了"},
        {ID_FILE_SAVE_GRAPH, "グラフを PNG か SVG の画像で保存\n画像で保存"},
        {ID_FILE_PHONE, "スマートフォンから体重を入力できるようにする\nスマートフォン"},
        {ID_VIEW_ALL, "すべての記録を表示\n全期間"},
        {ID_VIEW_4_WEEKS, "最新の記録までの4週間を表示\n4週間"},
        {ID_VIEW_3_MONTHS, "最新の記録までの3か月を表示\n3か月"},
        {ID_VIEW_6_MONTHS, "最新の記録までの6か月を表示\n6か月"},
        {ID_VIEW_1_YEAR, "最新の記録までの1年を表示\n1年"},
        {ID_VIEW_FILL, "グラフをウィンドウ全体に広げる\nウィンドウに合わせる"},
        {ID_VIEW_TREND, "体重の傾向線を表示\n傾向線"},
        {ID_VIEW_GOAL, "目標体重を設定\n目標体重"},
    };
    if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_LAST)
        return QStringLiteral("指定のファイルを開く");
    const auto found = table.find(id);
    return found == table.end() ? QString() : QString::fromUtf8(found->second);
}

FrameResources MainFrameResources()
{
    FrameResources resources;
    resources.menu = &MainMenu();
    resources.accelerators = &MainAccelerators();
    resources.strings = LoadAppString;
    return resources;
}

QIcon AppIcon()
{
    QIcon icon;
    for (const char* size : {"16", "32", "64"})
        icon.addFile(QStringLiteral(":/tarelog/tarelog-%1.png").arg(QLatin1String(size)));
    return icon;
}
