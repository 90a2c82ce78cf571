// What one row per channel costs: a 30,000-entry playlist in which 10,000
// entries name a channel listed already (spare addresses, @SD feeds, the same
// name with other notes), from the kept file on disk to its rows painted in
// the list, with and without joining the entries of one channel, in turn,
// several times; then a channel with 10,000 addresses of its own. Prints the
// medians.
// Usage: waveorbit-bench-merge [entries] [duplicates] [runs]
#include "catalogue/CChannelListView.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/ChannelLists.h"
#include "catalogue/ChannelMerge.h"
#include "catalogue/ChannelSource.h"
#include "catalogue/M3uPlaylist.h"
#include "catalogue/SourceMapping.h"
#include "guide/GuideReader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThreadPool>

#include <algorithm>
#include <vector>

namespace {

QByteArray Playlist(int entries, int duplicates) {
    const int channels = entries - duplicates;
    QByteArray out = "#EXTM3U\r\n";
    out.reserve(entries * 170);
    for (int i = 0; i < entries; ++i) {
        // The first entries are the channels; the rest name one of them again:
        // by id with another feed, or, for the channels the list gives no id
        // (every fifth), by the same name with other notes.
        const int channel = i < channels ? i : (i * 7919) % channels;
        const bool again = i >= channels;
        const QByteArray id = channel % 5 == 0 ? QByteArray()
                                               : "c" + QByteArray::number(channel) + ".kr" +
                                                     (again ? QByteArray("@SD") : QByteArray());
        const QByteArray name =
            "Channel " + QByteArray::number(channel) + (again ? " (480p) [Not 24/7]" : " (1080p)");
        out += "#EXTINF:-1 tvg-id=\"" + id + "\" tvg-logo=\"http://127.0.0.1:8730/logo/" +
               QByteArray::number(channel) + ".png\" group-title=\"General\"," + name + "\r\n";
        out += "http://127.0.0.1:8733/tv" + QByteArray::number(i) + "/index.m3u8\r\n";
    }
    return out;
}

const QString kListAddress = QStringLiteral("http://127.0.0.1:8730/sources/big.m3u");

// The same steps as the tab's read, without joining one channel's entries.
std::vector<ChannelRecord> RowsWithoutMerging(const QByteArray& bytes) {
    std::vector<ChannelRecord> rows;
    const auto entries = M3uPlaylist::Parse(bytes, QUrl(kListAddress));
    // What the tab reads for its guide is read either way.
    const PlaylistGuides guides{GuideChannelsOf(entries), M3uPlaylist::GuideAddresses(bytes)};
    rows.reserve(entries.size());
    for (const M3uPlaylist::Entry& e : entries)
        rows.push_back(SourceMapping::FromPlaylistEntry(e));
    CatalogueFamilyBlocks blocks;
    return SourceMapping::ArrangeForTab(std::move(rows), Category::World, QString(), &blocks);
}

std::vector<ChannelRecord> RowsMerged(const QByteArray& bytes) {
    const ChannelSource source{ChannelSource::Kind::Playlist, kListAddress};
    return ChannelLists::ParseList(source, bytes, Category::World, QString()).listing.rows;
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

qint64 Median(std::vector<qint64> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int entries = argc > 1 ? QByteArray(argv[1]).toInt() : 30000;
    const int duplicates = argc > 2 ? QByteArray(argv[2]).toInt() : 10000;
    const int runs = argc > 3 ? QByteArray(argv[3]).toInt() : 7;
    QTextStream out(stdout);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("list.m3u"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(Playlist(entries, duplicates)) < 0)
            return 1;
    }

    ChannelListModel model;
    CChannelListView view(&model);
    view.resize(398, 188);
    view.show();
    QApplication::processEvents();

    std::vector<qint64> plain;
    std::vector<qint64> merged;
    int plainRows = 0;
    int mergedRows = 0;
    QElapsedTimer timer;
    // From the kept file to the rows painted, each way in turn.
    const auto shown = [&](auto rowsOf, std::vector<qint64>& into, int& rows) {
        model.Clear();
        // A long list is freed on a worker: done before the clock starts.
        QThreadPool::globalInstance()->waitForDone();
        QApplication::processEvents();
        timer.start();
        model.ReplaceRows(rowsOf(ReadFile(path)));
        view.repaint();
        into.push_back(timer.nsecsElapsed() / 1000);
        rows = model.rowCount();
    };
    for (int run = 0; run < runs; ++run) {
        shown(RowsWithoutMerging, plain, plainRows);
        shown(RowsMerged, merged, mergedRows);
    }
    const double plainMs = Median(plain) / 1000.0;
    const double mergedMs = Median(merged) / 1000.0;
    out << "merge-entries " << entries << " duplicates " << duplicates << " rows " << mergedRows
        << " (unmerged " << plainRows << ")\n";
    out << "merge-plain-ms " << plainMs << "\n";
    out << "merge-merged-ms " << mergedMs << "\n";
    out << "merge-added-percent " << (plainMs > 0 ? 100.0 * (mergedMs - plainMs) / plainMs : 0)
        << "\n";

    // One channel listed 10,000 times: its row keeps every address.
    std::vector<ChannelMerge::Entry> one;
    for (int i = 0; i < 10000; ++i) {
        ChannelRecord record;
        record.fields[ChannelRecord::Name] = QStringLiteral("Arirang (720p)");
        record.fields[ChannelRecord::Url] = QStringLiteral("http://127.0.0.1:8733/a%1.m3u8").arg(i);
        one.push_back({record, QStringLiteral("ArirangTV.kr")});
    }
    timer.start();
    const std::vector<ChannelRecord> joined = ChannelMerge::Merge(std::move(one));
    out << "merge-one-channel-ms " << timer.nsecsElapsed() / 1.0e6 << " addresses "
        << (joined.empty() ? 0 : joined.front().Addresses().size()) << "\n";
    return 0;
}
