// Reading a large XMLTV guide: a generated gzip guide of about 450 MB
// unpacked (3,000 channels x 7 days, every programme with a Korean title, an
// English one and a description of its own), of which the tab's list
// matches 300 channels (by id, by id with a feed, by name). Measured side
// by side in one run:
//   - inflating the file alone with zlib (reference);
//   - inflating and parsing it with QXmlStreamReader, keeping nothing (reference);
//   - the guide reader on a worker until now/next is known for a channel;
//   - the peak resident memory the read adds, what the kept guide holds,
//     and the longest the event loop waited for a turn meanwhile.
// The file is generated once into the folder given (default /tmp) and reused.
//
//   waveorbit-bench-guide [channels] [folder]

#include "app/WorkerTask.h"
#include "guide/GuideReader.h"
#include "guide/GuideStream.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QXmlStreamReader>

#include <cstdio>
#include <malloc.h>
#include <zlib.h>

namespace {

constexpr qint64 kNow = 1796817600; // 2026-12-09 12:00 UTC
constexpr int kDays = 7;
constexpr int kSlotMinutes = 40;
constexpr int kMatched = 300;

const char* const kShows[] = {"아침 뉴스", "생생 정보",         "드라마 스페셜", "가요 무대",
                              "다큐 세상", "스포츠 하이라이트", "어린이 세상",   "저녁 뉴스",
                              "영화 극장", "세계 여행",         "요리 교실",     "퀴즈 한마당"};
const char* const kWords[] = {"오늘",   "우리", "이야기", "사람들", "함께", "새로운",
                              "시간",   "세상", "마을",   "가족",   "음악", "소식",
                              "특별한", "여행", "바다",   "산",     "도시", "추억"};

qint64 ReadKb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(static_cast<qsizetype>(std::strlen(field)))
                .trimmed()
                .split(' ')[0]
                .toLongLong();
    }
    return 0;
}

void ResetPeak() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

QByteArray Stamp(qint64 utc) {
    // Written in Korean time, as Korean guides write them.
    return QDateTime::fromSecsSinceEpoch(utc + 9 * 3600, QTimeZone::utc())
               .toString(QStringLiteral("yyyyMMddHHmmss"))
               .toLatin1() +
           " +0900";
}

void Generate(const QString& path, int channels) {
    gzFile out = gzopen(QFile::encodeName(path).constData(), "wb1");
    gzbuffer(out, 1 << 20);
    gzputs(out, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE tv SYSTEM \"xmltv.dtd\">\n"
                "<tv generator-info-name=\"bench\">\n");
    for (int c = 0; c < channels; ++c) {
        const QByteArray line =
            QStringLiteral("<channel id=\"Ch%1.kr\"><display-name lang=\"ko\">채널 %1"
                           "</display-name><display-name>Channel %1 HD</display-name>"
                           "<icon src=\"http://127.0.0.1/%1.png\"/></channel>\n")
                .arg(c)
                .toUtf8();
        gzwrite(out, line.constData(), static_cast<unsigned>(line.size()));
    }
    const qint64 from = kNow - 86400;
    const int slotCount = kDays * 24 * 60 / kSlotMinutes;
    quint32 seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    QByteArray block;
    for (int c = 0; c < channels; ++c) {
        for (int s = 0; s < slotCount; ++s) {
            const qint64 start = from + static_cast<qint64>(s) * kSlotMinutes * 60;
            const char* show = kShows[(c + s) % 12];
            QByteArray desc;
            while (desc.size() < 340) {
                desc += kWords[next() % 18];
                desc += ' ';
            }
            block += "<programme start=\"" + Stamp(start) + "\" stop=\"" +
                     Stamp(start + kSlotMinutes * 60) + "\" channel=\"Ch" + QByteArray::number(c) +
                     ".kr\">\n  <title lang=\"ko\">" + show + " " + QByteArray::number(s / 36 + 1) +
                     "회</title>\n  <title lang=\"en\">Show " + QByteArray::number((c + s) % 12) +
                     "</title>\n  <desc lang=\"ko\">" + desc.trimmed() +
                     "</desc>\n  <category lang=\"en\">General</category>\n</programme>\n";
            if (block.size() > (1 << 20)) {
                gzwrite(out, block.constData(), static_cast<unsigned>(block.size()));
                block.clear();
            }
        }
    }
    block += "</tv>\n";
    gzwrite(out, block.constData(), static_cast<unsigned>(block.size()));
    gzclose(out);
}

// The tab's list: 300 of the guide's channels, a third each by exact id,
// by id with a feed, and by name only; and 100 the guide does not have.
std::vector<GuideChannel> List(int channels) {
    std::vector<GuideChannel> list;
    const int step = qMax(1, channels / kMatched);
    for (int i = 0; i < kMatched && i * step < channels; ++i) {
        const int c = i * step;
        GuideChannel channel;
        channel.key = QStringLiteral("http://127.0.0.1/%1.m3u8").arg(c);
        if (i % 3 == 0)
            channel.id = QStringLiteral("Ch%1.kr").arg(c);
        else if (i % 3 == 1)
            channel.id = QStringLiteral("Ch%1.kr@SD").arg(c);
        channel.name = QStringLiteral("Channel %1 (720p)").arg(c);
        list.push_back(channel);
    }
    for (int i = 0; i < 100; ++i)
        list.push_back(GuideChannel{QStringLiteral("http://127.0.0.1/x%1").arg(i),
                                    QStringLiteral("Missing%1.kr").arg(i),
                                    QStringLiteral("Missing %1").arg(i),
                                    {},
                                    0});
    return list;
}

double Seconds(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int channels = argc > 1 ? std::atoi(argv[1]) : 3000;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("/tmp");
    const QString path =
        folder + QStringLiteral("/waveorbit-bench-guide-v2-%1.xml.gz").arg(channels);
    if (!QFileInfo::exists(path)) {
        QElapsedTimer timer;
        timer.start();
        Generate(path + QStringLiteral(".part"), channels);
        QFile::rename(path + QStringLiteral(".part"), path);
        std::printf("guide-generated-s %.1f\n", Seconds(timer));
    }
    std::printf("guide-file-mb %.1f\n", static_cast<double>(QFileInfo(path).size()) / 1e6);

    // Reference 1: inflating alone.
    QElapsedTimer timer;
    timer.start();
    qint64 unpacked = 0;
    {
        gzFile in = gzopen(QFile::encodeName(path).constData(), "rb");
        gzbuffer(in, 1 << 16);
        QByteArray buffer(1 << 16, Qt::Uninitialized);
        int n = 0;
        while ((n = gzread(in, buffer.data(), static_cast<unsigned>(buffer.size()))) > 0)
            unpacked += n;
        gzclose(in);
    }
    std::printf("guide-unpacked-mb %.1f\n", static_cast<double>(unpacked) / 1e6);
    std::printf("guide-inflate-only-s %.2f\n", Seconds(timer));

    // Reference 2: inflating and a streaming parse that keeps nothing.
    timer.restart();
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        GuideStream stream(&file, 1ll << 40);
        QXmlStreamReader xml(&stream);
        qint64 elements = 0;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement)
                ++elements;
        }
        std::printf("guide-plain-parse-elements %lld\n", static_cast<long long>(elements));
    }
    std::printf("guide-plain-parse-s %.2f\n", Seconds(timer));

    // The guide reader on a worker, the event loop watched meanwhile.
    malloc_trim(0);
    ResetPeak();
    const qint64 rssBefore = ReadKb("VmRSS:");
    const std::vector<GuideChannel> list = List(channels);
    GuideReadOptions options;
    options.now = kNow;
    qint64 longestStallMs = 0;
    QElapsedTimer tick;
    QTimer sampler;
    sampler.setInterval(5);
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        longestStallMs = qMax(longestStallMs, tick.elapsed() - 5);
        tick.restart();
    });
    std::shared_ptr<const GuideData> kept;
    GuideReport report;
    timer.restart();
    tick.start();
    sampler.start();
    RunOnWorker<GuideReadResult>(
        &app, [&] { return ReadGuideFile(path, list, options); },
        [&](GuideReadResult result) {
            kept = std::move(result.data);
            report = result.report;
            if (kept) {
                const GuideData::NowNext nowNext = kept->At(list.front().key, kNow);
                std::printf("guide-now-title %s\n",
                            nowNext.now ? qPrintable(nowNext.now->title) : "(none)");
            }
            std::printf("guide-read-to-now-next-s %.2f\n", Seconds(timer));
            app.quit();
        });
    app.exec();
    sampler.stop();
    const qint64 peakKb = ReadKb("VmHWM:") - rssBefore;
    std::printf("guide-status %s\n", qPrintable(report.StatusText()));
    std::printf("guide-programmes-kept %lld\n", static_cast<long long>(report.programmes));
    std::printf("guide-peak-rss-added-mb %.1f\n", static_cast<double>(peakKb) / 1024.0);
    if (kept) {
        const qint64 bytes = kept->MemoryBytes();
        std::printf("guide-kept-mb %.2f\n", static_cast<double>(bytes) / 1048576.0);
        std::printf("guide-kept-bytes-per-programme %.0f\n",
                    static_cast<double>(bytes) / qMax<qint64>(1, report.programmes));
        std::printf("guide-kept-target-mb %.2f\n",
                    (200.0 * static_cast<double>(report.programmes) + 5 * 1048576.0) / 1048576.0);
    }
    std::printf("guide-longest-stall-ms %lld\n", static_cast<long long>(longestStallMs));
    return kept ? 0 : 1;
}
