#include "playback/GlSurfaceModule.h"

#include "playback/GlVideoSurface.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLibrary>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

#ifndef WAVEORBIT_GL_MODULE_SUBDIR
#define WAVEORBIT_GL_MODULE_SUBDIR "lib/waveorbit"
#endif

namespace {

constexpr const char* kModuleFileName = "waveorbit_gl.so";

// GL_RENDERER of a throwaway context; empty when none can be made.
QString TestContextRenderer() {
    QOpenGLContext context;
    if (!context.create())
        return {};
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface))
        return {};
    const auto* name = reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
    const QString renderer = name ? QString::fromLatin1(name) : QString();
    context.doneCurrent();
    return renderer;
}

bool IsWindowingPlatform(const QString& platform) {
    VideoRendererProbe probe;
    probe.platform = platform;
    probe.glRenderer = QStringLiteral("?");
    probe.sharedContexts = true;
    return VideoRendererChoice::CanUseOpenGL(probe);
}

struct ModuleState {
    QLibrary library;
    WaveorbitCreateGlSurface create = nullptr;
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
    for (const QString& path : GlSurfaceModule::CandidatePaths()) {
        if (!QFileInfo::exists(path))
            continue;
        state.library.setFileName(path);
        if (!state.library.load()) {
            state.error = state.library.errorString();
            continue;
        }
        state.create = reinterpret_cast<WaveorbitCreateGlSurface>(
            state.library.resolve(WAVEORBIT_GL_ENTRY_NAME));
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

namespace GlSurfaceModule {

VideoRendererProbe Probe(VideoRendererRequest request) {
    VideoRendererProbe probe;
    probe.platform = QGuiApplication::platformName();
    probe.sharedContexts = QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts);
    // Making a GL context loads the driver: not done where it cannot be used
    // or the user asked for software.
    if (request == VideoRendererRequest::Software || !probe.sharedContexts ||
        !IsWindowingPlatform(probe.platform))
        return probe;
    static const QString renderer = TestContextRenderer();
    probe.glRenderer = renderer;
    return probe;
}

GlVideoSurface* Create(const MpvLibrary* api, mpv_handle* mpv, QWidget* parent) {
    if (!Load())
        return nullptr;
    return State().create(api, mpv, parent);
}

QString LoadError() {
    return State().error;
}

QStringList CandidatePaths() {
    const QDir programDir(QCoreApplication::applicationDirPath());
    return {programDir.filePath(QLatin1String(kModuleFileName)),
            QDir::cleanPath(programDir.filePath(QStringLiteral("../%1/%2")
                                                    .arg(QLatin1String(WAVEORBIT_GL_MODULE_SUBDIR),
                                                         QLatin1String(kModuleFileName))))};
}

} // namespace GlSurfaceModule
