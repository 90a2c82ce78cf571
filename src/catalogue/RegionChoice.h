#pragma once

#include "catalogue/ChannelRecord.h"

#include <QString>
#include <QStringList>

// The rules around the user's region and a double-click on a channel row.
namespace RegionChoice {

// What a double-click on a row does.
enum class RowAction {
    OpenWebPage, // WEBSITE "Y": open WEBURL in the browser, playback goes on
    AskRegion,   // a regional broadcaster while the region dialog is offered
    Play,
};
RowAction ActionFor(const ChannelRecord& row, const QString& locationHideText);

// A name holding "MBC" or "SBS" (exact case) is a regional broadcaster.
bool IsRegionalName(const QString& name);

// The dialog's mode: 1 for an MBC name (twenty cities), 2 otherwise (nine regions).
int ModeFor(const QString& channelName);

// The places as the user sees them, in sorted order.
QStringList MbcPlaces(); // 20
QStringList SbsPlaces(); // 9
QStringList PlacesFor(int mode);

// The index of the stored region in a list, or -1 for no selection.
int PreselectedIndex(const QStringList& places, const QString& storedRegion);

} // namespace RegionChoice
