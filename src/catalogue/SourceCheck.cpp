#include "catalogue/SourceCheck.h"

#include "app/AtomicFile.h"
#include "catalogue/ChannelLists.h"
#include "catalogue/SourceSettings.h"

#include <QFileInfo>
#include <QUrl>
#include <QUrlQuery>

namespace {

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
        if (!ChannelLists::ParseList(source, bytes, Category::World, QString()).readable)
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
            return {tab, ChannelLists::TabName(tab) + QStringLiteral(": ") + problem};
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
