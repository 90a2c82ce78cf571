#include "demo/DemoSources.h"

#include "demo/DemoStreams.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QTimeZone>

#include <iterator>

#include <zlib.h>

namespace demo {

const char* const kDemoPlaylistPath = "/sources/kr.m3u";
const char* const kDemoDirectoryPath = "/json/stations/search";
const char* const kDemoClickPrefix = "/json/url/";
const char* const kDemoGuidePath = "/sources/kr-guide.xml.gz";

QByteArray DemoPlaylist(const QString& guideAddress) {
    struct Item {
        const char* attributes;
        const char* title;
        int stream = 0; // the demo stream it plays; 0 for the next in turn, -1 for none
    };
    // Regional stations named as public lists name them: Korean and romanised.
    // As in public lists, a channel comes more than once: KBS 1TV with its
    // SD feed, and EBS 1TV whose first address is down and whose second
    // plays, so the player's move to a spare address can be seen; OBS is
    // down at its only address.
    const Item items[] = {
        {"tvg-id=\"MBC.kr\" tvg-chno=\"11\" group-title=\"General\"", "MBC (1080p)"},
        {"tvg-id=\"BusanMBC.kr\" group-title=\"General\"", "부산MBC"},
        {"tvg-id=\"DaeguMBC.kr\" group-title=\"General\"", "Daegu MBC (720p)"},
        {"tvg-id=\"JejuMBC.kr\" group-title=\"General\"", "Jeju MBC"},
        {"tvg-id=\"KBS1.kr\" tvg-chno=\"9\" group-title=\"General, News\"", "KBS 1TV (1080p)"},
        {"tvg-id=\"SBS.kr\" tvg-chno=\"5\" group-title=\"General\"", "SBS"},
        {"tvg-id=\"KNN.kr\" group-title=\"General\"", "KNN 부산"},
        {"tvg-id=\"TBC.kr\" group-title=\"General\"", "TBC 대구"},
        {"tvg-id=\"EBS1.kr\" tvg-chno=\"13\" group-title=\"Education\"", "EBS 1TV", -1},
        {"tvg-id=\"KBS1.kr@SD\" group-title=\"General, News\"", "KBS 1TV (480p)", 5},
        {"tvg-id=\"EBS1.kr\" group-title=\"Education\"", "EBS 1TV [Not 24/7]"},
        // Down at every address, as many public entries are: dimmed once tried.
        {"tvg-id=\"OBS.kr\" group-title=\"General\"", "OBS (720p) [Geo-blocked]", -1},
    };
    QString text = guideAddress.isEmpty()
                       ? QStringLiteral("#EXTM3U\r\n")
                       : QStringLiteral("#EXTM3U x-tvg-url=\"%1\"\r\n").arg(guideAddress);
    int n = 0;
    for (const Item& item : items) {
        ++n;
        text += QStringLiteral("#EXTINF:-1 %1,%2\r\n")
                    .arg(QString::fromUtf8(item.attributes), QString::fromUtf8(item.title));
        if (n == 2) // one channel shows the per-channel options players honour
            text += QStringLiteral("#EXTVLCOPT:http-user-agent=WAVEORBIT demo\r\n");
        // Every entry has an address of its own, as in real lists (the demo
        // has three pictures for twelve entries): the programme guide knows
        // a list channel by its address.
        const QString stream = item.stream < 0   ? OfflineVideoStreamUrl()
                               : item.stream > 0 ? VideoStreamUrl(item.stream)
                                                 : VideoStreamUrl(n);
        const QString address = stream + QStringLiteral("?ch=%1").arg(n);
        text += address + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

QByteArray DemoGuide(qint64 now) {
    struct Channel {
        const char* id;
        const char* name;
    };
    // The playlist's tvg-ids (KBS1.kr@SD is the same channel as KBS1.kr).
    const Channel channels[] = {
        {"MBC.kr", "MBC"},         {"BusanMBC.kr", "부산MBC"}, {"DaeguMBC.kr", "대구MBC"},
        {"JejuMBC.kr", "제주MBC"}, {"KBS1.kr", "KBS 1TV"},     {"SBS.kr", "SBS"},
        {"KNN.kr", "KNN"},         {"TBC.kr", "TBC"},          {"EBS1.kr", "EBS 1TV"},
        {"OBS.kr", "OBS"},
    };
    struct Show {
        const char* title;
        const char* description; // may be empty
    };
    const Show shows[] = {
        {"아침 뉴스", "밤사이 들어온 소식과 오늘의 날씨를 전해 드립니다."},
        {"생활의 달인", "한 분야에서 오랜 세월을 보낸 달인들을 만나 봅니다."},
        {"동물 농장", ""},
        {"세계는 지금", "지구촌 곳곳의 소식을 현지 특파원이 전합니다.\n재방송"},
        {"가요 무대", "그리운 노래를 다시 듣는 시간."},
        {"다큐 공감", ""},
        {"뉴스9", "오늘 하루의 주요 뉴스를 정리합니다."},
        {"주말 드라마 <사랑&전쟁>", "가족의 이야기를 그린 주말 드라마."},
        {"날씨와 생활", ""},
        {"명작 극장", "다시 보는 한국 영화의 명작."},
        {"어린이 만화", ""},
        {"스포츠 하이라이트", "오늘의 경기 결과와 명장면."},
    };
    constexpr qint64 kSlot = 30 * 60;
    const qint64 first = (now / kSlot) * kSlot - 3 * 3600;
    const qint64 last = now + 2 * 86400;
    auto time = [](qint64 seconds) {
        return QDateTime::fromSecsSinceEpoch(seconds, QTimeZone::utc())
                   .toString(QStringLiteral("yyyyMMddHHmmss")) +
               QStringLiteral(" +0000");
    };
    auto escaped = [](const char* text) { return QString::fromUtf8(text).toHtmlEscaped(); };
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<tv generator-info-name=\"waveorbit-demo\">\n");
    for (const Channel& c : channels)
        xml += QStringLiteral("<channel id=\"%1\"><display-name>%2</display-name></channel>\n")
                   .arg(escaped(c.id), escaped(c.name));
    int channelIndex = 0;
    for (const Channel& c : channels) {
        for (qint64 start = first; start < last; start += kSlot) {
            // Each channel runs the shows in its own order.
            const Show& show = shows[static_cast<size_t>((start / kSlot + channelIndex * 5) %
                                                         static_cast<qint64>(std::size(shows)))];
            xml += QStringLiteral("<programme start=\"%1\" stop=\"%2\" channel=\"%3\">"
                                  "<title lang=\"ko\">%4</title>")
                       .arg(time(start), time(start + kSlot), escaped(c.id), escaped(show.title));
            if (*show.description)
                xml += QStringLiteral("<desc lang=\"ko\">%1</desc>").arg(escaped(show.description));
            xml += QStringLiteral("</programme>\n");
        }
        ++channelIndex;
    }
    xml += QStringLiteral("</tv>\n");
    return xml.toUtf8();
}

QByteArray GzipCompress(const QByteArray& bytes) {
    z_stream stream{};
    // 15 window bits, +16 for the gzip wrapper.
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK)
        return QByteArray();
    QByteArray out(static_cast<qsizetype>(deflateBound(&stream, static_cast<uLong>(bytes.size()))),
                   Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    const qsizetype written = static_cast<qsizetype>(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END)
        return QByteArray();
    out.resize(written);
    return out;
}

QByteArray DemoDirectoryAnswer() {
    struct Station {
        const char* name;
        const char* state;
        const char* tags;
        int votes;
    };
    const Station stations[] = {
        {"MBC 표준FM", "Seoul", "news,talk,korean", 120},
        {"부산 MBC FM4U", "Busan", "pop,korean", 80},
        {"KBS 클래식FM", "Seoul", "classical", 150},
        {"극동방송", "Seoul", "christian", 40},
        {"PBC 평화방송", "Seoul", "catholic", 30},
        {"Daegu Traffic", "Daegu", "traffic", 10},
        {"K-POP 24", "", "kpop,music", 200},
    };
    QJsonArray array;
    int n = 0;
    for (const Station& s : stations) {
        ++n;
        QJsonObject o;
        o.insert(QStringLiteral("stationuuid"), QStringLiteral("demo-%1").arg(n));
        o.insert(QStringLiteral("name"), QString::fromUtf8(s.name));
        o.insert(QStringLiteral("url"), AudioStreamUrl(n));
        o.insert(QStringLiteral("url_resolved"), AudioStreamUrl(n));
        o.insert(QStringLiteral("homepage"), QString());
        o.insert(QStringLiteral("tags"), QString::fromUtf8(s.tags));
        o.insert(QStringLiteral("countrycode"), QStringLiteral("KR"));
        o.insert(QStringLiteral("state"), QString::fromUtf8(s.state));
        o.insert(QStringLiteral("codec"), QStringLiteral("MP3"));
        o.insert(QStringLiteral("bitrate"), 128);
        o.insert(QStringLiteral("votes"), s.votes);
        o.insert(QStringLiteral("lastcheckok"), 1);
        array.append(o);
    }
    // A broken station, as the directory lists them: the client hides it.
    QJsonObject broken;
    broken.insert(QStringLiteral("stationuuid"), QStringLiteral("demo-broken"));
    broken.insert(QStringLiteral("name"), QStringLiteral("점검중 라디오"));
    broken.insert(QStringLiteral("url"), QStringLiteral("http://127.0.0.1:8732/none.mp3"));
    broken.insert(QStringLiteral("lastcheckok"), 0);
    array.append(broken);
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

} // namespace demo
