#include "mainwindow/MainMenu.h"

namespace {

QAction* AddCommand(QMenu* menu, int id, const char* text, const char* label = nullptr) {
    QString caption = QString::fromUtf8(text);
    if (label)
        caption += QLatin1Char('\t') + QString::fromUtf8(label);
    QAction* action = menu->addAction(caption);
    action->setData(id);
    return action;
}

void AddCheck(QMenu* menu, int id, const char* text, bool checked, const char* label = nullptr) {
    QAction* action = AddCommand(menu, id, text, label);
    action->setCheckable(true);
    action->setChecked(checked);
}

} // namespace

QMenu* CreateMainMenu(QWidget* parent, const MainMenuChecks& checks) {
    using namespace MenuCommand;
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("menu207"));
    AddCheck(menu, ListPanel, "방송보기", checks.listPanel, "F8");
    menu->addSeparator();
    AddCommand(menu, Play, "재생");
    AddCommand(menu, Stop, "정지", "Space");
    menu->addSeparator();

    QMenu* playback = menu->addMenu(QStringLiteral("재생관련"));
    AddCommand(playback, OpenUrl, "URL 열기...", "Ctrl+U");
    playback->addSeparator();
    AddCheck(playback, AutoPlay, "프로그램 시작시 자동재생", checks.autoPlay);
    AddCheck(playback, AutoClose, "채널선택후 리스트창 자동닫기", checks.autoClose);
    AddCheck(playback, AutoHide, "라디오/음악방송 재생시 자동숨김", checks.autoHide);
    playback->addSeparator();
    AddCommand(playback, FullScreen, "전체화면", "Enter");

    QMenu* sound = menu->addMenu(QStringLiteral("소리관련"));
    AddCommand(sound, VolumeUp, "소리키움", "Up");
    AddCommand(sound, VolumeDown, "소리줄임", "Down");
    sound->addSeparator();
    AddCheck(sound, Mute, "소리없음", checks.mute, "M");

    menu->addSeparator();
    AddCheck(menu, OnTop, "항상위", checks.onTop, "T");
    menu->addSeparator();
    AddCommand(menu, Settings, "환경설정", "F5");
    AddCommand(menu, Update, "업데이트");
    AddCheck(menu, StartWithSession, "윈도우 실행시 프로그램 자동실행", checks.startWithSession);
    menu->addSeparator();
    AddCommand(menu, HomePage, "홈페이지 바로가기");
    AddCommand(menu, About, "프로그램 정보", "F1");
    menu->addSeparator();
    AddCommand(menu, Exit, "끝내기", "Alt+F4");
    return menu;
}

int MenuCommandOf(const QAction* action) {
    if (!action)
        return 0;
    bool ok = false;
    const int id = action->data().toInt(&ok);
    return ok ? id : 0;
}
