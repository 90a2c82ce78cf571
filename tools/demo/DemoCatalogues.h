#pragma once

#include "catalogue/ChannelRecord.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <vector>

// The demo service's five channel catalogues, built in memory and rendered in
// the exact INI form the player reads: COUNT and [DB] VER as plain decimal,
// every channel field as Base64 of CP949 text. The output depends only on the
// options, so the same options always give the same bytes.
namespace demo {

struct CatalogueFamily {
    QString name;                       // "MBC", "WORLD", ...
    bool hasFallback = false;           // regional groups carry one in their own section
    ChannelRecord fallback;             // shown when no station of the group is taken
    std::vector<ChannelRecord> entries; // [name]1 .. [name]COUNT
};

struct DemoCatalogue {
    QString fileName;    // "tv.ini"
    QString listSection; // its section in the version list: "TV"
    int version = 1;     // [DB] VER
    std::vector<CatalogueFamily> families;
};

struct CatalogueOptions {
    // Base address of the demo's web server; web-page channels and the
    // WEBURL of every channel point there.
    QString serviceBase = QStringLiteral("http://127.0.0.1:8730");
    int defaultVersion = 1;
    QHash<QString, int> versions; // by file name ("tv.ini"); overrides defaultVersion
};

// The catalogues in tab order: tv, world, game, radio, music.
std::vector<DemoCatalogue> BuildDemoCatalogues(const CatalogueOptions& options = {});

// One catalogue field as stored: Base64 of its CP949 form. Fails (ok = false)
// when the text has no CP949 form or the stored value would be longer than the
// 259 bytes a reader uses.
QByteArray EncodeCatalogueField(const QString& text, bool* ok);

// The catalogue file's bytes (CR LF line ends). False, with a reason, when a
// field cannot be stored faithfully.
bool RenderCatalogue(const DemoCatalogue& catalogue, QByteArray* out, QString* error);

// The version list the update check downloads: one section per catalogue with
// its VER.
QByteArray RenderVersionList(const std::vector<DemoCatalogue>& catalogues);

// Writes the five catalogue files and the version list ("update.php") into the
// folder, creating it when needed. Each file is replaced whole or not at all.
bool WriteDemoCatalogues(const QString& folder, const CatalogueOptions& options, QString* error);

// The web-page channel's page on the demo host.
extern const char* const kSchedulePagePath; // "/live/schedule.html"

} // namespace demo
