#include "web/WebBrowserModule.h"

#include "app/ProgramModule.h"
#include "web/WebBrowserEntry.h"

#include <QCoreApplication>
#include <QWidget>

#include <unistd.h>

#ifndef WAVEORBIT_WEB_MODULE_SUBDIR
#define WAVEORBIT_WEB_MODULE_SUBDIR "lib/waveorbit"
#endif

namespace {

constexpr const char* kModuleFileName = "waveorbit_web.so";

ProgramModule& Module() {
    static ProgramModule module(kModuleFileName, WAVEORBIT_WEB_MODULE_SUBDIR,
                                WAVEORBIT_WEB_ENTRY_NAME);
    return module;
}

} // namespace

namespace WebBrowserModule {

QStringList CandidatePaths() {
    return Module().CandidatePaths();
}

QWidget* Create(QWidget* parent) {
    // The engine reads its environment when the module loads.
    if (!Module().IsLoaded())
        PrepareEnvironment(::geteuid() == 0);
    const auto create = reinterpret_cast<WaveorbitCreateWebBrowser>(Module().Entry());
    return create ? create(parent) : nullptr;
}

bool IsLoaded() {
    return Module().IsLoaded();
}

void PrepareEnvironment(bool runningAsRoot) {
    if (runningAsRoot && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

QString LastError() {
    return Module().Error();
}

} // namespace WebBrowserModule
