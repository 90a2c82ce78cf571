#pragma once

#include "catalogue/CatalogueIni.h"
#include "catalogue/ChannelRecord.h"

#include <QString>
#include <QStringList>

#include <vector>

// Turns one family of a catalogue into channel records, in catalogue order.
// Every field is Base64 of CP949 (or UTF-8) text.

// Regional catalogues (tv.ini, radio.ini): the numbered entries of the group
// whose INFO contains the region (every entry for the groups KBS and ETC, and
// for the empty region); when none is taken, the group's own fallback entry.
std::vector<ChannelRecord> LoadRegionalGroup(const CatalogueIni& ini, const QString& group,
                                             const QString& region);
std::vector<ChannelRecord> LoadRegionalGroup(const QString& path, const QString& group,
                                             const QString& region);

// The other catalogues: every numbered entry of the family, no filter, no fallback.
std::vector<ChannelRecord> LoadCatalogueSection(const CatalogueIni& ini, const QString& family);
std::vector<ChannelRecord> LoadCatalogueSection(const QString& path, const QString& family);

// A catalogue value as text: Base64-decoded, then UTF-8 or CP949.
QString DecodeCatalogueField(QByteArrayView value);

// The families of each catalogue file, in load order, and whether the file is
// regional. Empty for a name that is not a catalogue.
struct CatalogueLayout {
    QStringList families;
    bool regional = false;
};
CatalogueLayout LayoutOf(const QString& fileName);

// Where one family's rows lie in a loaded catalogue list.
struct CatalogueFamilyBlock {
    QString family;
    int first = 0;
    int count = 0;
};
using CatalogueFamilyBlocks = std::vector<CatalogueFamilyBlock>;

// Loads a whole catalogue file as the list shows it: every family in order.
// With blocks, also says where each family's rows start and how many it has.
// fileName names the catalogue (its families), not where it was read from.
std::vector<ChannelRecord> LoadCatalogueFile(const CatalogueIni& ini, const QString& fileName,
                                             const QString& region,
                                             CatalogueFamilyBlocks* blocks = nullptr);
std::vector<ChannelRecord> LoadCatalogueFile(const QString& path, const QString& fileName,
                                             const QString& region,
                                             CatalogueFamilyBlocks* blocks = nullptr);

// Whether a catalogue holds at least one channel of its families, whatever
// the region: false for a missing, empty or damaged file.
bool CatalogueHoldsChannel(const CatalogueIni& ini, const QString& fileName);
bool CatalogueHoldsChannel(const QString& path, const QString& fileName);

// The version a catalogue states in [DB] VER (0 when missing).
int CatalogueVersion(const CatalogueIni& ini);
