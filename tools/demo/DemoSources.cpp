#include "demo/DemoSources.h"

#include "demo/DemoStreams.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

namespace demo {

const char* const kDemoPlaylistPath = "/sources/kr.m3u";
const char* const kDemoDirectoryPath = "/json/stations/search";
const char* const kDemoClickPrefix = "/json/url/";

QByteArray DemoPlaylist() {
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
    QString text = QStringLiteral("#EXTM3U\r\n");
    int n = 0;
    for (const Item& item : items) {
        ++n;
        text += QStringLiteral("#EXTINF:-1 %1,%2\r\n")
                    .arg(QString::fromUtf8(item.attributes), QString::fromUtf8(item.title));
        if (n == 2) // one channel shows the per-channel options players honour
            text += QStringLiteral("#EXTVLCOPT:http-user-agent=WAVEORBIT demo\r\n");
        const QString address = item.stream < 0   ? OfflineVideoStreamUrl()
                                : item.stream > 0 ? VideoStreamUrl(item.stream)
                                                  : VideoStreamUrl(n);
        text += address + QStringLiteral("\r\n");
    }
    return text.toUtf8();
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
