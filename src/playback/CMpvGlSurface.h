#pragma once

#include "playback/GlVideoSurface.h"

#include <QImage>
#include <QMetaObject>
#include <QOpenGLTextureBlitter>
#include <QOpenGLWidget>

#include <atomic>
#include <memory>

struct mpv_handle;
struct MpvLibrary;
struct mpv_render_context;
class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;

// The player's picture drawn by mpv's OpenGL renderer.
//
// mpv draws in a GL context of this surface's own into a framebuffer whose
// texture the widget shows. That context exists from the start, whether the
// player is shown or not, and does not change with the widget's window: mpv
// gives up on the picture of a medium that starts before its render context
// exists, and its render context cannot move to another GL context. The
// texture reaches the widget's context because all contexts share with the
// application's (Qt::AA_ShareOpenGLContexts).
//
// The surface is transparent for the mouse: the player under it gets the
// clicks and moves. It must be destroyed before the mpv handle. It is built
// into the module waveorbit_gl.so (see GlVideoSurface), never into the
// program.
class CMpvGlSurface : public QOpenGLWidget, public GlVideoSurface {
    Q_OBJECT
public:
    CMpvGlSurface(const MpvLibrary* api, mpv_handle* mpv, QWidget* parent);
    ~CMpvGlSurface() override;
    CMpvGlSurface(const CMpvGlSurface&) = delete;
    CMpvGlSurface& operator=(const CMpvGlSurface&) = delete;

    // GlVideoSurface.
    QWidget* Widget() override { return this; }
    bool IsReady() const override { return render_ != nullptr; }
    void SetPictureShown(bool shown) override;
    int FramesRendered() const override { return framesRendered_; }
    QImage CurrentFrame() const override;
    void OnFrameRendered(std::function<void()> callback) override {
        connect(this, &CMpvGlSurface::frameRendered, this, std::move(callback));
    }

signals:
    void frameRendered();

protected:
    void initializeGL() override;
    void paintGL() override;
    void resizeGL(int width, int height) override;

private:
    static void OnRenderUpdate(void* context);
    static void* GetProcAddress(void* context, const char* name);
    bool CreateRenderContext();
    void TakeUpdate();
    void RenderFrame();
    void ReleaseWidgetResources();

    const MpvLibrary* api_;
    mpv_handle* mpv_;
    std::unique_ptr<QOpenGLContext> mpvContext_; // mpv draws only in this one
    std::unique_ptr<QOffscreenSurface> mpvSurface_;
    std::unique_ptr<QOpenGLFramebufferObject> frame_;
    mpv_render_context* render_ = nullptr;
    bool fences_ = false;       // the driver has GL sync objects
    void* frameDone_ = nullptr; // GL fence after the last frame, waited for before showing it

    QOpenGLTextureBlitter blitter_; // in the widget's context
    QMetaObject::Connection widgetContextGoing_;
    std::atomic<bool> updateQueued_{false};
    bool pictureShown_ = false;
    bool hasFrame_ = false;
    int framesRendered_ = 0;
};
