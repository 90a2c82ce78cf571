#include "app/Paths.h"

#include <QCoreApplication>
#include <QDir>

namespace Paths {
namespace {

QString XdgFolder(const char* variable, const QString& fallbackBelowHome) {
    const QString value = qEnvironmentVariable(variable);
    // The XDG rules say a relative value is to be ignored.
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::cleanPath(QDir::homePath() + QLatin1Char('/') + fallbackBelowHome);
}

QString WithSlash(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

QString ConfigFolder() {
    return XdgFolder("XDG_CONFIG_HOME", QStringLiteral(".config")) + QStringLiteral("/waveorbit");
}

QString AutostartFolder() {
    return XdgFolder("XDG_CONFIG_HOME", QStringLiteral(".config")) + QStringLiteral("/autostart");
}

QString DataFolder() {
    const QString folder = WithSlash(XdgFolder("XDG_DATA_HOME", QStringLiteral(".local/share")) +
                                     QStringLiteral("/waveorbit"));
    EnsureFolder(folder);
    return folder;
}

QString ProgramFolder() {
    if (QCoreApplication::instance())
        return WithSlash(QCoreApplication::applicationDirPath());
    return WithSlash(QDir::currentPath());
}

bool EnsureFolder(const QString& folder) {
    return QDir().mkpath(folder);
}

} // namespace Paths
