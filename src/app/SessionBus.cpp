#include "app/SessionBus.h"

#include <QFileInfo>
#include <QString>
#include <QtGlobal>

namespace SessionBus {

bool Expected() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

} // namespace SessionBus
