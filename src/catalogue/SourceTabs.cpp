#include "catalogue/SourceTabs.h"

#include "app/Endpoints.h"

#include <algorithm>

namespace {

// The table of defaults, one row per tab in category order. A development
// build serves every tab from the demo service; an installed build starts
// with public sources, so a fresh installation shows real channels.
struct DefaultRow {
    const char* valueName;
    const char* installed;
};
constexpr DefaultRow kDefaultTable[kSourceTabCount] = {
    {"TV", "playlist https://iptv-org.github.io/iptv/countries/kr.m3u"},
    {"WORLD", "playlist https://iptv-org.github.io/iptv/languages/kor.m3u"},
    {"GAME", "playlist https://iptv-org.github.io/iptv/categories/sports.m3u"},
    {"RADIO", "directory countrycode=KR"},
    {"MUSIC", "directory tag=kpop"},
};

} // namespace

bool IsSourceTab(Category category) {
    return std::find(std::begin(kSourceTabs), std::end(kSourceTabs), category) !=
           std::end(kSourceTabs);
}

QString SourceValueName(Category category) {
    return IsSourceTab(category)
               ? QString::fromLatin1(kDefaultTable[SourceTabIndex(category)].valueName)
               : QString();
}

QString CatalogueFileOf(Category category) {
    const QStringList files = Endpoints::CatalogueFileNames();
    return IsSourceTab(category) ? files.value(static_cast<qsizetype>(SourceTabIndex(category)))
                                 : QString();
}

Category CategoryOfCatalogue(const QString& fileName) {
    const qsizetype index = Endpoints::CatalogueFileNames().indexOf(fileName);
    return index >= 0 && index < kSourceTabCount ? kSourceTabs[index] : Category::None;
}

SourceDefaults SourceDefaults::Development(const QString& serviceBase) {
    SourceDefaults d;
    for (ChannelSource& tab : d.tabs)
        tab = ChannelSource{ChannelSource::Kind::Service, serviceBase};
    // The world tab takes the service host's playlist, as an installed
    // program's tabs take public ones: channels named twice, a spare
    // address that plays where the first is down.
    d.tabs[SourceTabIndex(Category::World)] = ChannelSource{
        ChannelSource::Kind::Playlist, serviceBase + QStringLiteral("/sources/kr.m3u")};
    d.directoryServer = serviceBase;
    return d;
}

SourceDefaults SourceDefaults::Public() {
    SourceDefaults d;
    for (int i = 0; i < kSourceTabCount; ++i)
        d.tabs[i] = *ChannelSource::Parse(QString::fromLatin1(kDefaultTable[i].installed));
    return d;
}

SourceDefaults SourceDefaults::OfThisBuild() {
#ifdef WAVEORBIT_PUBLIC_SOURCES
    return Public();
#else
    return Development(Endpoints::ServiceBaseAddress());
#endif
}

SourcesChoice SourceDefaults::Choice() const {
    return SourcesChoice{tabs, QString()};
}
