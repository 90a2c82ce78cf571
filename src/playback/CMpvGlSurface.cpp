#include "playback/CMpvGlSurface.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>

#include "playback/MpvLibrary.h"

#include <mpv/client.h>
#include <mpv/render.h>
#include <mpv/render_gl.h>

#include <vector>

#if QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>
#endif

namespace {

// Fences need GL 3.2 (or ES 3.0) or the ARB_sync extension.
bool HasFences(const QOpenGLContext& context) {
    const QSurfaceFormat format = context.format();
    const auto version = qMakePair(format.majorVersion(), format.minorVersion());
    if (context.isOpenGLES())
        return version >= qMakePair(3, 0);
    return version >= qMakePair(3, 2) || context.hasExtension(QByteArrayLiteral("GL_ARB_sync"));
}

} // namespace

extern "C" Q_DECL_EXPORT GlVideoSurface*
waveorbit_create_gl_surface(const MpvLibrary* api, mpv_handle* mpv, QWidget* parent) {
    return new CMpvGlSurface(api, mpv, parent);
}

CMpvGlSurface::CMpvGlSurface(const MpvLibrary* api, mpv_handle* mpv, QWidget* parent)
    : QOpenGLWidget(parent), api_(api), mpv_(mpv) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    if (!CreateRenderContext()) {
        mpvSurface_.reset();
        mpvContext_.reset();
    }
}

bool CMpvGlSurface::CreateRenderContext() {
    QOpenGLContext* shared = QOpenGLContext::globalShareContext();
    if (mpv_ == nullptr || shared == nullptr)
        return false;
    mpvContext_ = std::make_unique<QOpenGLContext>();
    mpvContext_->setShareContext(shared);
    mpvContext_->setFormat(shared->format());
    if (!mpvContext_->create())
        return false;
    mpvSurface_ = std::make_unique<QOffscreenSurface>();
    mpvSurface_->setFormat(mpvContext_->format());
    mpvSurface_->create();
    if (!mpvSurface_->isValid() || !mpvContext_->makeCurrent(mpvSurface_.get()))
        return false;
    fences_ = HasFences(*mpvContext_);

    char apiType[] = MPV_RENDER_API_TYPE_OPENGL;
    mpv_opengl_init_params init{&CMpvGlSurface::GetProcAddress, nullptr};
    std::vector<mpv_render_param> params = {
        {MPV_RENDER_PARAM_API_TYPE, apiType},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &init},
    };
#if QT_CONFIG(xcb)
    // Hardware decoders on X11 (VA-API, VDPAU) hand frames over through the
    // display connection.
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        params.push_back({MPV_RENDER_PARAM_X11_DISPLAY, x11->display()});
#endif
    params.push_back({MPV_RENDER_PARAM_INVALID, nullptr});
    if (api_->render_context_create(&render_, mpv_, params.data()) < 0)
        render_ = nullptr;
    mpvContext_->doneCurrent();
    if (render_ == nullptr)
        return false;
    api_->render_context_set_update_callback(render_, &CMpvGlSurface::OnRenderUpdate, this);
    return true;
}

CMpvGlSurface::~CMpvGlSurface() {
    QObject::disconnect(widgetContextGoing_);
    ReleaseWidgetResources();
    if (mpvContext_ == nullptr)
        return;
    // mpv and the frame delete their GL objects here: their context must be
    // current.
    mpvContext_->makeCurrent(mpvSurface_.get());
    if (render_ != nullptr) {
        api_->render_context_set_update_callback(render_, nullptr, nullptr);
        api_->render_context_free(render_);
        render_ = nullptr;
    }
    if (frameDone_ != nullptr)
        mpvContext_->extraFunctions()->glDeleteSync(static_cast<GLsync>(frameDone_));
    frame_.reset();
    mpvContext_->doneCurrent();
}

void* CMpvGlSurface::GetProcAddress(void*, const char* name) {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void*>(context->getProcAddress(QByteArray(name))) : nullptr;
}

// Called on an mpv thread: only hand the work to the GUI thread, once.
void CMpvGlSurface::OnRenderUpdate(void* context) {
    auto* self = static_cast<CMpvGlSurface*>(context);
    if (!self->updateQueued_.exchange(true))
        QMetaObject::invokeMethod(
            self, [self] { self->TakeUpdate(); }, Qt::QueuedConnection);
}

void CMpvGlSurface::TakeUpdate() {
    updateQueued_ = false;
    if (render_ == nullptr)
        return;
    // Must be called for every update callback, even when nothing is drawn.
    if (!(api_->render_context_update(render_) & MPV_RENDER_UPDATE_FRAME))
        return;
    // Drawn also while hidden: mpv waits for each frame to be drawn.
    RenderFrame();
    if (!pictureShown_)
        return;
    ++framesRendered_;
    emit frameRendered();
}

void CMpvGlSurface::RenderFrame() {
    if (render_ == nullptr || !mpvContext_->makeCurrent(mpvSurface_.get()))
        return;
    const QSize size =
        (QSizeF(width(), height()) * devicePixelRatioF()).toSize().expandedTo({2, 2});
    if (frame_ == nullptr || frame_->size() != size)
        frame_ = std::make_unique<QOpenGLFramebufferObject>(size);
    mpv_opengl_fbo fbo{static_cast<int>(frame_->handle()), size.width(), size.height(), 0};
    // Rows bottom-up, as GL keeps textures and as the blitter and the
    // framebuffer's image read them.
    int flipY = 1;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flipY},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    hasFrame_ = api_->render_context_render(render_, params) >= 0;
    // The widget's context samples the texture later: it must wait until
    // this context has finished drawing it.
    QOpenGLExtraFunctions* gl = mpvContext_->extraFunctions();
    if (frameDone_ != nullptr)
        gl->glDeleteSync(static_cast<GLsync>(frameDone_));
    frameDone_ = nullptr;
    if (fences_) {
        frameDone_ = gl->glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
        gl->glFlush();
    } else {
        gl->glFinish();
    }
    mpvContext_->doneCurrent();
    update();
}

void CMpvGlSurface::SetPictureShown(bool shown) {
    if (pictureShown_ == shown)
        return;
    pictureShown_ = shown;
    hasFrame_ = false;
    update();
}

QImage CMpvGlSurface::CurrentFrame() const {
    if (!pictureShown_ || !hasFrame_ || frame_ == nullptr ||
        !mpvContext_->makeCurrent(mpvSurface_.get()))
        return {};
    QImage image = frame_->toImage();
    mpvContext_->doneCurrent();
    return image;
}

void CMpvGlSurface::initializeGL() {
    // The widget's context can go away with its window; the blitter's GL
    // objects in it go first. mpv is not affected.
    QObject::disconnect(widgetContextGoing_);
    widgetContextGoing_ = connect(context(), &QOpenGLContext::aboutToBeDestroyed, this,
                                  &CMpvGlSurface::ReleaseWidgetResources, Qt::DirectConnection);
    blitter_.create();
}

void CMpvGlSurface::ReleaseWidgetResources() {
    if (!blitter_.isCreated())
        return;
    makeCurrent();
    blitter_.destroy();
    doneCurrent();
}

void CMpvGlSurface::resizeGL(int, int) {
    // The frame is drawn again at the new size (a still picture too).
    if (pictureShown_ && hasFrame_)
        RenderFrame();
}

void CMpvGlSurface::paintGL() {
    QOpenGLFunctions* gl = context()->functions();
    gl->glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    gl->glClear(GL_COLOR_BUFFER_BIT);
    if (!pictureShown_ || !hasFrame_ || frame_ == nullptr || !blitter_.isCreated())
        return;
    if (frameDone_ != nullptr)
        context()->extraFunctions()->glWaitSync(static_cast<GLsync>(frameDone_), 0,
                                                GL_TIMEOUT_IGNORED);
    const QRect area(QPoint(0, 0), frame_->size());
    blitter_.bind();
    blitter_.blit(frame_->texture(), QOpenGLTextureBlitter::targetTransform(area, area),
                  QOpenGLTextureBlitter::OriginBottomLeft);
    blitter_.release();
}
