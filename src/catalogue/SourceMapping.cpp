#include "catalogue/SourceMapping.h"

#include <QRegularExpression>

namespace SourceMapping {

namespace {

struct Place {
    const char* korean; // as the region dialog names it
    QStringList spellings;
};

// Korean and romanised spellings, checked in this order: the cities of the
// region dialog before the provinces that contain them.
const std::vector<Place>& Places() {
    static const std::vector<Place> places = {
        {"서울", {"서울", "Seoul"}},
        {"부산", {"부산", "Busan", "Pusan"}},
        {"대구", {"대구", "Daegu", "Taegu"}},
        {"광주", {"광주", "Gwangju", "Kwangju"}},
        {"대전", {"대전", "Daejeon", "Taejon", "세종", "Sejong"}},
        {"전주", {"전주", "Jeonju", "Chonju", "전북", "Jeonbuk", "Jeollabuk", "North Jeolla"}},
        {"마산", {"마산", "Masan", "창원", "Changwon"}},
        {"춘천", {"춘천", "Chuncheon"}},
        {"청주", {"청주", "Cheongju", "충북", "Chungbuk", "Chungcheongbuk", "North Chungcheong"}},
        {"제주", {"제주", "Jeju", "Cheju"}},
        {"울산", {"울산", "Ulsan"}},
        {"강릉", {"강릉", "Gangneung"}},
        {"진주", {"진주", "Jinju"}},
        {"목포", {"목포", "Mokpo"}},
        {"여수", {"여수", "Yeosu"}},
        {"안동", {"안동", "Andong"}},
        {"원주", {"원주", "Wonju"}},
        {"충주", {"충주", "Chungju"}},
        {"삼척", {"삼척", "Samcheok"}},
        {"포항", {"포항", "Pohang"}},
        {"강원", {"강원", "Gangwon", "Kangwon"}},
        {"인천", {"인천", "Incheon"}},
        {"경기", {"경기", "Gyeonggi"}},
        {"대전", {"충남", "Chungnam", "Chungcheongnam", "South Chungcheong"}},
        {"광주", {"전남", "Jeonnam", "Jeollanam", "South Jeolla"}},
        {"대구", {"경북", "Gyeongbuk", "Gyeongsangbuk", "North Gyeongsang"}},
        {"부산", {"경남", "Gyeongnam", "Gyeongsangnam", "South Gyeongsang"}},
    };
    return places;
}

struct Affiliate {
    const char* name;
    const char* region;
};
// The regional partners of SBS, known by their own names.
constexpr Affiliate kSbsAffiliates[] = {
    {"KNN", "부산"}, {"TBC", "대구"}, {"KBC", "광주"}, {"TJB", "대전"},  {"UBC", "울산"},
    {"JTV", "전주"}, {"CJB", "청주"}, {"G1", "강원"},  {"JIBS", "제주"},
};

// A Latin word must stand on its own ("TBC" but not "ATBC"); Korean text
// is glued to its neighbours ("대구MBC"), so it matches anywhere.
bool HasWord(const QString& text, const QString& word) {
    if (word.at(0).unicode() >= 0x1100)
        return text.contains(word);
    int from = 0;
    for (;;) {
        const int at = text.indexOf(word, from, Qt::CaseInsensitive);
        if (at < 0)
            return false;
        const int end = at + word.size();
        const bool startOk =
            at == 0 || !text.at(at - 1).isLetterOrNumber() || text.at(at - 1).unicode() >= 0x1100;
        const bool endOk =
            end >= text.size() || !text.at(end).isLetter() || text.at(end).unicode() >= 0x1100;
        if (startOk && endOk)
            return true;
        from = at + 1;
    }
}

QString AffiliateRegion(const QString& name) {
    for (const Affiliate& a : kSbsAffiliates) {
        if (HasWord(name, QLatin1String(a.name)))
            return QString::fromUtf8(a.region);
    }
    return QString();
}

QString PlaceIn(const QString& text) {
    for (const Place& place : Places()) {
        for (const QString& spelling : place.spellings) {
            if (HasWord(text, spelling))
                return QString::fromUtf8(place.korean);
        }
    }
    return QString();
}

QString Joined(const QStringList& parts) {
    QStringList kept;
    for (const QString& p : parts) {
        if (!p.trimmed().isEmpty())
            kept << p.trimmed();
    }
    return kept.join(QStringLiteral(" · "));
}

} // namespace

QString FamilyOf(const QString& name, bool radio) {
    if (name.contains(QLatin1String("MBC"), Qt::CaseInsensitive) ||
        name.contains(QStringLiteral("문화방송")))
        return QStringLiteral("MBC");
    if (name.contains(QLatin1String("SBS"), Qt::CaseInsensitive) ||
        !AffiliateRegion(name).isEmpty())
        return QStringLiteral("SBS");
    if (radio &&
        (HasWord(name, QStringLiteral("FEBC")) || name.contains(QStringLiteral("극동방송"))))
        return QStringLiteral("FEBC");
    if (radio &&
        (HasWord(name, QStringLiteral("PBC")) || name.contains(QStringLiteral("평화방송"))))
        return QStringLiteral("PBC");
    if (name.contains(QLatin1String("KBS"), Qt::CaseInsensitive) ||
        name.contains(QStringLiteral("한국방송")))
        return QStringLiteral("KBS");
    return QStringLiteral("ETC");
}

QStringList FamilyOrder(bool radio) {
    if (radio)
        return {QStringLiteral("MBC"),  QStringLiteral("KBS"), QStringLiteral("SBS"),
                QStringLiteral("FEBC"), QStringLiteral("PBC"), QStringLiteral("ETC")};
    return {QStringLiteral("MBC"), QStringLiteral("KBS"), QStringLiteral("SBS"),
            QStringLiteral("ETC")};
}

QString RegionFromName(const QString& name) {
    const QString affiliate = AffiliateRegion(name);
    if (!affiliate.isEmpty())
        return affiliate;
    const QString place = PlaceIn(name);
    if (!place.isEmpty())
        return place;
    // The national networks broadcast from Seoul.
    const QString family = FamilyOf(name, false);
    if (family == QLatin1String("MBC") || family == QLatin1String("SBS"))
        return QStringLiteral("서울");
    return QString();
}

QString RegionFromState(const QString& state) {
    return PlaceIn(state);
}

QString ResolutionInTitle(const QString& title) {
    static const QRegularExpression re(QStringLiteral("\\b(\\d{3,4}[pi])\\b"),
                                       QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(title);
    return m.hasMatch() ? m.captured(1) : QString();
}

ChannelRecord FromPlaylistEntry(const M3uPlaylist::Entry& entry) {
    ChannelRecord r;
    r.fields[ChannelRecord::Num] = entry.Attribute("tvg-chno");
    r.fields[ChannelRecord::Name] = entry.name;
    r.fields[ChannelRecord::Info] = Joined({RegionFromName(entry.name), entry.group});
    r.fields[ChannelRecord::Connect] = ResolutionInTitle(entry.name);
    r.fields[ChannelRecord::Url] = entry.url;
    return r;
}

ChannelRecord FromStation(const RadioDirectory::Station& s) {
    ChannelRecord r;
    QString region = RegionFromName(s.name);
    const QString fromState = RegionFromState(s.state);
    // A place in the name says more than the national default "서울".
    const bool nameNamesPlace = !PlaceIn(s.name).isEmpty() || !AffiliateRegion(s.name).isEmpty();
    if (!fromState.isEmpty() && !nameNamesPlace)
        region = fromState;
    QString tags = s.tags;
    tags.replace(QLatin1Char(','), QStringLiteral(", "));
    r.fields[ChannelRecord::Name] = s.name;
    r.fields[ChannelRecord::Info] = Joined({region, tags});
    QString quality = s.codec.toUpper();
    if (s.bitrate > 0)
        quality = Joined({quality, QString::number(s.bitrate) + QLatin1Char('k')})
                      .replace(QStringLiteral(" · "), QStringLiteral(" "));
    r.fields[ChannelRecord::Connect] = quality;
    r.fields[ChannelRecord::Url] = s.url;
    r.fields[ChannelRecord::WebUrl] = s.homepage;
    return r;
}

std::vector<ChannelRecord> ArrangeForTab(std::vector<ChannelRecord> records, int category,
                                         const QString& region) {
    const bool radio = category == 4;
    if (category != 1 && !radio)
        return records;
    const bool everyRegion = region.isEmpty() || region == QStringLiteral("자동");
    std::vector<ChannelRecord> arranged;
    arranged.reserve(records.size());
    for (const QString& family : FamilyOrder(radio)) {
        std::vector<const ChannelRecord*> members, matching;
        for (const ChannelRecord& r : records) {
            if (FamilyOf(r.name(), radio) != family)
                continue;
            members.push_back(&r);
            if (r.info().contains(region))
                matching.push_back(&r);
        }
        const bool filtered = !everyRegion && family != QLatin1String("KBS") &&
                              family != QLatin1String("ETC") && !matching.empty();
        for (const ChannelRecord* r : filtered ? matching : members)
            arranged.push_back(*r);
    }
    return arranged;
}

} // namespace SourceMapping
