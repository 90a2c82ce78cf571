// The programme guide's reader and its time parser on arbitrary input. The
// first byte picks what is fed: a time, the bytes as a plain guide, or the
// bytes gzip-packed and cut where the second byte says (a transfer that
// broke off). Nothing may crash or hang; a time that reads lies in the
// years a guide can name and reads the same once written back; a guide that
// reads keeps, per channel, programmes in order that never overlap, and its
// queries agree with what it keeps.

#include "FuzzCheck.h"

#include "guide/GuideReader.h"
#include "guide/GuideTime.h"

#include <QBuffer>
#include <QDateTime>

#include <zlib.h>

namespace {

constexpr qint64 kNow = 1796817600; // 2026-12-09 12:00 UTC

QByteArray Gzip(const QByteArray& plain) {
    z_stream z{};
    deflateInit2(&z, 1, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(static_cast<qsizetype>(deflateBound(&z, static_cast<uLong>(plain.size()))), 0);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.constData()));
    z.avail_in = static_cast<uInt>(plain.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(static_cast<qsizetype>(z.total_out));
    deflateEnd(&z);
    return out;
}

void CheckTime(const QByteArray& text) {
    const std::optional<GuideTime::Parsed> parsed = GuideTime::Parse(text);
    if (!parsed)
        return;
    FUZZ_CHECK(parsed->utcSeconds >= -15 * 3600 && parsed->utcSeconds < 7258204800 + 15 * 3600,
               "a time outside the years a guide can name");
    const QByteArray written = QDateTime::fromSecsSinceEpoch(parsed->utcSeconds, QTimeZone::utc())
                                   .toString(QStringLiteral("yyyyMMddHHmmss +0000"))
                                   .toLatin1();
    const std::optional<GuideTime::Parsed> again = GuideTime::Parse(written);
    FUZZ_CHECK(again && again->utcSeconds == parsed->utcSeconds,
               "a time written back reads differently");
}

void CheckGuide(QByteArray bytes) {
    const std::vector<GuideChannel> channels = {
        {QStringLiteral("a"), QStringLiteral("a"), QStringLiteral("A"), {}, 0},
        {QStringLiteral("b"), QStringLiteral("b@SD"), QStringLiteral("B HD"), {}, 0},
        {QStringLiteral("c"), {}, QStringLiteral("C"), QStringLiteral("Cee"), -2},
    };
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    GuideReadOptions options;
    options.now = kNow;
    options.maxTextBytes = 1 << 20;
    const GuideReadResult result = ReadGuide(&buffer, channels, options);
    FUZZ_CHECK(!result.report.StatusText().isEmpty(), "a read without a status");
    if (!result.data) {
        FUZZ_CHECK(result.report.outcome == GuideReport::Outcome::Failed,
                   "no guide, but not failed");
        return;
    }
    for (const GuideChannel& channel : channels) {
        const std::vector<GuideData::Programme> all =
            result.data->Between(channel.key, 0, std::numeric_limits<qint64>::max() / 2);
        for (size_t i = 0; i < all.size(); ++i) {
            const GuideData::Programme& p = all[i];
            FUZZ_CHECK(p.stop > p.start, "a programme that ends before it starts");
            FUZZ_CHECK(i == 0 || all[i - 1].stop <= p.start, "two programmes on at once");
            const GuideData::NowNext at = result.data->At(channel.key, p.start);
            FUZZ_CHECK(at.now && at.now->start == p.start && at.now->title == p.title,
                       "the programme on at its start is another");
            const std::optional<qint64> change = result.data->NextChange(channel.key, p.start);
            FUZZ_CHECK(change && *change > p.start && *change <= p.stop,
                       "the next change is not within the programme");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input input(data, size);
    const unsigned char mode = input.Byte();
    if (mode % 3 == 0) {
        CheckTime(input.Rest());
    } else if (mode % 3 == 1) {
        CheckGuide(input.Rest());
    } else {
        const unsigned char cut = input.Byte();
        QByteArray packed = Gzip(input.Rest());
        if (cut != 0)
            packed.truncate(packed.size() * cut / 256);
        CheckGuide(packed);
    }
    return 0;
}
