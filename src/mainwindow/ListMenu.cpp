#include "mainwindow/ListMenu.h"

namespace {

QAction* AddCommand(QMenu* menu, const QString& text, ListCommand id, bool enabled = true) {
    QAction* action = menu->addAction(text);
    action->setData(CommandId(id).Number());
    action->setEnabled(enabled);
    return action;
}

} // namespace

QMenu* CreateListMenu(QWidget* parent, bool userTab, bool guideRow) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("menu229"));
    AddCommand(menu, QStringLiteral("재생하기"), ListCommand::Play);
    AddCommand(menu, QStringLiteral("정지하기"), ListCommand::Stop);
    AddCommand(menu, QStringLiteral("찾기\tCtrl+F"), ListCommand::Find);
    AddCommand(menu, QStringLiteral("편성표\tG"), ListCommand::Guide, guideRow);
    menu->addSeparator();
    AddCommand(menu, QStringLiteral("마이채널 추가"), ListCommand::AddToMyChannels);
    AddCommand(menu, QStringLiteral("선택항목 삭제"), ListCommand::DeleteSelected, userTab);
    AddCommand(menu, QStringLiteral("전체삭제"), ListCommand::DeleteAll, userTab);
    menu->addSeparator();
    AddCommand(menu, QStringLiteral("재생목록 가져오기…"), ListCommand::ImportPlaylist, userTab);
    AddCommand(menu, QStringLiteral("재생목록 내보내기…"), ListCommand::ExportPlaylist, userTab);
    menu->addSeparator();
    // The text carries its shortcut after a tab, shown right-aligned.
    AddCommand(menu, QStringLiteral("끝내기\tAlt+F4"), ListCommand::Exit);
    return menu;
}
