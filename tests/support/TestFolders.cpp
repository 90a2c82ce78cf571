#include "TestFolders.h"

#include <QDir>
#include <QFile>

ScopedXdgHome::ScopedXdgHome()
    : oldConfig_(qgetenv("XDG_CONFIG_HOME")), oldData_(qgetenv("XDG_DATA_HOME")),
      hadConfig_(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")),
      hadData_(qEnvironmentVariableIsSet("XDG_DATA_HOME")) {
    QDir().mkpath(configHome());
    QDir().mkpath(dataHome());
    qputenv("XDG_CONFIG_HOME", configHome().toUtf8());
    qputenv("XDG_DATA_HOME", dataHome().toUtf8());
}

ScopedXdgHome::~ScopedXdgHome() {
    if (hadConfig_)
        qputenv("XDG_CONFIG_HOME", oldConfig_);
    else
        qunsetenv("XDG_CONFIG_HOME");
    if (hadData_)
        qputenv("XDG_DATA_HOME", oldData_);
    else
        qunsetenv("XDG_DATA_HOME");
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QString WriteOpenerStandIn(const QString& folder, int exitStatus) {
    const QString path = QDir(folder).filePath(QStringLiteral("opener-%1").arg(exitStatus));
    const QString log = QDir(folder).filePath(QStringLiteral("opened.txt"));
    WriteBytes(path, QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$1\" >>'%1'\nexit %2\n")
                         .arg(log)
                         .arg(exitStatus)
                         .toUtf8());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QStringList OpenedByStandIn(const QString& folder) {
    const QString text =
        QString::fromUtf8(ReadBytes(QDir(folder).filePath(QStringLiteral("opened.txt"))));
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
