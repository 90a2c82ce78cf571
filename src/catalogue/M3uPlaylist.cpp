#include "catalogue/M3uPlaylist.h"

#include "app/LegacyText.h"
#include "catalogue/CUserChannelFile.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QUrlQuery>

namespace M3uPlaylist {

namespace {

// Calls line(view) for each line, split at CR LF, LF or a lone CR. Views,
// not copies: lists run to tens of thousands of lines.
template <typename Visit> void ForEachLine(QByteArrayView contents, Visit line) {
    qsizetype start = 0;
    const qsizetype size = contents.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = contents[i];
        if (c != '\n' && c != '\r')
            continue;
        line(contents.sliced(start, i - start));
        if (c == '\r' && i + 1 < size && contents[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        line(contents.sliced(start));
}

// Calls visit(key, value) for each key="value" or key=value in the part of
// an "#EXTINF" line before its title; the duration and bare words are not
// attributes.
template <typename Visit> void ForEachAttribute(QStringView head, Visit visit) {
    qsizetype i = 0;
    const qsizetype n = head.size();
    while (i < n) {
        while (i < n && head.at(i).isSpace())
            ++i;
        const qsizetype keyStart = i;
        while (i < n && !head.at(i).isSpace() && head.at(i) != QLatin1Char('='))
            ++i;
        const QStringView key = head.mid(keyStart, i - keyStart);
        if (i >= n || head.at(i) != QLatin1Char('='))
            continue; // the duration, or a bare word
        ++i;
        QStringView value;
        if (i < n && head.at(i) == QLatin1Char('"')) {
            const qsizetype close = head.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype end = close < 0 ? n : close;
            value = head.mid(i + 1, end - i - 1);
            i = close < 0 ? n : close + 1;
        } else {
            const qsizetype valueStart = i;
            while (i < n && !head.at(i).isSpace())
                ++i;
            value = head.mid(valueStart, i - valueStart);
        }
        if (!key.isEmpty())
            visit(key, value.trimmed());
    }
}

QString AttributeIn(QStringView head, QLatin1String key) {
    QStringView found;
    ForEachAttribute(head, [&](QStringView k, QStringView value) {
        if (k.compare(key, Qt::CaseInsensitive) == 0)
            found = value;
    });
    return found.toString();
}

struct ExtInf {
    QString title;
    QString attributeText;
};

// "#EXTINF:-1 tvg-name="x" group-title="News, Korea",Title, with commas".
// The title starts after the first comma that is not inside quotes.
ExtInf ParseExtInf(QStringView line) {
    ExtInf info;
    const QStringView body = line.mid(8); // after "#EXTINF:"
    qsizetype comma = -1;
    bool quoted = false;
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar c = body.at(i);
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (c == QLatin1Char(',') && !quoted) {
            comma = i;
            break;
        }
    }
    if (comma >= 0)
        info.title = body.mid(comma + 1).trimmed().toString();
    info.attributeText = (comma >= 0 ? body.left(comma) : body).trimmed().toString();
    return info;
}

// Trims blanks and byte-order marks. A mark is invisible, and the UTF-8
// decoder drops one at the start of a line anyway: a line " <mark>" was an
// address, but written back it read as an empty line.
QString TrimLine(QString text) {
    for (;;) {
        text = text.trimmed();
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        else if (text.endsWith(QChar(0xFEFF)))
            text.chop(1);
        else
            return text;
    }
}

QString Decoded(QByteArrayView line, bool wholeFileUtf8) {
    return wholeFileUtf8 ? QString::fromUtf8(line) : LegacyText::Decode(line.toByteArray());
}

// A quote would end the attribute early; names and groups never hold a
// line break (user.dat cannot store one).
QString AttributeText(QString text) {
    text.replace(QLatin1Char('"'), QLatin1Char('\''));
    return text;
}

QString OneLine(QString text) {
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

// "Name=value&Name=value", values percent-encoded (Kodi's header form).
void AddEncodedHeaders(const QString& text, StreamOptions* options) {
    for (const QString& pair : text.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        const int eq = pair.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        options->AddHeader(QUrl::fromPercentEncoding(pair.left(eq).toUtf8()),
                           QUrl::fromPercentEncoding(pair.mid(eq + 1).toUtf8()));
    }
}

// The per-channel directives between "#EXTINF" and the address.
void ReadOptionLine(const QString& line, StreamOptions* options) {
    const int colon = line.indexOf(QLatin1Char(':'));
    const QString tag = line.left(colon).toUpper();
    const QString body = line.mid(colon + 1).trimmed();
    const int eq = body.indexOf(QLatin1Char('='));
    const QString key = body.left(eq).trimmed().toLower();
    const QString value = eq < 0 ? QString() : body.mid(eq + 1).trimmed();
    if (tag == QLatin1String("#EXTVLCOPT")) {
        if (key == QLatin1String("http-referrer") || key == QLatin1String("http-referer"))
            options->referrer = value;
        else if (key == QLatin1String("http-user-agent"))
            options->userAgent = value;
        else if (key == QLatin1String("http-origin"))
            options->AddHeader(QStringLiteral("Origin"), value);
    } else if (tag == QLatin1String("#KODIPROP")) {
        if (key.endsWith(QLatin1String("stream_headers")) ||
            key.endsWith(QLatin1String("manifest_headers")))
            AddEncodedHeaders(value, options);
    } else if (tag == QLatin1String("#EXTHTTP")) {
        const QJsonObject object = QJsonDocument::fromJson(body.toUtf8()).object();
        for (auto it = object.constBegin(); it != object.constEnd(); ++it)
            options->AddHeader(it.key(), it.value().toString());
    }
}

// A relative address is relative to the playlist, as in a web page.
QString Resolved(const QString& address, const QUrl& base) {
    // Most lines name their scheme: no need to parse them (lists run to
    // tens of thousands of lines).
    if (!base.isValid() || address.contains(QLatin1String("://")))
        return address;
    const QUrl url(address);
    if (!base.isValid() || !url.isRelative())
        return address; // no base, or the address names its own scheme
    if (base.isLocalFile() && address.startsWith(QLatin1Char('/')))
        return address; // an absolute path beside a local playlist
    const QUrl resolved = base.resolved(url);
    return resolved.isLocalFile() ? resolved.toLocalFile() : resolved.toString();
}

} // namespace

QString Entry::Attribute(const char* key) const {
    return AttributeIn(attributeText, QLatin1String(key));
}

std::vector<Entry> Parse(const QByteArray& rawContents, const QUrl& base) {
    QByteArrayView contents(rawContents);
    if (contents.startsWith("\xEF\xBB\xBF"))
        contents = contents.sliced(3);
    // A file is normally one encoding; a CP949 file is told apart by not
    // being UTF-8. Lines are still decoded one by one then, so a CP949 list
    // with a few UTF-8 lines pasted in keeps both readable.
    const bool utf8 = LegacyText::IsValidUtf8(contents);

    std::vector<Entry> entries;
    // About one entry in two lines ("#EXTINF" and the address).
    entries.reserve(static_cast<size_t>(contents.count('\n') / 2 + 1));
    bool pending = false;
    ExtInf info;
    QString groupLine;
    StreamOptions options;
    ForEachLine(contents, [&](QByteArrayView raw) {
        const QString line = TrimLine(Decoded(raw, utf8));
        if (line.isEmpty())
            return;
        if (line.startsWith(QLatin1Char('#'))) {
            if (line.startsWith(QLatin1String("#EXTINF:"), Qt::CaseInsensitive)) {
                info = ParseExtInf(line);
                pending = true;
            } else if (line.startsWith(QLatin1String("#EXTGRP:"), Qt::CaseInsensitive)) {
                groupLine = line.mid(8).trimmed();
            } else if (line.startsWith(QLatin1String("#EXTVLCOPT:"), Qt::CaseInsensitive) ||
                       line.startsWith(QLatin1String("#KODIPROP:"), Qt::CaseInsensitive) ||
                       line.startsWith(QLatin1String("#EXTHTTP:"), Qt::CaseInsensitive)) {
                ReadOptionLine(line, &options);
            }
            return; // "#EXTM3U" and every other directive or comment
        }
        Entry entry;
        entry.url = line;
        // "address|Referer=...&User-Agent=..." carries headers after a bar.
        const int bar = entry.url.indexOf(QLatin1Char('|'));
        if (bar > 0) {
            AddEncodedHeaders(entry.url.mid(bar + 1), &options);
            entry.url = entry.url.left(bar).trimmed();
        }
        entry.url = Resolved(entry.url, base);
        entry.options = options;
        if (pending) {
            entry.attributeText = std::move(info.attributeText);
            // Lists also give a channel's Referer and User-Agent as #EXTINF
            // attributes; a #EXTVLCOPT line for the same says the same.
            if (entry.attributeText.contains(QLatin1String("http-"), Qt::CaseInsensitive)) {
                if (entry.options.referrer.isEmpty())
                    entry.options.referrer = entry.Attribute("http-referrer");
                if (entry.options.userAgent.isEmpty())
                    entry.options.userAgent = entry.Attribute("http-user-agent");
            }
            entry.name = !info.title.isEmpty() ? info.title : entry.Attribute("tvg-name");
            const QString group = entry.Attribute("group-title");
            entry.group = !group.isEmpty() ? group : groupLine;
        } else {
            entry.group = groupLine;
        }
        if (entry.name.isEmpty())
            entry.name = entry.url;
        entries.push_back(std::move(entry));
        pending = false;
        info = ExtInf();
        groupLine.clear();
        options = StreamOptions();
    });
    return entries;
}

QStringList GuideAddresses(const QByteArray& rawContents) {
    QByteArrayView contents(rawContents);
    if (contents.startsWith("\xEF\xBB\xBF"))
        contents = contents.sliced(3);
    QStringList addresses;
    bool first = true;
    ForEachLine(contents, [&](QByteArrayView raw) {
        if (!first)
            return;
        const QString line = TrimLine(Decoded(raw, LegacyText::IsValidUtf8(raw)));
        if (line.isEmpty())
            return;
        first = false;
        if (!line.startsWith(QLatin1String("#EXTM3U"), Qt::CaseInsensitive))
            return;
        ForEachAttribute(QStringView(line).mid(7), [&](QStringView key, QStringView value) {
            if (key.compare(QLatin1String("x-tvg-url"), Qt::CaseInsensitive) != 0 &&
                key.compare(QLatin1String("url-tvg"), Qt::CaseInsensitive) != 0 &&
                key.compare(QLatin1String("tvg-url"), Qt::CaseInsensitive) != 0)
                return;
            for (QStringView part : value.split(QLatin1Char(','))) {
                const QString address = part.trimmed().toString();
                if (!address.isEmpty() && !addresses.contains(address))
                    addresses << address;
            }
        });
    });
    return addresses;
}

QByteArray Write(const std::vector<Entry>& entries) {
    QString text = QStringLiteral("#EXTM3U\n");
    for (const Entry& entry : entries) {
        text += QStringLiteral("#EXTINF:-1 group-title=\"%1\",%2\n")
                    .arg(AttributeText(OneLine(entry.group)), OneLine(entry.name));
        text += OneLine(entry.url) + QLatin1Char('\n');
    }
    return text.toUtf8();
}

ChannelRecord ToUserRecord(const Entry& entry, const QString& homePage) {
    ChannelRecord record;
    record.fields = {
        QStringLiteral("일반등록"), entry.name, entry.group, QStringLiteral("연결대기"), entry.url,
        QStringLiteral("N"),        homePage};
    return CUserChannelFile::CutFields(CUserChannelFile::MakeStorable(std::move(record)));
}

Entry FromRecord(const ChannelRecord& record) {
    return Entry{record.name(), record.info(), record.url()};
}

std::vector<Entry> FromRecords(const std::vector<ChannelRecord>& records) {
    std::vector<Entry> entries;
    entries.reserve(records.size());
    for (const ChannelRecord& record : records) {
        if (!record.url().trimmed().isEmpty())
            entries.push_back(FromRecord(record));
    }
    return entries;
}

std::vector<ChannelRecord> ToUserRecords(const std::vector<Entry>& entries,
                                         const QString& homePage) {
    std::vector<ChannelRecord> records;
    records.reserve(entries.size());
    for (const Entry& entry : entries)
        records.push_back(ToUserRecord(entry, homePage));
    return records;
}

} // namespace M3uPlaylist
