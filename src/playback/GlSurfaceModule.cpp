#include "playback/GlSurfaceModule.h"

#include "app/ProgramModule.h"
#include "playback/GlVideoSurface.h"

#include <QCoreApplication>
#include <QGuiApplication>
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

ProgramModule& Module() {
    static ProgramModule module(kModuleFileName, WAVEORBIT_GL_MODULE_SUBDIR,
                                WAVEORBIT_GL_ENTRY_NAME);
    return module;
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
    const auto create = reinterpret_cast<WaveorbitCreateGlSurface>(Module().Entry());
    return create ? create(api, mpv, parent) : nullptr;
}

QString LoadError() {
    return Module().Error();
}

QStringList CandidatePaths() {
    return Module().CandidatePaths();
}

} // namespace GlSurfaceModule
