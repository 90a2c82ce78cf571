#include "catalogue/ChannelSource.h"

#include "app/AtomicFile.h"
#include "app/Endpoints.h"
#include "app/SettingsTable.h"
#include "catalogue/ChannelSources.h"

#include <QFileInfo>
#include <QUrl>
#include <QUrlQuery>

namespace {

struct KindName {
    ChannelSource::Kind kind;
    const char* word;
};
constexpr KindName kKinds[] = {
    {ChannelSource::Kind::Service, "service"},
    {ChannelSource::Kind::Playlist, "playlist"},
    {ChannelSource::Kind::Directory, "directory"},
};

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

const Settings::Value& ValueOf(Category category) {
    static const Settings::Value* const values[kSourceTabCount] = {
        &Settings::SourceTv, &Settings::SourceWorld, &Settings::SourceGame, &Settings::SourceRadio,
        &Settings::SourceMusic};
    return *values[SourceTabIndex(category)];
}

bool IsWebAddress(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

// The directory's own search parameters that a stored query may use.
bool IsDirectoryParameter(const QString& key) {
    static const QStringList known = {
        QStringLiteral("name"),          QStringLiteral("nameExact"),  QStringLiteral("country"),
        QStringLiteral("countrycode"),   QStringLiteral("state"),      QStringLiteral("language"),
        QStringLiteral("tag"),           QStringLiteral("tagList"),    QStringLiteral("codec"),
        QStringLiteral("order"),         QStringLiteral("reverse"),    QStringLiteral("limit"),
        QStringLiteral("offset"),        QStringLiteral("bitrateMin"), QStringLiteral("bitrateMax"),
        QStringLiteral("is_https"),      QStringLiteral("hidebroken"), QStringLiteral("tagExact"),
        QStringLiteral("languageExact"), QStringLiteral("stateExact")};
    return known.contains(key);
}

} // namespace

ChannelSource ChannelSource::Of(Kind kind, const QString& address) {
    const QString tidy = address.trimmed();
    return ChannelSource{kind,
                         kind == Kind::Service ? Endpoints::WithoutTrailingSlashes(tidy) : tidy};
}

std::optional<ChannelSource> ChannelSource::Parse(const QString& text) {
    const QString trimmed = text.trimmed();
    const int blank = trimmed.indexOf(QLatin1Char(' '));
    if (blank <= 0)
        return std::nullopt;
    const QString word = trimmed.left(blank).toLower();
    const QString rest = trimmed.mid(blank + 1).trimmed();
    if (rest.isEmpty())
        return std::nullopt;
    for (const KindName& k : kKinds) {
        if (word == QLatin1String(k.word))
            return Of(k.kind, rest);
    }
    return std::nullopt;
}

QString ChannelSource::ToText() const {
    for (const KindName& k : kKinds) {
        if (k.kind == kind)
            return QLatin1String(k.word) + QLatin1Char(' ') + address;
    }
    return QString();
}

bool IsSourceTab(Category category) {
    return std::find(std::begin(kSourceTabs), std::end(kSourceTabs), category) !=
           std::end(kSourceTabs);
}

QString SourceValueName(Category category) {
    return IsSourceTab(category)
               ? QString::fromLatin1(kDefaultTable[SourceTabIndex(category)].valueName)
               : QString();
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

QString SourceProblem(const ChannelSource& source) {
    switch (source.kind) {
    case ChannelSource::Kind::Service:
        if (!IsWebAddress(source.address))
            return QStringLiteral("서비스 주소는 http:// 또는 https:// 로 시작해야 합니다.");
        return QString();
    case ChannelSource::Kind::Playlist: {
        if (IsWebAddress(source.address))
            return QString();
        const QUrl url(source.address);
        const QString path = url.isLocalFile() ? url.toLocalFile() : source.address;
        if (!QFileInfo(path).isFile())
            return QStringLiteral(
                "재생목록 주소는 http:// 또는 https:// 주소이거나 있는 파일이어야 합니다.");
        QByteArray bytes;
        if (!ReadWholeFile(path, &bytes))
            return QStringLiteral("재생목록 파일을 읽을 수 없습니다.");
        if (!ChannelSources::ParseList(source, bytes, Category::World, QString()).readable)
            return QStringLiteral("재생목록에 채널이 하나도 없습니다.");
        return QString();
    }
    case ChannelSource::Kind::Directory: {
        const QUrlQuery query(source.address);
        const auto items = query.queryItems();
        if (items.isEmpty())
            return QStringLiteral(
                "라디오 목록 조건을 입력하세요. 예: countrycode=KR 또는 tag=kpop");
        for (const auto& item : items) {
            if (!IsDirectoryParameter(item.first) || item.second.isEmpty())
                return QStringLiteral("라디오 목록 조건 \"%1\"을(를) 알 수 없습니다. "
                                      "예: countrycode=KR, tag=kpop, language=korean")
                    .arg(item.first);
        }
        return QString();
    }
    }
    return QString();
}

SourcesProblem CheckSources(const SourcesChoice& choice) {
    for (Category tab : kSourceTabs) {
        const QString problem = SourceProblem(choice.Of(tab));
        if (!problem.isEmpty())
            return {tab, ChannelSources::TabName(tab) + QStringLiteral(": ") + problem};
    }
    const QString server = choice.directoryServer.trimmed();
    if (!server.isEmpty() && server.contains(QLatin1String("://")) &&
        !SourceProblem({ChannelSource::Kind::Service, server}).isEmpty())
        return {
            std::nullopt,
            QStringLiteral("라디오 목록 서버: 주소는 http:// 또는 https:// 로 시작해야 합니다.")};
    return {};
}

SourcesProblem ApplySources(SourceSettings& settings, const SourcesChoice& choice) {
    SourcesProblem problem = CheckSources(choice);
    if (!problem.Any())
        settings.Store(choice);
    return problem;
}

SourcesChoice SourceDefaults::Choice() const {
    return SourcesChoice{tabs, QString()};
}

SourceSettings::SourceSettings(SourceDefaults defaults, SettingsStore store)
    : defaults_(std::move(defaults)), store_(std::move(store)) {}

ChannelSource SourceSettings::Of(Category category) const {
    if (!IsSourceTab(category))
        return ChannelSource{};
    const std::optional<ChannelSource> stored =
        ChannelSource::Parse(Settings::ReadText(ValueOf(category), store_));
    return stored ? *stored : defaults_.Of(category);
}

bool SourceSettings::Set(Category category, const ChannelSource& source) {
    return IsSourceTab(category) && Settings::WriteText(ValueOf(category), source.ToText(), store_);
}

bool SourceSettings::Reset(Category category) {
    if (!IsSourceTab(category))
        return false;
    Settings::Delete(ValueOf(category), store_);
    return true;
}

QString SourceSettings::DirectoryServer() const {
    const QString stored = Settings::ReadText(Settings::DirectoryServer, store_).trimmed();
    return stored.isEmpty() ? defaults_.directoryServer : stored;
}

bool SourceSettings::SetDirectoryServer(const QString& address) {
    if (address.trimmed().isEmpty()) {
        Settings::Delete(Settings::DirectoryServer, store_);
        return true;
    }
    return Settings::WriteText(Settings::DirectoryServer, address.trimmed(), store_);
}

SourcesChoice SourceSettings::Choice() const {
    SourcesChoice choice;
    for (Category tab : kSourceTabs)
        choice.Of(tab) = Of(tab);
    const QString server = DirectoryServer();
    choice.directoryServer = server == defaults_.directoryServer ? QString() : server;
    return choice;
}

void SourceSettings::Store(const SourcesChoice& choice) {
    for (Category tab : kSourceTabs) {
        const ChannelSource& chosen = choice.Of(tab);
        if (chosen == defaults_.Of(tab))
            Reset(tab);
        else
            Set(tab, chosen);
    }
    const QString server = choice.directoryServer.trimmed();
    SetDirectoryServer(server == defaults_.directoryServer ? QString() : server);
}

bool SourceSettings::AnyTabUsesService() const {
    return !ServiceAddress().isEmpty();
}

QString SourceSettings::ServiceAddress() const {
    for (Category category : kSourceTabs) {
        const ChannelSource source = Of(category);
        if (source.kind == ChannelSource::Kind::Service)
            return source.address;
    }
    return QString();
}

namespace ServicePages {

QString NoServiceMessage() {
    return QStringLiteral("음악·영화 페이지와 홈페이지는 채널 서비스에서 받아 옵니다. 지금은 "
                          "서비스를 쓰는 탭이 없습니다.\n설정 → 채널 목록에서 한 탭의 종류를 "
                          "\"서비스\"로 바꾸고 서비스 주소를 입력하세요.");
}

QString NoServiceHtml() {
    // Small type and margins: the panel is a few hundred pixels across, and
    // the way to the settings must show without scrolling.
    return QStringLiteral(
        "<!DOCTYPE html><html lang=\"ko\"><head><meta charset=\"utf-8\">"
        "<title>WAVEORBIT</title></head>"
        "<body style=\"background:#0d0d0d;color:#33cdff;font:13px/1.45 sans-serif;"
        "margin:0;padding:12px 14px\"><h3 style=\"font-size:15px;margin:0 0 8px\">"
        "서비스 주소가 없습니다</h3>"
        "<p style=\"margin:0 0 8px\">음악·영화 페이지는 채널 서비스에서 받아 옵니다. 지금은 "
        "서비스를 쓰는 탭이 없습니다.</p><p style=\"margin:0\"><b>설정 → 채널 목록</b>에서 "
        "한 탭의 종류를 &quot;서비스&quot;로 바꾸고 서비스 주소(예: http://서버:포트)를 "
        "입력하세요.</p></body></html>");
}

QString PageAddress(const SourceSettings& settings, const QString& buildTimeAddress,
                    const QString& buildTimeBase) {
    const QString service = settings.ServiceAddress();
    if (service.isEmpty())
        return QString();
    // The build's own service keeps the pages as they were built.
    for (const ChannelSource& tab : settings.Defaults().tabs) {
        if (tab.kind == ChannelSource::Kind::Service && tab.address == service)
            return buildTimeAddress;
    }
    const QString base = Endpoints::WithoutTrailingSlashes(service);
    if (buildTimeAddress.startsWith(buildTimeBase))
        return base + buildTimeAddress.mid(buildTimeBase.size());
    return buildTimeAddress;
}

QString HomePage(const SourceSettings& settings) {
    return PageAddress(settings, Endpoints::HomePageAddress(), Endpoints::ServiceBaseAddress());
}

} // namespace ServicePages
