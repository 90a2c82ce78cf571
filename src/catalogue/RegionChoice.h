#pragma once

#include "catalogue/CatalogueLoader.h"
#include "catalogue/ChannelRecord.h"

#include <QString>
#include <QStringList>

#include <optional>

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

// What the region means when none is stored: the tabs list every region's
// stations. The settings dialog's box shows it as a choice of its own.
QString AutomaticRegion(); // "자동"

// The settings dialog's region box: the automatic region, then the twenty cities.
QStringList SettingsPlaces();

// What confirming a region box stores: the place it shows when the user chose
// it, even the one it showed already (in the region dialog, confirming is the
// choice), or nothing, so the stored region is kept, when the box shows no
// place or the user left it alone.
std::optional<QString> RegionToStore(bool userChose, int shownIndex, const QString& shownText);

// The row to play once a region change has reloaded the list. The row the
// user double-clicked lay in a family of `before`; in a family the region
// filters (every one but KBS and ETC) that broadcaster's first row of
// `after` plays: its station for the new region, or its fallback entry.
// Unfiltered families and an unchanged region keep the same entry. -1 when
// the row lay in no family or the family is gone.
int RowAfterRegionChange(const CatalogueFamilyBlocks& before, int row,
                         const CatalogueFamilyBlocks& after, bool regionChanged);

} // namespace RegionChoice
