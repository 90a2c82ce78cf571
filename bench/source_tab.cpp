// Fills the TV tab with 30,000 channels from each kind of source, the way the
// window does it, and prints side by side: the time until the rows show and
// the longest the event loop was held up meanwhile (a 1 ms timer measures the
// gaps). The service catalogue is read on the GUI thread as it always was;
// a playlist and a directory answer are parsed on a worker thread.
// Usage: waveorbit-bench-sources [entries]
#include "BenchCatalogue.h"
#include "catalogue/CChannelListView.h"
#include "catalogue/CatalogueLoader.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/ChannelSources.h"
#include "userchannels/M3uPlaylist.h"

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
        out += "#EXTINF:-1 tvg-id=\"c" + QByteArray::number(i) + "\" tvg-chno=\"" +
               QByteArray::number(i) + "\" group-title=\"General, News\"," +
               names.at(i % names.size()).arg(i).toUtf8() + "\r\n";
        out += "http://127.0.0.1:8733/tv" + QByteArray::number(i) + "/index.m3u8\r\n";
    }
    return out;
}

QByteArray Stations(int entries) {
    QJsonArray array;
    for (int i = 1; i <= entries; ++i) {
        QJsonObject o;
        o.insert(QStringLiteral("stationuuid"), QStringLiteral("uuid-%1").arg(i));
        o.insert(QStringLiteral("name"), QStringLiteral("라디오 %1").arg(i));
        o.insert(QStringLiteral("url_resolved"),
                 QStringLiteral("http://127.0.0.1:8732/radio%1.mp3").arg(i));
        o.insert(QStringLiteral("tags"), QStringLiteral("kpop,news"));
        o.insert(QStringLiteral("state"),
                 i % 2 ? QStringLiteral("Seoul") : QStringLiteral("Busan"));
        o.insert(QStringLiteral("codec"), QStringLiteral("MP3"));
        o.insert(QStringLiteral("bitrate"), 128);
        o.insert(QStringLiteral("lastcheckok"), 1);
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
Result OpenSource(ChannelSources& sources, int category, ChannelListModel& model,
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
    QObject::connect(&sources, &ChannelSources::refreshed, &loop, [&] {
        refreshed = true;
        quitWhenDone();
    });
    model.Clear();
    meter.Start();
    timer.start();
    sources.Open(category, QString(), [&](ChannelSources::Listing listing) {
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
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
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
    demo::LoopbackHttpServer server;
    if (!server.Listen())
        return 1;
    const QByteArray playlist = Playlist(entries);
    const QByteArray stations = Stations(entries);
    server.SetRoute(QStringLiteral("/kr.m3u"), demo::HttpResponse::Ok(playlist));
    server.SetRoute(QStringLiteral("/json/stations/search"), demo::HttpResponse::Ok(stations));
    SourceDefaults defaults = SourceDefaults::Development(server.BaseUrl());
    defaults.tabs[0] = ChannelSource{ChannelSource::Kind::Playlist, server.Url("/kr.m3u")};
    defaults.tabs[3] =
        ChannelSource{ChannelSource::Kind::Directory, QStringLiteral("countrycode=KR")};
    ChannelSources sources(home.filePath(QStringLiteral("data")), SourceSettings(defaults));
    QDir().mkpath(home.filePath(QStringLiteral("data")));
    for (const auto& [tab, bytes] : {std::pair{1, playlist}, std::pair{4, stations}}) {
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
    const auto parsed = ChannelSources::ParseList(defaults.tabs[0], playlist, 1, QString());
    const qint64 parseMs = parseClock.elapsed();
    parseClock.restart();
    const auto parsedStations = ChannelSources::ParseList(defaults.tabs[3], stations, 4, QString());
    const qint64 stationsMs = parseClock.elapsed();
    const Result fromPlaylist = OpenSource(sources, 1, model, view);
    const Result fromDirectory = OpenSource(sources, 4, model, view);

    // Wall-clock figures on a shared machine: the load says how far to trust them.
    QFile loadavg(QStringLiteral("/proc/loadavg"));
    const QByteArray load =
        loadavg.open(QIODevice::ReadOnly) ? loadavg.readAll().split(' ').mid(0, 3).join(' ') : "?";
    out << "source tab fill, " << entries << " entries (targets: rows <= 300 ms, stall <= 50 ms), "
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
