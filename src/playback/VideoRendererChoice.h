#pragma once

#include <QString>

// How the player draws its picture. OpenGL through mpv's GL renderer (with
// hardware decoding) is the fast path on a real graphics card; the software
// renderer writes frames into an image and works everywhere, and on a
// machine without a GPU it costs far less than GL emulated on the CPU.
enum class VideoRenderer { Software, OpenGL };

// What the user (WAVEORBIT_VIDEO) or a test asked for.
enum class VideoRendererRequest { Automatic, Software, OpenGL };

// What the running session offers for GL video.
struct VideoRendererProbe {
    QString platform;            // Qt's platform plugin: "xcb", "wayland", "offscreen", ...
    QString glRenderer;          // GL_RENDERER of a test context; empty when none could be made
    bool sharedContexts = false; // contexts share with the window's (Qt::AA_ShareOpenGLContexts)
};

namespace VideoRendererChoice {

// "auto", "software"/"sw", "opengl"/"gl" in any case; anything else is Automatic.
VideoRendererRequest ParseRequest(const QString& text);

// The request in WAVEORBIT_VIDEO, for machines whose GL driver misbehaves.
VideoRendererRequest RequestFromEnvironment();

// True for renderers that draw GL on the CPU (Mesa's llvmpipe, softpipe and
// swrast, SwiftShader, the basic render driver of WSL).
bool IsSoftwareRasterizer(const QString& glRenderer);

// Whether GL video can work at all: a windowing platform whose widgets can
// host GL, a context that could be made, shared with the window's contexts.
bool CanUseOpenGL(const VideoRendererProbe& probe);

// Automatic picks GL only where a real GPU drew the test context; OpenGL is
// honoured wherever GL can work (even on a software rasterizer); Software
// always wins.
VideoRenderer Choose(VideoRendererRequest request, const VideoRendererProbe& probe);

// mpv's "hwdec" for a renderer: hardware decoding only where mpv deems the
// method safe and the GL renderer can take its frames; none for software.
const char* HardwareDecoding(VideoRenderer renderer);

} // namespace VideoRendererChoice
