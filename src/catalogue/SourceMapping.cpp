#include "catalogue/SourceMapping.h"

#include "catalogue/ChannelName.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>

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

bool HasHangul(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() >= 0x1100)
            return true;
    }
    return false;
}

// A word of Latin letters standing on its own: Hangul next to it is a
// boundary too ("Daegu MBC", "KNN부산"); letters are not ("ATBC").
QRegularExpression WordsPattern(const QStringList& words) {
    QStringList escaped;
    for (const QString& w : words)
        escaped << QRegularExpression::escape(w);
    return QRegularExpression(
        QStringLiteral("(?<![A-Za-z0-9])(%1)(?![A-Za-z])").arg(escaped.join(QLatin1Char('|'))),
        QRegularExpression::CaseInsensitiveOption);
}

// Lists of tens of thousands of names go through here: one precompiled
// pattern for every Latin spelling, the Korean ones only for Korean names.
struct PlaceIndex {
    QRegularExpression latin;
    QHash<QString, QString> latinToKorean;           // lower-case spelling -> place
    std::vector<std::pair<QString, QString>> hangul; // spelling -> place, in table order
    QRegularExpression affiliates;
    QHash<QString, QString> affiliateRegion; // upper-case name -> place

    PlaceIndex() {
        QStringList latinWords;
        for (const Place& place : Places()) {
            for (const QString& spelling : place.spellings) {
                if (HasHangul(spelling)) {
                    hangul.emplace_back(spelling, QString::fromUtf8(place.korean));
                } else if (!latinToKorean.contains(spelling.toLower())) {
                    latinWords << spelling;
                    latinToKorean.insert(spelling.toLower(), QString::fromUtf8(place.korean));
                }
            }
        }
        // Longer spellings first, so "Chungcheongbuk" wins over a shorter prefix.
        std::sort(latinWords.begin(), latinWords.end(),
                  [](const QString& a, const QString& b) { return a.size() > b.size(); });
        latin = WordsPattern(latinWords);
        latin.optimize();
        QStringList names;
        for (const Affiliate& a : kSbsAffiliates) {
            names << QString::fromLatin1(a.name);
            affiliateRegion.insert(QString::fromLatin1(a.name), QString::fromUtf8(a.region));
        }
        affiliates = WordsPattern(names);
        affiliates.optimize();
    }
};

const PlaceIndex& Index() {
    static const PlaceIndex index;
    return index;
}

QString AffiliateRegion(const QString& name) {
    const QRegularExpressionMatch m = Index().affiliates.match(name);
    return m.hasMatch() ? Index().affiliateRegion.value(m.captured(1).toUpper()) : QString();
}

QString PlaceIn(const QString& text) {
    const PlaceIndex& index = Index();
    if (HasHangul(text)) {
        for (const auto& [spelling, place] : index.hangul) {
            if (text.contains(spelling))
                return place;
        }
    }
    const QRegularExpressionMatch m = index.latin.match(text);
    return m.hasMatch() ? index.latinToKorean.value(m.captured(1).toLower()) : QString();
}

// "서울 · News": the parts that are not blank, trimmed, joined by a dot.
QString Joined(const QString& first, const QString& second, QStringView separator) {
    const QStringView a = QStringView(first).trimmed();
    const QStringView b = QStringView(second).trimmed();
    if (a.isEmpty())
        return b.toString();
    if (b.isEmpty())
        return a.toString();
    QString joined;
    joined.reserve(a.size() + separator.size() + b.size());
    joined.append(a).append(separator).append(b);
    return joined;
}

QString Joined(const QString& first, const QString& second) {
    return Joined(first, second, u" · ");
}

// The national networks broadcast from Seoul.
QString NationalHome(const QString& name) {
    const QString family = FamilyOf(name, false);
    if (family == QLatin1String("MBC") || family == QLatin1String("SBS"))
        return QStringLiteral("서울");
    return QString();
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
    return NationalHome(name);
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
    return FromPlaylistEntry(entry, ChannelName::Split(entry.name));
}

QString ConnectOf(const ChannelName::Parts& parts) {
    return parts.resolution.isEmpty() ? ResolutionInTitle(parts.name) : parts.resolution;
}

QString ConnectOfTitle(const QString& title) {
    // Split's first look, without the rest of it when that finds the resolution.
    QString resolution = ChannelName::ResolutionNote(title);
    return resolution.isEmpty() ? ResolutionInTitle(ChannelName::Split(title).name) : resolution;
}

ChannelRecord FromPlaylistEntry(const M3uPlaylist::Entry& entry, const ChannelName::Parts& parts) {
    // The list's notes leave the name: the resolution goes where playback
    // later writes its state, the rest become marks beside the group.
    ChannelRecord r;
    r.fields[ChannelRecord::Num] = entry.Attribute("tvg-chno");
    r.fields[ChannelRecord::Name] = parts.name;
    QString info = Joined(RegionFromName(parts.name), entry.group);
    for (const QString& mark : ChannelName::Marks(parts))
        info = Joined(info, mark);
    r.fields[ChannelRecord::Info] = info;
    r.fields[ChannelRecord::Connect] = ConnectOf(parts);
    r.fields[ChannelRecord::Url] = entry.url;
    return r;
}

ChannelRecord FromStation(const RadioDirectory::Station& s) {
    ChannelRecord r;
    // A place in the name says more than the state; the state more than the
    // national networks' home.
    QString region = AffiliateRegion(s.name);
    if (region.isEmpty())
        region = PlaceIn(s.name);
    if (region.isEmpty())
        region = RegionFromState(s.state);
    if (region.isEmpty())
        region = NationalHome(s.name); // the name was searched for places above
    QString tags = s.tags;
    tags.replace(QLatin1Char(','), QStringLiteral(", "));
    r.fields[ChannelRecord::Name] = s.name;
    r.fields[ChannelRecord::Info] = Joined(region, tags);
    r.fields[ChannelRecord::Connect] =
        Joined(s.codec.toUpper(),
               s.bitrate > 0 ? QString::number(s.bitrate) + QLatin1Char('k') : QString(), u" ");
    r.fields[ChannelRecord::Url] = s.url;
    r.fields[ChannelRecord::WebUrl] = s.homepage;
    return r;
}

std::vector<ChannelRecord> ArrangeForTab(std::vector<ChannelRecord> records, Category category,
                                         const QString& region, CatalogueFamilyBlocks* blocks) {
    const bool radio = category == Category::Radio;
    if (category != Category::Tv && !radio)
        return records;
    const bool everyRegion = region.isEmpty() || region == QStringLiteral("자동");
    // Each name is looked at once: its family and whether it is of the region.
    const QStringList order = FamilyOrder(radio);
    const size_t familyCount = static_cast<size_t>(order.size());
    std::vector<quint8> familyOf(records.size());
    std::vector<bool> ofRegion(records.size(), false);
    std::vector<size_t> matching(familyCount, 0);
    for (size_t i = 0; i < records.size(); ++i) {
        familyOf[i] = static_cast<quint8>(order.indexOf(FamilyOf(records[i].name(), radio)));
        if (!everyRegion && records[i].info().contains(region)) {
            ofRegion[i] = true;
            ++matching[familyOf[i]];
        }
    }
    // The rows are moved once, family by family, into a list sized up front.
    std::vector<ChannelRecord> arranged;
    arranged.reserve(records.size());
    for (size_t family = 0; family < familyCount; ++family) {
        const QString& name = order.at(static_cast<qsizetype>(family));
        const bool filtered = !everyRegion && name != QLatin1String("KBS") &&
                              name != QLatin1String("ETC") && matching[family] > 0;
        const int first = static_cast<int>(arranged.size());
        for (size_t i = 0; i < records.size(); ++i) {
            if (familyOf[i] == family && (!filtered || ofRegion[i]))
                arranged.push_back(std::move(records[i]));
        }
        if (blocks)
            blocks->push_back({name, first, static_cast<int>(arranged.size()) - first});
    }
    return arranged;
}

} // namespace SourceMapping
