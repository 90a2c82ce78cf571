#include "mainwindow/MainMenu.h"

#include "mainwindow/CommandTable.h"

#include <memory>

namespace {

QAction* AddCommand(QMenu* menu, MenuCommand id, const char* text, const char* label = nullptr) {
    QString caption = QString::fromUtf8(text);
    if (label)
        caption += QLatin1Char('\t') + QString::fromUtf8(label);
    QAction* action = menu->addAction(caption);
    action->setData(CommandId(id).Number());
    return action;
}

void AddCheck(QMenu* menu, MenuCommand id, const char* text, bool checked,
              const char* label = nullptr) {
    QAction* action = AddCommand(menu, id, text, label);
    action->setCheckable(true);
    action->setChecked(checked);
}

} // namespace

QMenu* CreateMainMenu(QWidget* parent, const MainMenuChecks& checks) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("menu207"));
    AddCheck(menu, MenuCommand::ListPanel, "방송보기", checks.listPanel, "F8");
    menu->addSeparator();
    AddCommand(menu, MenuCommand::Play, "재생");
    AddCommand(menu, MenuCommand::Stop, "정지", "Space");
    menu->addSeparator();

    QMenu* playback = menu->addMenu(QStringLiteral("재생관련"));
    AddCommand(playback, MenuCommand::OpenUrl, "URL 열기...", "Ctrl+U");
    playback->addSeparator();
    AddCheck(playback, MenuCommand::AutoPlay, "프로그램 시작시 자동재생", checks.autoPlay);
    AddCheck(playback, MenuCommand::AutoClose, "채널선택후 리스트창 자동닫기", checks.autoClose);
    AddCheck(playback, MenuCommand::AutoHide, "라디오/음악방송 재생시 자동숨김", checks.autoHide);
    playback->addSeparator();
    AddCommand(playback, MenuCommand::FullScreen, "전체화면", "Enter");

    QMenu* sound = menu->addMenu(QStringLiteral("소리관련"));
    AddCommand(sound, MenuCommand::VolumeUp, "소리키움", "Up");
    AddCommand(sound, MenuCommand::VolumeDown, "소리줄임", "Down");
    sound->addSeparator();
    AddCheck(sound, MenuCommand::Mute, "소리없음", checks.mute, "M");

    menu->addSeparator();
    AddCheck(menu, MenuCommand::OnTop, "항상위", checks.onTop, "T");
    menu->addSeparator();
    AddCommand(menu, MenuCommand::Settings, "환경설정", "F5");
    AddCommand(menu, MenuCommand::Update, "업데이트");
    AddCheck(menu, MenuCommand::StartWithSession, "윈도우 실행시 프로그램 자동실행",
             checks.startWithSession);
    menu->addSeparator();
    AddCommand(menu, MenuCommand::HomePage, "홈페이지 바로가기");
    AddCommand(menu, MenuCommand::About, "프로그램 정보", "F1");
    menu->addSeparator();
    AddCommand(menu, MenuCommand::Exit, "끝내기", "Alt+F4");
    return menu;
}

std::optional<CommandId> CommandOfAction(const QAction* action) {
    if (!action)
        return std::nullopt;
    bool ok = false;
    const int number = action->data().toInt(&ok);
    return ok ? CommandId::FromNumber(number) : std::nullopt;
}

MainMenuChecks MainMenuChecksOf(const CommandTable& commands) {
    MainMenuChecks checks;
    checks.listPanel = commands.IsChecked(MenuCommand::ListPanel);
    checks.onTop = commands.IsChecked(MenuCommand::OnTop);
    checks.mute = commands.IsChecked(MenuCommand::Mute);
    checks.autoPlay = commands.IsChecked(MenuCommand::AutoPlay);
    checks.autoClose = commands.IsChecked(MenuCommand::AutoClose);
    checks.autoHide = commands.IsChecked(MenuCommand::AutoHide);
    checks.startWithSession = commands.IsChecked(MenuCommand::StartWithSession);
    return checks;
}

void RunMainMenu(QWidget* parent, const CommandTable& commands, const QPoint& globalPos) {
    std::unique_ptr<QMenu> menu(CreateMainMenu(parent, MainMenuChecksOf(commands)));
    const std::optional<CommandId> id = CommandOfAction(menu->exec(globalPos));
    menu.reset();
    if (id)
        commands.Run(*id);
}
