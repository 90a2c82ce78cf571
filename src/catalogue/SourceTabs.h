#pragma once

#include "app/ChannelTabs.h"
#include "catalogue/ChannelSource.h"

#include <QString>

#include <array>
#include <cstddef>
#include <iterator>

// The five catalogue tabs that take their channels from a source (every
// category but the user's own channels), in tab order.
constexpr Category kSourceTabs[] = {Category::Tv, Category::World, Category::Game, Category::Radio,
                                    Category::Music};
constexpr int kSourceTabCount = static_cast<int>(std::size(kSourceTabs));
bool IsSourceTab(Category category);
// Where a source tab stands in kSourceTabs; only for source tabs.
constexpr std::size_t SourceTabIndex(Category category) {
    return static_cast<std::size_t>(StoredNumberOf(category) - StoredNumberOf(Category::Tv));
}
QString SourceValueName(Category category); // "TV", "WORLD", "GAME", "RADIO", "MUSIC"
// The service catalogue a tab reads ("tv.ini" ... "music.ini"); empty for
// the user's channels. The file keeps that name in the data folder, where
// the update check replaces it.
QString CatalogueFileOf(Category category);
// The tab whose catalogue a file is; None for any other file.
Category CategoryOfCatalogue(const QString& fileName);

struct SourcesChoice;

// What a tab uses when nothing (or nothing readable) is stored.
struct SourceDefaults {
    std::array<ChannelSource, kSourceTabCount> tabs;
    QString directoryServer; // empty: found by the directory's DNS record

    const ChannelSource& Of(Category category) const { return tabs.at(SourceTabIndex(category)); }
    // The defaults as a choice of the channel-list page.
    SourcesChoice Choice() const;

    // A development build: the service at the build-time host, offline; the
    // world tab takes the host's playlist.
    static SourceDefaults Development(const QString& serviceBase);
    // An installed build: the public playlists and the public radio directory.
    static SourceDefaults Public();
    // The one this build was made with (CMake option WAVEORBIT_PUBLIC_SOURCES).
    static SourceDefaults OfThisBuild();
};

// Every tab's source and the radio directory's server, as the settings
// dialog's channel-list page edits them: nothing of it is stored before the
// dialog's OK.
struct SourcesChoice {
    std::array<ChannelSource, kSourceTabCount> tabs;
    QString directoryServer; // empty: the build's default server

    ChannelSource& Of(Category category) { return tabs.at(SourceTabIndex(category)); }
    const ChannelSource& Of(Category category) const { return tabs.at(SourceTabIndex(category)); }

    bool operator==(const SourcesChoice& other) const {
        return tabs == other.tabs && directoryServer == other.directoryServer;
    }
    bool operator!=(const SourcesChoice& other) const { return !(*this == other); }
};
