#include "web/WebBrowserModule.h"

#include "web/WebBrowserEntry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QWidget>

#include <unistd.h>

#ifndef WAVEORBIT_WEB_MODULE_SUBDIR
#define WAVEORBIT_WEB_MODULE_SUBDIR "lib/waveorbit"
#endif

namespace {

constexpr const char* kModuleFileName = "waveorbit_web.so";

struct ModuleState {
    QLibrary library;
    WaveorbitCreateWebBrowser create = nullptr;
    bool tried = false;
    QString error;
};

ModuleState& State() {
    static ModuleState state;
    return state;
}

bool Load() {
    ModuleState& state = State();
    if (state.create || state.tried)
        return state.create != nullptr;
    state.tried = true;
    WebBrowserModule::PrepareEnvironment(::geteuid() == 0);
    for (const QString& path : WebBrowserModule::CandidatePaths()) {
        if (!QFileInfo::exists(path))
            continue;
        state.library.setFileName(path);
        if (!state.library.load()) {
            state.error = state.library.errorString();
            continue;
        }
        state.create = reinterpret_cast<WaveorbitCreateWebBrowser>(
            state.library.resolve(WAVEORBIT_WEB_ENTRY_NAME));
        if (state.create)
            return true;
        state.error = state.library.errorString();
        state.library.unload();
    }
    if (state.error.isEmpty())
        state.error = QStringLiteral("%1 not found").arg(QLatin1String(kModuleFileName));
    return false;
}

} // namespace

namespace WebBrowserModule {

QStringList CandidatePaths() {
    const QDir programDir(QCoreApplication::applicationDirPath());
    return {programDir.filePath(QLatin1String(kModuleFileName)),
            QDir::cleanPath(programDir.filePath(QStringLiteral("../%1/%2")
                                                    .arg(QLatin1String(WAVEORBIT_WEB_MODULE_SUBDIR),
                                                         QLatin1String(kModuleFileName))))};
}

QWidget* Create(QWidget* parent) {
    if (!Load())
        return nullptr;
    return State().create(parent);
}

bool IsLoaded() {
    return State().create != nullptr;
}

void PrepareEnvironment(bool runningAsRoot) {
    if (runningAsRoot && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

QString LastError() {
    return State().error;
}

} // namespace WebBrowserModule
