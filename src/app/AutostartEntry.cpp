#include "app/AutostartEntry.h"

#include <QStringList>

namespace AutostartEntry {
namespace {

// Desktop entry string values escape "\" and control characters.
QString EscapeString(const QString& text) {
    QString out;
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString UnescapeString(const QString& text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\') || i + 1 >= text.size()) {
            out += c;
            continue;
        }
        const QChar e = text.at(++i);
        switch (e.unicode()) {
        case 's':
            out += QLatin1Char(' ');
            break;
        case 'n':
            out += QLatin1Char('\n');
            break;
        case 't':
            out += QLatin1Char('\t');
            break;
        case 'r':
            out += QLatin1Char('\r');
            break;
        case '\\':
            out += QLatin1Char('\\');
            break;
        default:
            out += QLatin1Char('\\');
            out += e;
        }
    }
    return out;
}

bool NeedsQuoting(const QString& argument) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    if (argument.isEmpty())
        return true;
    for (QChar c : argument) {
        if (reserved.contains(c))
            return true;
    }
    return false;
}

} // namespace

QString QuoteExecArgument(const QString& argument) {
    QString arg = argument;
    arg.replace(QLatin1Char('%'), QStringLiteral("%%"));
    if (!NeedsQuoting(argument))
        return arg;
    QString out = QStringLiteral("\"");
    for (QChar c : arg) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        out += c;
    }
    out += QLatin1Char('"');
    return out;
}

QString UnquoteExec(const QString& exec) {
    QString text = exec;
    if (text.size() >= 2 && text.front() == QLatin1Char('"') && text.back() == QLatin1Char('"')) {
        QString out;
        for (qsizetype i = 1; i < text.size() - 1; ++i) {
            QChar c = text.at(i);
            if (c == QLatin1Char('\\') && i + 1 < text.size() - 1)
                c = text.at(++i);
            out += c;
        }
        text = out;
    }
    text.replace(QStringLiteral("%%"), QStringLiteral("%"));
    return text;
}

QByteArray Make(const QString& name, const QString& command) {
    QString out;
    out += QStringLiteral("[Desktop Entry]\n");
    out += QStringLiteral("Type=Application\n");
    out += QStringLiteral("Name=") + EscapeString(name) + QLatin1Char('\n');
    out += QStringLiteral("Exec=") + EscapeString(QuoteExecArgument(command)) + QLatin1Char('\n');
    out += QStringLiteral("Terminal=false\n");
    out += QStringLiteral("X-GNOME-Autostart-enabled=true\n");
    return out.toUtf8();
}

std::optional<QString> CommandOf(const QByteArray& entry) {
    const QStringList lines = QString::fromUtf8(entry).split(QLatin1Char('\n'));
    bool inMainGroup = false;
    std::optional<QString> exec;
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.startsWith(QLatin1Char('['))) {
            inMainGroup = line == QStringLiteral("[Desktop Entry]");
            continue;
        }
        if (!inMainGroup)
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        if (key == QStringLiteral("Hidden") && value == QStringLiteral("true"))
            return std::nullopt;
        if (key == QStringLiteral("Exec") && !exec)
            exec = UnquoteExec(UnescapeString(value));
    }
    return exec;
}

} // namespace AutostartEntry
