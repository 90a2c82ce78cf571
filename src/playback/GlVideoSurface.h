#pragma once

#include <QImage>

#include <functional>

class QWidget;
struct MpvLibrary;
struct mpv_handle;

// The player's picture drawn by mpv's OpenGL renderer, as the player sees
// it. The surface itself (CMpvGlSurface, a QOpenGLWidget) lives in a module
// of its own, waveorbit_gl.so, loaded by GlSurfaceModule when the GL
// renderer is chosen: a start that draws in software never maps Qt's OpenGL
// and OpenGL widget libraries.
//
// It must be deleted before the mpv handle.
class GlVideoSurface {
public:
    virtual ~GlVideoSurface() = default;

    // The surface's widget, a child of the parent it was made with.
    virtual QWidget* Widget() = 0;
    // False when no GL context or no mpv GL renderer could be made; the
    // player then draws in software.
    virtual bool IsReady() const = 0;
    // False shows black: nothing is open, or the medium ended.
    virtual void SetPictureShown(bool shown) = 0;
    virtual int FramesRendered() const = 0;
    // The picture mpv drew last, upright; null while none is shown.
    virtual QImage CurrentFrame() const = 0;
    // Runs `callback` on the GUI thread after each frame drawn.
    virtual void OnFrameRendered(std::function<void()> callback) = 0;
};

// The one symbol the module exports, resolved by name after loading it.
#define WAVEORBIT_GL_ENTRY_NAME "waveorbit_create_gl_surface"

extern "C" {
using WaveorbitCreateGlSurface = GlVideoSurface* (*)(const MpvLibrary* api, mpv_handle* mpv,
                                                     QWidget* parent);
}
