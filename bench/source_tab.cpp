// Fills the TV tab with 30,000 channels from each kind of source, the way the
// window does it, and prints side by side: the time until the rows show and
// the longest the event loop was held up meanwhile (a 1 ms timer measures the
// gaps). The service catalogue is read on the GUI thread as it always was;
// a playlist and a directory answer are parsed on a worker thread.
// The first source opened also pays for its worker thread's fresh memory;
// "directory-first" opens the directory's tab before the playlist's.
// Usage: waveorbit-bench-sources [entries] [directory-first]
#include "BenchCatalogue.h"
#include "BenchFolders.h"
#include "catalogue/CChannelListView.h"
#include "catalogue/CatalogueLoader.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/ChannelLists.h"
#include "catalogue/M3uPlaylist.h"

#include "demo/LoopbackHttpServer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTimer>

#include <functional>

namespace {

// The longest gap between two turns of the event loop while it runs.
class StallMeter {
public:
    StallMeter() {
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.elapsed();
            longest_ = std::max(longest_, now - last_);
            last_ = now;
        });
    }
    void Start() {
        clock_.start();
        last_ = 0;
        longest_ = 0;
        timer_.start();
    }
    // The gap still open counts too (a synchronous fill never lets the timer run).
    qint64 Stop() {
        longest_ = std::max(longest_, clock_.elapsed() - last_);
        timer_.stop();
        return longest_;
    }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
};

QByteArray Playlist(int entries) {
    const QStringList names = {QStringLiteral("부산MBC %1"), QStringLiteral("KBS %1 (1080p)"),
                               QStringLiteral("Daegu SBS %1"), QStringLiteral("채널 %1")};
    QByteArray out = "#EXTM3U\r\n";
    out.reserve(entries * 160);
    for (int i = 1; i <= entries; ++i) {
        // As the public lists write them: an id, a logo, a group.
        out += "#EXTINF:-1 tvg-id=\"c" + QByteArray::number(i) + ".kr\" tvg-chno=\"" +
               QByteArray::number(i) + "\" tvg-logo=\"http://127.0.0.1:8730/logo/" +
               QByteArray::number(i) + ".png\" group-title=\"General, News\"," +
               names.at(i % names.size()).arg(i).toUtf8() + "\r\n";
        out += "http://127.0.0.1:8733/tv" + QByteArray::number(i) + "/index.m3u8\r\n";
    }
    return out;
}

// Stations as the directory answers them: every field it sends, most of
// which the program steps over (about a kilobyte a station).
QByteArray Stations(int entries) {
    QJsonArray array;
    for (int i = 1; i <= entries; ++i) {
        const QString uuid =
            QStringLiteral("9617a958-0601-11e8-ae97-%1").arg(i, 12, 10, QLatin1Char('0'));
        const QString time = QStringLiteral("2026-11-30 08:15:04");
        const QString iso = QStringLiteral("2026-11-30T08:15:04Z");
        QJsonObject o;
        o.insert(QStringLiteral("changeuuid"), uuid);
        o.insert(QStringLiteral("stationuuid"), uuid);
        o.insert(QStringLiteral("serveruuid"), uuid);
        o.insert(QStringLiteral("name"), QStringLiteral("라디오 %1").arg(i));
        o.insert(QStringLiteral("url"), QStringLiteral("http://127.0.0.1:8732/radio%1.pls").arg(i));
        o.insert(QStringLiteral("url_resolved"),
                 QStringLiteral("http://127.0.0.1:8732/radio%1.mp3").arg(i));
        o.insert(QStringLiteral("homepage"),
                 QStringLiteral("http://127.0.0.1:8730/station/%1").arg(i));
        o.insert(QStringLiteral("favicon"),
                 QStringLiteral("http://127.0.0.1:8730/icon/%1.png").arg(i));
        o.insert(QStringLiteral("tags"), QStringLiteral("kpop,news"));
        o.insert(QStringLiteral("country"), QStringLiteral("The Republic Of Korea"));
        o.insert(QStringLiteral("countrycode"), QStringLiteral("KR"));
        o.insert(QStringLiteral("iso_3166_2"), QString());
        o.insert(QStringLiteral("state"),
                 i % 2 ? QStringLiteral("Seoul") : QStringLiteral("Busan"));
        o.insert(QStringLiteral("language"), QStringLiteral("korean"));
        o.insert(QStringLiteral("languagecodes"), QStringLiteral("ko"));
        o.insert(QStringLiteral("votes"), 120 + i % 50);
        o.insert(QStringLiteral("lastchangetime"), time);
        o.insert(QStringLiteral("lastchangetime_iso8601"), iso);
        o.insert(QStringLiteral("codec"), QStringLiteral("MP3"));
        o.insert(QStringLiteral("bitrate"), 128);
        o.insert(QStringLiteral("hls"), 0);
        o.insert(QStringLiteral("lastcheckok"), 1);
        o.insert(QStringLiteral("lastchecktime"), time);
        o.insert(QStringLiteral("lastchecktime_iso8601"), iso);
        o.insert(QStringLiteral("lastcheckoktime"), time);
        o.insert(QStringLiteral("lastcheckoktime_iso8601"), iso);
        o.insert(QStringLiteral("lastlocalchecktime"), time);
        o.insert(QStringLiteral("lastlocalchecktime_iso8601"), iso);
        o.insert(QStringLiteral("clicktimestamp"), time);
        o.insert(QStringLiteral("clicktimestamp_iso8601"), iso);
        o.insert(QStringLiteral("clickcount"), 40 + i % 7);
        o.insert(QStringLiteral("clicktrend"), i % 3 - 1);
        o.insert(QStringLiteral("ssl_error"), 0);
        o.insert(QStringLiteral("geo_lat"), QJsonValue::Null);
        o.insert(QStringLiteral("geo_long"), QJsonValue::Null);
        o.insert(QStringLiteral("has_extended_info"), false);
        array.append(o);
    }
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

struct Result {
    qint64 rowsMs = 0;
    qint64 stallMs = 0;
    int rows = 0;
};

// Opens a source tab whose list is kept already and waits for the rows and
// then for the background refresh to end.
Result OpenSource(ChannelLists& sources, Category category, ChannelListModel& model,
                  CChannelListView& view) {
    Result result;
    StallMeter meter;
    QElapsedTimer timer;
    int lists = 0;
    bool refreshed = false;
    // The loop sleeps between events as the window's does: a loop that spun
    // would take the processor from the worker that parses the list.
    QEventLoop loop;
    const auto quitWhenDone = [&] {
        if (lists >= 2 && refreshed)
            loop.quit();
    };
    QObject::connect(&sources, &ChannelLists::refreshed, &loop, [&] {
        refreshed = true;
        quitWhenDone();
    });
    model.Clear();
    meter.Start();
    timer.start();
    sources.Open(category, QString(), [&](ChannelLists::Listing listing) {
        model.ReplaceRows(std::move(listing.rows));
        view.repaint();
        if (++lists == 1)
            result.rowsMs = timer.elapsed();
        quitWhenDone();
    });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    result.stallMs = meter.Stop();
    result.rows = model.rowCount();
    return result;
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    bench::UsePrivateFolders(home);
    QApplication app(argc, argv);
    const int entries = argc > 1 ? QByteArray(argv[1]).toInt() : 30000;
    QTextStream out(stdout);

    ChannelListModel model;
    CChannelListView view(&model);
    view.resize(398, 188);
    view.show();
    QApplication::processEvents();

    // The service catalogue, read and appended on the GUI thread.
    const QString ini = bench::WriteTvIni(home.path(), entries);
    Result service;
    {
        StallMeter meter;
        QElapsedTimer timer;
        meter.Start();
        timer.start();
        model.Clear();
        model.AppendRows(LoadCatalogueFile(ini, QStringLiteral("tv.ini"), QString()));
        view.repaint();
        service.rowsMs = timer.elapsed();
        QApplication::processEvents();
        service.stallMs = meter.Stop();
        service.rows = model.rowCount();
    }

    // A playlist and a directory answer, served on 127.0.0.1, kept from an earlier run.
    // On a thread of its own, as a server elsewhere would be: sending 30 MB
    // is not the window's work, and would show as its stall.
    QThread serverThread;
    serverThread.start();
    auto* served = new demo::LoopbackHttpServer;
    const QByteArray playlist = Playlist(entries);
    const QByteArray stations = Stations(entries);
    served->SetRoute(QStringLiteral("/kr.m3u"), demo::HttpResponse::Ok(playlist));
    served->SetRoute(QStringLiteral("/json/stations/search"), demo::HttpResponse::Ok(stations));
    served->moveToThread(&serverThread);
    bool listening = false;
    QMetaObject::invokeMethod(
        served, [&] { listening = served->Listen(); }, Qt::BlockingQueuedConnection);
    if (!listening) {
        serverThread.quit();
        serverThread.wait();
        return 1;
    }
    SourceDefaults defaults = SourceDefaults::Development(served->BaseUrl());
    defaults.tabs[0] = ChannelSource{ChannelSource::Kind::Playlist, served->Url("/kr.m3u")};
    defaults.tabs[3] =
        ChannelSource{ChannelSource::Kind::Directory, QStringLiteral("countrycode=KR")};
    ChannelLists sources(home.filePath(QStringLiteral("data")), SourceSettings(defaults));
    QDir().mkpath(home.filePath(QStringLiteral("data")));
    for (const auto& [tab, bytes] :
         {std::pair{Category::Tv, playlist}, std::pair{Category::Radio, stations}}) {
        QFile kept(sources.KeptPath(tab));
        if (!kept.open(QIODevice::WriteOnly) || kept.write(bytes) != bytes.size())
            return 1;
    }
    // Where the worker's time goes: the reading alone, then with the mapping.
    QElapsedTimer parseClock;
    parseClock.start();
    const auto entriesRead = M3uPlaylist::Parse(playlist);
    const qint64 readMs = parseClock.elapsed();
    parseClock.restart();
    const auto parsed =
        ChannelLists::ParseList(defaults.tabs[0], playlist, Category::Tv, QString());
    const qint64 parseMs = parseClock.elapsed();
    parseClock.restart();
    const auto parsedStations =
        ChannelLists::ParseList(defaults.tabs[3], stations, Category::Radio, QString());
    const qint64 stationsMs = parseClock.elapsed();
    const bool directoryFirst = argc > 2 && QByteArray(argv[2]) == "directory-first";
    Result fromPlaylist;
    Result fromDirectory;
    if (directoryFirst) {
        fromDirectory = OpenSource(sources, Category::Radio, model, view);
        fromPlaylist = OpenSource(sources, Category::Tv, model, view);
    } else {
        fromPlaylist = OpenSource(sources, Category::Tv, model, view);
        fromDirectory = OpenSource(sources, Category::Radio, model, view);
    }

    QMetaObject::invokeMethod(
        served, [served] { delete served; }, Qt::BlockingQueuedConnection);
    serverThread.quit();
    serverThread.wait();

    // Wall-clock figures on a shared machine: the load says how far to trust them.
    QFile loadavg(QStringLiteral("/proc/loadavg"));
    const QByteArray load =
        loadavg.open(QIODevice::ReadOnly) ? loadavg.readAll().split(' ').mid(0, 3).join(' ') : "?";
    out << "source tab fill, " << entries << " entries (targets: rows <= 300 ms, stall <= 50 ms), "
        << (directoryFirst ? "directory opened first, " : "playlist opened first, ")
        << "load average " << load << "\n";
    out << "  service catalogue:  rows in " << service.rowsMs << " ms, longest stall "
        << service.stallMs << " ms, " << service.rows << " rows\n";
    out << "  playlist (M3U):     rows in " << fromPlaylist.rowsMs << " ms, longest stall "
        << fromPlaylist.stallMs << " ms, " << fromPlaylist.rows
        << " rows (including the background refresh)\n";
    out << "  radio directory:    rows in " << fromDirectory.rowsMs << " ms, longest stall "
        << fromDirectory.stallMs << " ms, " << fromDirectory.rows
        << " rows (including the background refresh)\n";
    // One value a line for scripts/bench.
    out << "sources-service-rows-ms " << service.rowsMs << "\nsources-service-stall-ms "
        << service.stallMs << "\nsources-playlist-rows-ms " << fromPlaylist.rowsMs
        << "\nsources-playlist-stall-ms " << fromPlaylist.stallMs << "\nsources-directory-rows-ms "
        << fromDirectory.rowsMs << "\nsources-directory-stall-ms " << fromDirectory.stallMs << "\n";
    out << "  worker: M3U read " << readMs << " ms (" << entriesRead.size()
        << " entries), read and mapped " << parseMs << " ms (" << parsed.listing.rows.size()
        << " rows); directory answer read and mapped " << stationsMs << " ms ("
        << parsedStations.listing.rows.size() << " rows)\n";
    return 0;
}
