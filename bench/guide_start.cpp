// From the start of a TV tab that takes its channels from a kept playlist to
// now/next shown from the kept guide: the list's rows are painted (the
// reference), then the guide read from its kept copy gives the first row's
// tooltip its programmes. Both from one clock started with the tab; a fresh
// ChannelLists and ChannelGuide each run, as at a start, medians printed.
// A start with no reading of the guide kept parses its XML (and keeps the
// reading); the starts after it read the kept reading.
// The guide: 200 channels over eight days (40-minute programmes with a title
// and a description each), gzip, of which the list has 120 channels.
//
//   waveorbit-bench-guide-start [runs]
#include "BenchFolders.h"
#include "app/PlayerSession.h"
#include "catalogue/CChannelListView.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/ChannelLists.h"
#include "guide/GuideBook.h"
#include "guide/GuideCache.h"
#include "guide/GuideReader.h"
#include "mainwindow/ChannelGuide.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimeZone>
#include <QTimer>

#include <algorithm>
#include <vector>

#include <zlib.h>

namespace {

constexpr int kListChannels = 120;
constexpr int kGuideChannels = 200;
constexpr int kDays = 8;
constexpr int kSlotMinutes = 40;
// Never asked: the kept guide is younger than twelve hours.
const QString kGuideAddress = QStringLiteral("http://127.0.0.1:9/guide.xml.gz");

QString StreamAddress(int channel) {
    return QStringLiteral("http://127.0.0.1:8733/tv%1/index.m3u8").arg(channel);
}

QByteArray Playlist() {
    QByteArray out = "#EXTM3U x-tvg-url=\"" + kGuideAddress.toUtf8() + "\"\r\n";
    for (int c = 0; c < kListChannels; ++c) {
        out += "#EXTINF:-1 tvg-id=\"Ch" + QByteArray::number(c) +
               ".kr\" group-title=\"General\",Channel " + QByteArray::number(c) + " (1080p)\r\n";
        out += StreamAddress(c).toUtf8() + "\r\n";
    }
    return out;
}

QByteArray Stamp(qint64 utc) {
    return QDateTime::fromSecsSinceEpoch(utc, QTimeZone::utc())
               .toString(QStringLiteral("yyyyMMddHHmmss"))
               .toLatin1() +
           " +0000";
}

// Returns the unpacked size.
qint64 WriteGuide(const QString& path, qint64 now) {
    gzFile out = gzopen(QFile::encodeName(path).constData(), "wb6");
    qint64 unpacked = 0;
    auto write = [&](const QByteArray& bytes) {
        gzwrite(out, bytes.constData(), static_cast<unsigned>(bytes.size()));
        unpacked += bytes.size();
    };
    write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tv generator-info-name=\"bench\">\n");
    for (int c = 0; c < kGuideChannels; ++c)
        write(QStringLiteral("<channel id=\"Ch%1.kr\"><display-name>채널 %1</display-name>"
                             "</channel>\n")
                  .arg(c)
                  .toUtf8());
    const qint64 from = now - 86400;
    const int slotCount = kDays * 24 * 60 / kSlotMinutes;
    QByteArray block;
    for (int c = 0; c < kGuideChannels; ++c) {
        for (int s = 0; s < slotCount; ++s) {
            const qint64 start = from + static_cast<qint64>(s) * kSlotMinutes * 60;
            block += "<programme start=\"" + Stamp(start) + "\" stop=\"" +
                     Stamp(start + kSlotMinutes * 60) + "\" channel=\"Ch" + QByteArray::number(c) +
                     ".kr\"><title lang=\"ko\">프로그램 " + QByteArray::number((c + s) % 37) +
                     "회</title><desc lang=\"ko\">오늘 우리 이야기 " + QByteArray::number(s) +
                     " 함께하는 새로운 시간, 가족과 음악과 여행의 소식.</desc></programme>\n";
            if (block.size() > (1 << 20)) {
                write(block);
                block.clear();
            }
        }
    }
    write(block + "</tv>\n");
    gzclose(out);
    return unpacked;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

struct Run {
    double rowsMs = -1;
    double nowNextMs = -1;
};

Run OneStart(const QString& dataFolder, const SourceDefaults& defaults, ChannelListModel& model,
             CChannelListView& view) {
    Run run;
    PlayerSession session;
    ChannelLists sources(dataFolder, SourceSettings(defaults));
    ChannelGuide guide(session, &sources, dataFolder, nullptr);
    QElapsedTimer clock;
    QEventLoop loop;
    const QStringList first{StreamAddress(0)};
    QObject::connect(&guide, &ChannelGuide::guideChanged, &loop, [&](Category category) {
        if (category != Category::Tv || run.nowNextMs >= 0 ||
            guide.ToolTip(Category::Tv, first).isEmpty())
            return;
        run.nowNextMs = clock.nsecsElapsed() / 1e6;
        loop.quit();
    });
    model.Clear();
    clock.start();
    sources.Open(Category::Tv, QString(), [&](ChannelLists::Listing listing) {
        if (run.rowsMs >= 0)
            return;
        model.ReplaceRows(std::move(listing.rows));
        view.repaint();
        run.rowsMs = clock.nsecsElapsed() / 1e6;
    });
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    loop.exec();
    return run;
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    bench::UsePrivateFolders(home);
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 5;
    QTextStream out(stdout);

    // The TV tab takes its channels from a playlist, kept from an earlier run,
    // as is its guide (fetched an hour ago: no refresh is due).
    const QString data = home.filePath(QStringLiteral("data"));
    QDir().mkpath(data);
    SourceDefaults defaults = SourceDefaults::Development(QStringLiteral("http://127.0.0.1:9"));
    defaults.tabs[0] =
        ChannelSource{ChannelSource::Kind::Playlist, QStringLiteral("http://127.0.0.1:9/kr.m3u")};
    qint64 unpacked = 0;
    {
        ChannelLists sources(data, SourceSettings(defaults));
        QFile kept(sources.KeptPath(Category::Tv));
        const QByteArray list = Playlist();
        if (!kept.open(QIODevice::WriteOnly) || kept.write(list) != list.size())
            return 1;
        GuideBook book(data);
        const QString guidePath = book.KeptPath(kGuideAddress);
        QDir().mkpath(QFileInfo(guidePath).absolutePath());
        unpacked = WriteGuide(guidePath, QDateTime::currentSecsSinceEpoch());
        QFile(guidePath).setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                     QFileDevice::FileModificationTime);
        out << "guide-start-kept-guide-mb " << QFileInfo(guidePath).size() / 1048576.0
            << " packed, " << unpacked / 1048576.0 << " unpacked\n";
    }
    ChannelListModel model;
    CChannelListView view(&model);
    view.resize(398, 188);
    view.show();
    QApplication::processEvents();

    // The reference of the reading itself: the kept guide read alone, on
    // this thread, for the list's channels.
    std::vector<double> alone;
    {
        const PlaylistGuides guides = PlaylistGuidesOf(Playlist());
        GuideReadOptions options;
        options.now = QDateTime::currentSecsSinceEpoch();
        const QString guidePath = GuideBook(data).KeptPath(kGuideAddress);
        for (int i = 0; i < 3; ++i) {
            QElapsedTimer clock;
            clock.start();
            const GuideReadResult result = ReadGuideFile(guidePath, guides.channels, options);
            alone.push_back(clock.nsecsElapsed() / 1e6);
            if (!result.data)
                return 1;
        }
    }

    // A start with no reading of the guide kept.
    const QString reading = GuideCache::PathFor(GuideBook(data).KeptPath(kGuideAddress));
    QFile::remove(reading);
    const Run first = OneStart(data, defaults, model, view);
    out << "first start, no reading kept: rows " << first.rowsMs << " ms, now/next "
        << first.nowNextMs << " ms\n";
    // The reading is kept on a worker after the guide is shown.
    QElapsedTimer waited;
    waited.start();
    while (!QFileInfo::exists(reading) && waited.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    if (first.nowNextMs < 0 || !QFileInfo::exists(reading))
        return 1;

    std::vector<double> rows, nowNext, after;
    for (int i = 0; i < runs; ++i) {
        const Run run = OneStart(data, defaults, model, view);
        out << "run " << i + 1 << ": rows " << run.rowsMs << " ms, now/next " << run.nowNextMs
            << " ms\n";
        if (run.rowsMs < 0 || run.nowNextMs < 0)
            return 1;
        rows.push_back(run.rowsMs);
        nowNext.push_back(run.nowNextMs);
        after.push_back(run.nowNextMs - run.rowsMs);
    }
    QFile loadavg(QStringLiteral("/proc/loadavg"));
    const QByteArray load =
        loadavg.open(QIODevice::ReadOnly) ? loadavg.readAll().split(' ').mid(0, 3).join(' ') : "?";
    out << "kept guide, " << kListChannels << " list channels of " << kGuideChannels
        << ", medians of " << runs << ", load average " << load << "\n";
    out << "guide-start-rows-ms " << Median(rows) << "\n";
    out << "guide-start-now-next-ms " << Median(nowNext) << "\n";
    out << "guide-start-after-rows-ms " << Median(after) << "\n";
    out << "guide-start-read-alone-ms " << Median(alone) << "\n";
    out << "guide-start-first-after-rows-ms " << first.nowNextMs - first.rowsMs << "\n";
    return 0;
}
