#include "catalogue/ChannelName.h"

#include <QRegularExpression>

namespace ChannelName {

namespace {

// "(720p)", "(1080i)", "(576p25)": a resolution in round brackets.
const QRegularExpression& ResolutionNote() {
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
    QRegularExpressionMatch resolution = ResolutionNote().match(name);
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

QStringList Marks(const Parts& parts) {
    QStringList marks;
    if (parts.geoBlocked)
        marks << QStringLiteral("지역제한");
    if (parts.notAlwaysOn)
        marks << QStringLiteral("간헐");
    return marks;
}

QString MatchKey(const QString& name) {
    static const QRegularExpression quality(QStringLiteral("\\b(?:u?hd|fhd|sd)\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression spaces(QStringLiteral("\\s+"));
    QString key = Split(name.normalized(QString::NormalizationForm_C)).name.toCaseFolded();
    key.remove(quality);
    key.remove(spaces);
    return key;
}

} // namespace ChannelName
