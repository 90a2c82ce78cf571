#include "app/Launcher.h"

#include "app/Endpoints.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

Launcher::Launcher()
    : backend_{[](const QUrl& url) { return QDesktopServices::openUrl(url); },
               [](const QString& program, const QStringList& arguments) {
                   return QProcess::startDetached(program, arguments);
               }} {}

Launcher::Launcher(Backend backend) : backend_(std::move(backend)) {}

QUrl Launcher::BrowserAddress(const QString& address) {
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty())
        return {};
    // Tolerant parsing percent-encodes blanks and quotes, so they stay part of
    // the one address handed over.
    QUrl url(trimmed, QUrl::TolerantMode);
    // A bare host or host/path, as catalogues often store them; "host:port"
    // would otherwise read as a scheme named after the host.
    static const QRegularExpression hostAndPort(QStringLiteral("^[^:/?#\\s]+:\\d+([/?#]|$)"));
    if (url.scheme().isEmpty() || hostAndPort.match(trimmed).hasMatch())
        url = QUrl(QStringLiteral("http://") + trimmed, QUrl::TolerantMode);
    if (!url.isValid() || url.host().isEmpty())
        return {};
    const QString scheme = url.scheme().toLower();
    if (scheme != QStringLiteral("http") && scheme != QStringLiteral("https"))
        return {};
    return url;
}

bool Launcher::OpenInBrowser(const QString& address) const {
    const QUrl url = BrowserAddress(address);
    if (!url.isValid())
        return false;
    return backend_.openUrl(url);
}

bool Launcher::StartUpdater(const QString& programFolder) const {
    const QString path =
        QDir(programFolder).filePath(QString::fromLatin1(Endpoints::kUpdaterFileName));
    const QFileInfo info(path);
    if (!info.isFile() || !info.isExecutable())
        return false;
    return backend_.startDetached(info.absoluteFilePath(),
                                  {QString::fromLatin1(Endpoints::kUpdaterArgument)});
}
