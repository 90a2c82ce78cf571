#pragma once

#include "app/ChannelTabs.h"
#include "catalogue/CatalogueLoader.h"
#include "catalogue/ChannelName.h"
#include "catalogue/ChannelRecord.h"
#include "catalogue/M3uPlaylist.h"
#include "catalogue/RadioDirectory.h"

#include <QString>
#include <QStringList>

#include <vector>

// Turns what a playlist or the radio directory lists into the seven-field
// records the tabs show, so the region filter, playback and copying to the
// user tab work on them as on the service's catalogues.
namespace SourceMapping {

// The broadcaster family from a name: "MBC", "KBS", "SBS" (also the SBS
// affiliates by their own names), on the radio tab also "FEBC" and "PBC";
// "ETC" for everything else.
QString FamilyOf(const QString& name, bool radio);
// The families of the TV and radio tabs in the order the tab lists them.
QStringList FamilyOrder(bool radio);

// The region, in Korean, a name names (Korean or romanised city names, the
// SBS affiliates by their home); a national MBC or SBS without a place is
// the Seoul station. Empty when the name says nothing.
QString RegionFromName(const QString& name);
// The directory's state field ("Seoul", "Busan", "Gangwon-do", ...) in Korean.
QString RegionFromState(const QString& state);

// "1080p" from "KBS 1TV (1080p)", empty when the title names no resolution.
QString ResolutionInTitle(const QString& title);

ChannelRecord FromPlaylistEntry(const M3uPlaylist::Entry& entry);
// The same with the entry's name already split.
ChannelRecord FromPlaylistEntry(const M3uPlaylist::Entry& entry, const ChannelName::Parts& parts);
// The CONNECT text FromPlaylistEntry gives an entry: its resolution, from
// the split name, or from the title, which it splits only when needed.
QString ConnectOf(const ChannelName::Parts& parts);
QString ConnectOfTitle(const QString& title);
ChannelRecord FromStation(const RadioDirectory::Station& station);

// What a tab shows: on the regional tabs (1 TV, 4 radio) the families in
// order, each MBC/SBS/FEBC/PBC family filtered by the region (a family with
// no station of the region, and the region "자동" or "", keep all); other
// tabs as listed.
// With blocks, also says where each family's rows lie (regional tabs only).
std::vector<ChannelRecord> ArrangeForTab(std::vector<ChannelRecord> records, Category category,
                                         const QString& region,
                                         CatalogueFamilyBlocks* blocks = nullptr);

} // namespace SourceMapping
