#include "mainwindow/KeyCommands.h"

#include <Qt>

namespace {

const KeyCommand kKeys[] = {
    {Qt::Key_Return, MenuCommand::FullScreen, false, false, false},
    {Qt::Key_Enter, MenuCommand::FullScreen, false, false, false},
    {Qt::Key_Space, MenuCommand::Stop, false, false, false},
    {Qt::Key_Up, MenuCommand::VolumeUp, false, true, false},
    {Qt::Key_Down, MenuCommand::VolumeDown, false, true, false},
    {Qt::Key_F5, MenuCommand::Settings, true, false, false},
    {Qt::Key_F8, MenuCommand::ListPanel, true, false, false},
    {Qt::Key_F1, MenuCommand::About, true, false, false},
    {Qt::Key_T, MenuCommand::OnTop, false, false, false},
    {Qt::Key_M, MenuCommand::Mute, false, false, false},
    {Qt::Key_U, MenuCommand::OpenUrl, true, false, true},
    {Qt::Key_F, ListCommand::Find, false, false, true},
    // Typed into the find field, G is a letter of the name (FocusKeys).
    {Qt::Key_G, ListCommand::Guide, true, false, false},
};

} // namespace

const KeyCommand* KeyCommandFor(int key) {
    for (const KeyCommand& k : kKeys)
        if (k.key == key)
            return &k;
    return nullptr;
}
