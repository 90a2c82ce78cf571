#pragma once

// A benchmark's settings and data go to a folder of its own, never the
// user's; without a display named it draws off screen.
#include <QByteArray>
#include <QTemporaryDir>

namespace bench {

inline void UsePrivateFolders(const QTemporaryDir& home) {
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace bench
