#include "userchannels/M3uPlaylist.h"

#include "app/LegacyText.h"
#include "userchannels/CUserChannelFile.h"

namespace M3uPlaylist {

namespace {

// Splits at CR LF, LF or a lone CR.
std::vector<QByteArray> SplitLines(const QByteArray& contents) {
    std::vector<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype size = contents.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = contents.at(i);
        if (c != '\n' && c != '\r')
            continue;
        lines.push_back(contents.mid(start, i - start));
        if (c == '\r' && i + 1 < size && contents.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.push_back(contents.mid(start));
    return lines;
}

struct ExtInf {
    QString title;
    QString group;
    QString tvgName;
};

// "#EXTINF:-1 tvg-name="x" group-title="News, Korea",Title, with commas".
// The title starts after the first comma that is not inside quotes.
ExtInf ParseExtInf(const QString& line) {
    ExtInf info;
    const QString body = line.mid(8); // after "#EXTINF:"
    int comma = -1;
    bool quoted = false;
    for (int i = 0; i < body.size(); ++i) {
        const QChar c = body.at(i);
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (c == QLatin1Char(',') && !quoted) {
            comma = i;
            break;
        }
    }
    const QString head = comma >= 0 ? body.left(comma) : body;
    if (comma >= 0)
        info.title = body.mid(comma + 1).trimmed();

    // Attributes: key="value" or key=value, after the duration.
    int i = 0;
    const int n = head.size();
    while (i < n) {
        while (i < n && head.at(i).isSpace())
            ++i;
        const int keyStart = i;
        while (i < n && !head.at(i).isSpace() && head.at(i) != QLatin1Char('='))
            ++i;
        const QString key = head.mid(keyStart, i - keyStart).toLower();
        if (i >= n || head.at(i) != QLatin1Char('='))
            continue; // the duration, or a bare word
        ++i;
        QString value;
        if (i < n && head.at(i) == QLatin1Char('"')) {
            const int close = head.indexOf(QLatin1Char('"'), i + 1);
            const int end = close < 0 ? n : close;
            value = head.mid(i + 1, end - i - 1);
            i = close < 0 ? n : close + 1;
        } else {
            const int valueStart = i;
            while (i < n && !head.at(i).isSpace())
                ++i;
            value = head.mid(valueStart, i - valueStart);
        }
        if (key == QLatin1String("group-title"))
            info.group = value.trimmed();
        else if (key == QLatin1String("tvg-name"))
            info.tvgName = value.trimmed();
    }
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

QString Decoded(const QByteArray& line, bool wholeFileUtf8) {
    return wholeFileUtf8 ? QString::fromUtf8(line) : LegacyText::Decode(line);
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

} // namespace

std::vector<Entry> Parse(const QByteArray& rawContents) {
    QByteArray contents = rawContents;
    if (contents.startsWith("\xEF\xBB\xBF"))
        contents.remove(0, 3);
    // A file is normally one encoding; a CP949 file is told apart by not
    // being UTF-8. Lines are still decoded one by one then, so a CP949 list
    // with a few UTF-8 lines pasted in keeps both readable.
    const bool utf8 = LegacyText::IsValidUtf8(contents);

    std::vector<Entry> entries;
    bool pending = false;
    ExtInf info;
    QString groupLine;
    for (const QByteArray& raw : SplitLines(contents)) {
        const QString line = TrimLine(Decoded(raw, utf8));
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1Char('#'))) {
            if (line.startsWith(QLatin1String("#EXTINF:"), Qt::CaseInsensitive)) {
                info = ParseExtInf(line);
                pending = true;
            } else if (line.startsWith(QLatin1String("#EXTGRP:"), Qt::CaseInsensitive)) {
                groupLine = line.mid(8).trimmed();
            }
            continue; // "#EXTM3U" and every other directive or comment
        }
        Entry entry;
        entry.url = line;
        if (pending) {
            entry.name = !info.title.isEmpty() ? info.title : info.tvgName;
            entry.group = !info.group.isEmpty() ? info.group : groupLine;
        } else {
            entry.group = groupLine;
        }
        if (entry.name.isEmpty())
            entry.name = entry.url;
        entries.push_back(std::move(entry));
        pending = false;
        info = ExtInf();
        groupLine.clear();
    }
    return entries;
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
