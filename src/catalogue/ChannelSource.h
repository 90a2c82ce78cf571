#pragma once

#include "app/ChannelTabs.h"
#include "app/SettingsStore.h"

#include <QString>

#include <array>
#include <cstddef>
#include <iterator>
#include <optional>

// Where one catalogue tab takes its channels from. Stored as one line of
// text: "service <address>", "playlist <address>" or "directory <query>".
struct ChannelSource {
    enum class Kind {
        Service,   // the catalogue service (Base64 catalogues) at an address
        Playlist,  // an M3U/M3U8 playlist: http, https or a local file
        Directory, // the radio directory, with a query such as "countrycode=KR"
    };

    Kind kind = Kind::Service;
    QString address; // the service's base address, the playlist, or the query

    // The address as the program uses it: trimmed, and a service's without
    // the slashes it may end in (its paths are added after a "/" of their own).
    static ChannelSource Of(Kind kind, const QString& address);
    // nullopt for text that names no kind or has nothing after it.
    static std::optional<ChannelSource> Parse(const QString& text);
    QString ToText() const;

    bool operator==(const ChannelSource& other) const {
        return kind == other.kind && address == other.address;
    }
    bool operator!=(const ChannelSource& other) const { return !(*this == other); }
};

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

// The checks the settings page makes before it stores a choice. Empty when
// the source may be stored, else the message to show (Korean).
QString SourceProblem(const ChannelSource& source);

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

// What keeps a choice from being stored: the tab at fault (none for the
// directory server) and the message, which names it. No message: none.
struct SourcesProblem {
    std::optional<Category> tab;
    QString message;

    bool Any() const { return !message.isEmpty(); }
};

// SourceProblem for every tab, in tab order, then the directory server.
SourcesProblem CheckSources(const SourcesChoice& choice);

// CheckSources, and when it passes, the choice is stored; otherwise nothing
// is stored and the problem is returned.
class SourceSettings;
SourcesProblem ApplySources(SourceSettings& settings, const SourcesChoice& choice);

// Reading and writing the choice of a tab through the settings table.
class SourceSettings {
public:
    explicit SourceSettings(SourceDefaults defaults = SourceDefaults::OfThisBuild(),
                            SettingsStore store = SettingsStore());

    // The stored choice, or the default for a missing or unreadable value.
    ChannelSource Of(Category category) const;
    bool Set(Category category, const ChannelSource& source);
    // Puts the default back: the stored value is removed.
    bool Reset(Category category);
    QString DirectoryServer() const;
    bool SetDirectoryServer(const QString& address); // empty removes it

    // Every tab's stored choice (the server empty where it is the default).
    SourcesChoice Choice() const;
    // Stores every tab and the server; a tab or server at its default keeps
    // following the build's default (its stored value is removed).
    void Store(const SourcesChoice& choice);

    // True when at least one tab takes its channels from the service.
    bool AnyTabUsesService() const;
    // The address of the first tab that uses the service (empty when none).
    QString ServiceAddress() const;

    const SourceDefaults& Defaults() const { return defaults_; }

private:
    SourceDefaults defaults_;
    SettingsStore store_;
};

// The music and movie pages and the home page live on the catalogue
// service. Where no tab uses a service, they have nowhere to come from.
namespace ServicePages {

// What the home-page command says then.
QString NoServiceMessage();
// The local page the web tabs show then, as HTML (nothing is fetched).
QString NoServiceHtml();
// The address to show for a page of the build-time service: moved to the
// service the tabs use; empty when no tab uses one.
QString PageAddress(const SourceSettings& settings, const QString& buildTimeAddress,
                    const QString& buildTimeBase);
// The service's home page, for every way of opening it (the home-page
// button and command, the question after a connection timed out); empty
// when no tab uses a service.
QString HomePage(const SourceSettings& settings);

} // namespace ServicePages
