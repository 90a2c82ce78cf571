#include "app/IniDocument.h"

#include <QStringDecoder>

namespace {

bool IsBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QString TrimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text.at(begin)))
        ++begin;
    while (end > begin && IsBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

int HexValue(QChar c) {
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

} // namespace

IniDocument IniDocument::Parse(const QByteArray& utf8) {
    IniDocument doc;
    // Decoded with a leading mark kept, so exactly one is taken off here
    // (QString::fromUtf8 would drop one by itself).
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder(utf8);
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
        doc.byteOrderMark_ = true;
    }
    const QStringList rawLines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < rawLines.size(); ++i) {
        QString raw = rawLines.at(i);
        if (i == rawLines.size() - 1 && raw.isEmpty())
            break; // the text after the final line break
        // CR LF ends a line; so does a run of CRs before the LF (a file passed
        // through two CR LF conversions), which must not end up in a value.
        while (raw.endsWith(QLatin1Char('\r')))
            raw.chop(1);
        Line line;
        line.text = raw;
        const QString trimmed = TrimBlanks(raw);
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']'))) {
            line.kind = Line::Kind::Section;
            line.section = trimmed.mid(1, trimmed.size() - 2);
        } else if (!trimmed.isEmpty() && !trimmed.startsWith(QLatin1Char(';')) &&
                   !trimmed.startsWith(QLatin1Char('#'))) {
            const qsizetype eq = trimmed.indexOf(QLatin1Char('='));
            if (eq > 0) {
                line.kind = Line::Kind::Entry;
                line.name = TrimBlanks(trimmed.left(eq));
                line.stored = TrimBlanks(trimmed.mid(eq + 1));
            }
        }
        doc.lines_.append(line);
    }
    return doc;
}

QByteArray IniDocument::Serialize() const {
    QString out;
    if (byteOrderMark_)
        out += QChar(0xFEFF);
    for (const Line& line : lines_) {
        out += line.text;
        out += QLatin1Char('\n');
    }
    return out.toUtf8();
}

int IniDocument::FindSection(const QString& section) const {
    for (int i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == Line::Kind::Section && SameName(lines_[i].section, section))
            return i;
    }
    return -1;
}

int IniDocument::FindEntry(int sectionLine, const QString& name) const {
    for (int i = sectionLine + 1; i < lines_.size(); ++i) {
        if (lines_[i].kind == Line::Kind::Section)
            break;
        if (lines_[i].kind == Line::Kind::Entry && SameName(lines_[i].name, name))
            return i;
    }
    return -1;
}

std::optional<QString> IniDocument::Value(const QString& section, const QString& name) const {
    // A section may stand twice in a hand-edited file: look through each.
    for (int i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind != Line::Kind::Section || !SameName(lines_[i].section, section))
            continue;
        const int entry = FindEntry(i, name);
        if (entry >= 0)
            return DecodeValue(lines_[entry].stored);
    }
    return std::nullopt;
}

bool IniDocument::IsStorableName(const QString& name) {
    if (name.isEmpty() || TrimBlanks(name) != name)
        return false;
    if (name.startsWith(QLatin1Char('[')) || name.startsWith(QLatin1Char(';')) ||
        name.startsWith(QLatin1Char('#')))
        return false;
    for (QChar c : name) {
        if (c == QLatin1Char('=') || c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    }
    return true;
}

bool IniDocument::SetValue(const QString& section, const QString& name, const QString& value) {
    if (!IsStorableName(name) || section.contains(QLatin1Char('\n')) ||
        section.contains(QLatin1Char('\r')) || section.contains(QLatin1Char(']')))
        return false;
    Line entry;
    entry.kind = Line::Kind::Entry;
    entry.name = name;
    entry.stored = EncodeValue(value);
    entry.text = name + QLatin1Char('=') + entry.stored;

    for (int i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind != Line::Kind::Section || !SameName(lines_[i].section, section))
            continue;
        const int existing = FindEntry(i, name);
        if (existing >= 0) {
            entry.name = lines_[existing].name; // keep the spelling already in the file
            entry.text = entry.name + QLatin1Char('=') + entry.stored;
            lines_[existing] = entry;
            return true;
        }
    }
    int sectionLine = FindSection(section);
    if (sectionLine < 0) {
        if (!lines_.isEmpty() && !TrimBlanks(lines_.last().text).isEmpty()) {
            lines_.append(Line{}); // a blank line between sections, for the reader
        }
        Line header;
        header.kind = Line::Kind::Section;
        header.section = section;
        header.text = QLatin1Char('[') + section + QLatin1Char(']');
        lines_.append(header);
        lines_.append(entry);
        return true;
    }
    // After the last entry of the section, so blank lines before the next
    // section stay where they are.
    int insertAt = sectionLine + 1;
    for (int i = sectionLine + 1; i < lines_.size(); ++i) {
        if (lines_[i].kind == Line::Kind::Section)
            break;
        if (lines_[i].kind == Line::Kind::Entry)
            insertAt = i + 1;
    }
    lines_.insert(insertAt, entry);
    return true;
}

bool IniDocument::RemoveValue(const QString& section, const QString& name) {
    bool removed = false;
    for (int i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind != Line::Kind::Section || !SameName(lines_[i].section, section))
            continue;
        int entry;
        while ((entry = FindEntry(i, name)) >= 0) {
            lines_.remove(entry);
            removed = true;
        }
    }
    return removed;
}

QString IniDocument::EncodeValue(const QString& value) {
    bool needsQuotes = !value.isEmpty() && (IsBlank(value.front()) || IsBlank(value.back()) ||
                                            value.front() == QLatin1Char('"'));
    for (QChar c : value) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
            needsQuotes = true;
            break;
        }
    }
    if (!needsQuotes)
        return value;
    QString out = QStringLiteral("\"");
    for (QChar c : value) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '"':
            out += QStringLiteral("\\\"");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

QString IniDocument::DecodeValue(const QString& stored) {
    if (stored.size() < 2 || stored.front() != QLatin1Char('"') ||
        stored.back() != QLatin1Char('"'))
        return stored;
    QString out;
    const qsizetype end = stored.size() - 1;
    for (qsizetype i = 1; i < end; ++i) {
        const QChar c = stored.at(i);
        if (c != QLatin1Char('\\')) {
            out += c;
            continue;
        }
        if (i + 1 >= end)
            return stored; // a lone backslash: not our quoting, take the text as it is
        const QChar e = stored.at(++i);
        switch (e.unicode()) {
        case '\\':
            out += QLatin1Char('\\');
            break;
        case '"':
            out += QLatin1Char('"');
            break;
        case 'n':
            out += QLatin1Char('\n');
            break;
        case 'r':
            out += QLatin1Char('\r');
            break;
        case 't':
            out += QLatin1Char('\t');
            break;
        case 'x': {
            if (i + 2 >= end)
                return stored;
            const int hi = HexValue(stored.at(i + 1));
            const int lo = HexValue(stored.at(i + 2));
            if (hi < 0 || lo < 0)
                return stored;
            out += QChar(static_cast<ushort>(hi * 16 + lo));
            i += 2;
            break;
        }
        default:
            return stored;
        }
    }
    return out;
}
