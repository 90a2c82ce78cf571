#pragma once

#include "mainwindow/CommandId.h"

#include <QMenu>

// Builds the channel list's menu. The two delete commands and the playlist
// import and export work only on the user's own channels and are greyed on
// every other tab; the guide is greyed unless a row of a tab that can have
// one is chosen. Each action carries its command id as data.
QMenu* CreateListMenu(QWidget* parent, bool userTab, bool guideRow = false);
