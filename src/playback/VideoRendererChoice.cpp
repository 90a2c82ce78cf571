#include "playback/VideoRendererChoice.h"

#include <QtGlobal>

namespace VideoRendererChoice {

VideoRendererRequest ParseRequest(const QString& text) {
    const QString value = text.trimmed().toLower();
    if (value == QLatin1String("software") || value == QLatin1String("sw"))
        return VideoRendererRequest::Software;
    if (value == QLatin1String("opengl") || value == QLatin1String("gl"))
        return VideoRendererRequest::OpenGL;
    return VideoRendererRequest::Automatic;
}

VideoRendererRequest RequestFromEnvironment() {
    return ParseRequest(qEnvironmentVariable("WAVEORBIT_VIDEO"));
}

bool IsSoftwareRasterizer(const QString& glRenderer) {
    static const char* const kSoftware[] = {
        "llvmpipe",    "softpipe",
        "swrast",      "software rasterizer",
        "swiftshader", "basic render driver",
    };
    const QString renderer = glRenderer.toLower();
    for (const char* name : kSoftware)
        if (renderer.contains(QLatin1String(name)))
            return true;
    return false;
}

bool CanUseOpenGL(const VideoRendererProbe& probe) {
    // The offscreen and minimal platforms cannot show GL widgets; unknown
    // platforms are not trusted with them either.
    static const char* const kWindowing[] = {"xcb", "wayland", "wayland-egl", "eglfs"};
    bool windowing = false;
    for (const char* name : kWindowing)
        windowing = windowing || probe.platform == QLatin1String(name);
    return windowing && !probe.glRenderer.trimmed().isEmpty() && probe.sharedContexts;
}

VideoRenderer Choose(VideoRendererRequest request, const VideoRendererProbe& probe) {
    if (request == VideoRendererRequest::Software || !CanUseOpenGL(probe))
        return VideoRenderer::Software;
    if (request == VideoRendererRequest::OpenGL)
        return VideoRenderer::OpenGL;
    return IsSoftwareRasterizer(probe.glRenderer) ? VideoRenderer::Software : VideoRenderer::OpenGL;
}

const char* HardwareDecoding(VideoRenderer renderer) {
    return renderer == VideoRenderer::OpenGL ? "auto-safe" : "no";
}

} // namespace VideoRendererChoice
