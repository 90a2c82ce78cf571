#include "catalogue/StreamOptions.h"

#include <QMutexLocker>

namespace {

// mpv takes "%<bytes>%<value>" as the value verbatim, whatever it holds.
QByteArray Quoted(const QString& value) {
    const QByteArray utf8 = value.toUtf8();
    return '%' + QByteArray::number(utf8.size()) + '%' + utf8;
}

} // namespace

QByteArray StreamOptions::MpvFileOptions() const {
    QList<QByteArray> parts;
    if (!referrer.isEmpty())
        parts << "referrer=" + Quoted(referrer);
    if (!userAgent.isEmpty())
        parts << "user-agent=" + Quoted(userAgent);
    if (!headers.isEmpty()) {
        // A header list is itself comma-separated for mpv; a comma inside a
        // header value cannot be expressed there, so such a value is cut.
        QStringList safe;
        for (const QString& h : headers)
            safe << h.section(QLatin1Char(','), 0, 0);
        parts << "http-header-fields=" + Quoted(safe.join(QLatin1Char(',')));
    }
    return parts.join(',');
}

void StreamOptions::AddHeader(const QString& rawName, const QString& rawValue) {
    const QString name = rawName.trimmed();
    const QString value = rawValue.trimmed();
    if (name.isEmpty() || value.isEmpty())
        return;
    if (name.compare(QLatin1String("Referer"), Qt::CaseInsensitive) == 0 ||
        name.compare(QLatin1String("Referrer"), Qt::CaseInsensitive) == 0)
        referrer = value;
    else if (name.compare(QLatin1String("User-Agent"), Qt::CaseInsensitive) == 0)
        userAgent = value;
    else
        headers << name + QStringLiteral(": ") + value;
}
