#include "catalogue/ChannelSource.h"

#include "app/Endpoints.h"

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
