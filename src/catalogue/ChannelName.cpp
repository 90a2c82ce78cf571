#include "catalogue/ChannelName.h"

#include <QRegularExpression>

namespace ChannelName {

namespace {

// "(720p)", "(1080i)", "(576p25)": a resolution in round brackets.
const QRegularExpression& ResolutionPattern() {
    static const QRegularExpression re(QStringLiteral("\\(\\s*(\\d{3,4}[pi])\\d{0,3}\\s*\\)"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

// "[Geo-blocked]", "[Not 24/7]": every square-bracketed note.
const QRegularExpression& BracketNote() {
    static const QRegularExpression re(QStringLiteral("\\[([^\\]]*)\\]"));
    return re;
}

} // namespace

Parts Split(const QString& listed) {
    Parts parts;
    QString name = listed;
    QRegularExpressionMatch resolution = ResolutionPattern().match(name);
    if (resolution.hasMatch()) {
        parts.resolution = resolution.captured(1).toLower();
        name.remove(resolution.capturedStart(), resolution.capturedLength());
    }
    QRegularExpressionMatchIterator notes = BracketNote().globalMatch(name);
    while (notes.hasNext()) {
        const QString note = notes.next().captured(1).simplified().toCaseFolded();
        if (note.startsWith(QLatin1String("geo")))
            parts.geoBlocked = true;
        else if (note.startsWith(QLatin1String("not 24")))
            parts.notAlwaysOn = true;
    }
    name.remove(BracketNote());
    parts.name = name.simplified();
    // A name that was nothing but notes keeps what the list wrote.
    if (parts.name.isEmpty())
        parts.name = listed.simplified();
    return parts;
}

QString ResolutionNote(const QString& listed) {
    const QRegularExpressionMatch resolution = ResolutionPattern().match(listed);
    return resolution.hasMatch() ? resolution.captured(1).toLower() : QString();
}

QStringList Marks(const Parts& parts) {
    QStringList marks;
    if (parts.geoBlocked)
        marks << GeoBlockedMark();
    if (parts.notAlwaysOn)
        marks << QStringLiteral("간헐");
    return marks;
}

QString MatchKey(const QString& name) {
    return PlainMatchKey(Split(name.normalized(QString::NormalizationForm_C)).name);
}

QString PlainMatchKey(const QString& plain) {
    // A scan rather than regular expressions: lists of tens of thousands of
    // entries ask for a key per entry. Quality words are dropped as whole
    // words (runs of letters, digits and '_', as \b sees them).
    const QString folded = plain.normalized(QString::NormalizationForm_C).toCaseFolded();
    QString key;
    key.reserve(folded.size());
    const auto isWord = [](QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); };
    qsizetype i = 0;
    while (i < folded.size()) {
        const QChar c = folded.at(i);
        if (!isWord(c)) {
            if (!c.isSpace())
                key.append(c);
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < folded.size() && isWord(folded.at(end)))
            ++end;
        const QStringView word = QStringView(folded).mid(i, end - i);
        if (word != u"hd" && word != u"uhd" && word != u"fhd" && word != u"sd")
            key.append(word);
        i = end;
    }
    return key;
}

QString GeoBlockedMark() {
    return QStringLiteral("지역제한");
}

} // namespace ChannelName
