#include "playback/CWMPPlayer4.h"

#include "catalogue/StreamOptions.h"

#include "app/LegacyText.h"
#include "playback/GlSurfaceModule.h"
#include "playback/GlVideoSurface.h"
#include "playback/MpvLibrary.h"

#include <QFile>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>

#include <mpv/client.h>
#include <mpv/render.h>

#include <algorithm>

namespace {

// A property's value as an observation brings it; "absent" while mpv has
// none (no media, or not known yet).
struct PropertyValue {
    const mpv_event_property& property;

    bool present() const { return property.format != MPV_FORMAT_NONE && property.data; }
    bool flag() const { return present() && *static_cast<int*>(property.data) != 0; }
    std::int64_t integer() const {
        return present() ? *static_cast<std::int64_t*>(property.data) : 0;
    }
    double real() const { return present() ? *static_cast<double*>(property.data) : 0.0; }
    QByteArray text() const {
        return present() ? QByteArray(*static_cast<char**>(property.data)) : QByteArray();
    }
};

// A playing stream whose position has not moved for this long is waiting for
// data, whether or not mpv has said so yet (it does only once its cache has
// run dry, and not at all for some stalls).
constexpr qint64 kPositionStallMs = 3000;

// libavformat's nested opens for a stream from somebody else's list: the
// protocols streams use and nothing that reads files, devices or pipes. The
// values are length-quoted (%n%) since both lists use commas.
QByteArray ListedProtocolsOption() {
    const QByteArray protocols =
        "http,https,tcp,tls,crypto,httpproxy,rtmp,rtmps,rtmpt,rtmpts,rtmpe,rtsp,rtsps,rtp,srtp,"
        "udp,mmsh,mmst";
    const QByteArray avOptions =
        "protocol_whitelist=%" + QByteArray::number(protocols.size()) + '%' + protocols;
    return "demuxer-lavf-o=%" + QByteArray::number(avOptions.size()) + '%' + avOptions;
}

int ClampVolume(int volume) {
    return std::clamp(volume, 0, 100);
}

} // namespace

CWMPPlayer4::CWMPPlayer4(QWidget* parent) : CWMPPlayer4(Options(), parent) {}

CWMPPlayer4::CWMPPlayer4(const Options& options, QWidget* parent)
    : PlayerWidget(parent), options_(options) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    const VideoRendererRequest request = options.renderer == VideoRendererRequest::Automatic
                                             ? VideoRendererChoice::RequestFromEnvironment()
                                             : options.renderer;
    renderer_ = VideoRendererChoice::Choose(request, GlSurfaceModule::Probe(request));
    // mpv's core and threads cost some 8 MB and part of the start-up time.
    // Drawing in software, nothing needs them before the first address, so a
    // start that plays nothing never loads them; the GL surface needs the
    // handle from the start.
    if (renderer_ == VideoRenderer::OpenGL)
        Start();
}

void CWMPPlayer4::Start() {
    if (mpv_ != nullptr || startTried_)
        return;
    startTried_ = true;
    api_ = MpvLibrary::Get();
    if (api_ == nullptr) {
        // Nothing plays; the connection watch reports the failed connection
        // as for any address that does not open.
        qWarning("WAVEORBIT: cannot load libmpv: %s", qPrintable(MpvLibrary::LoadError()));
        return;
    }
    mpv_ = api_->create();
    if (mpv_ == nullptr)
        return;

    ApplyOptions();

    if (api_->initialize(mpv_) < 0) {
        api_->terminate_destroy(mpv_);
        mpv_ = nullptr;
        return;
    }

    ObserveProperties();
    StartRenderer(renderer_);
    api_->set_wakeup_callback(mpv_, &CWMPPlayer4::OnWakeup, this);
}

void CWMPPlayer4::ApplyOptions() {
    const Options& options = options_;
    const QByteArray volumeText = QByteArray::number(ClampVolume(options.volume));
    // Only the program's own skin and keys: no user configuration or scripts,
    // no on-screen controls, no mpv key bindings, no yt-dlp hook (which adds
    // most of a second to every failure), and a network time-out longer
    // than the connection watch's 15 ticks: a server that accepts and never
    // answers must still be "connecting" when the watch gives up on it and
    // asks the user, not quietly idle a few seconds before that. mpv's own
    // default (60 s) would keep a stalled stream open far too long.
    // The player never seeks, so little of what was played is kept: mpv's
    // default seek-back buffer (50 MiB, which may also take unused
    // read-ahead room) made a radio left playing grow by about 2 MB a minute
    // for half an hour. Some must stay: mpv reads a radio's changing titles
    // from the buffer behind the playing position. Read-ahead is capped too,
    // for a fast server of a long recording.
    const std::pair<const char*, const char*> settings[] = {
        {"config", "no"},
        {"load-scripts", "no"},
        {"osc", "no"},
        {"osd-level", "0"},
        {"input-default-bindings", "no"},
        {"input-vo-keyboard", "no"},
        {"ytdl", "no"},
        {"network-timeout", "20"},
        {"demuxer-max-back-bytes", "1MiB"},
        {"demuxer-donate-buffer", "no"},
        {"demuxer-max-bytes", "64MiB"},
        {"audio-fallback-to-null", "yes"},
        {"idle", "yes"},
        {"vo", "libmpv"},
        {"terminal", "no"},
        {"audio-client-name", "WAVEORBIT"},
        {"volume", volumeText.constData()},
        {"hwdec", VideoRendererChoice::HardwareDecoding(renderer_)},
    };
    for (const auto& [name, value] : settings)
        api_->set_option_string(mpv_, name, value); // an unknown option is no reason to fail
    if (!options.audioOutput.isEmpty())
        api_->set_option_string(mpv_, "ao", options.audioOutput.toUtf8().constData());
    if (!options.logFile.isEmpty())
        api_->set_option_string(mpv_, "log-file", QFile::encodeName(options.logFile).constData());
    silencedOnPurpose_ = options.audioOutput == QStringLiteral("null");
}

struct CWMPPlayer4::ObservedProperty {
    const char* name;
    mpv_format format;
    // Whether the value belongs to the address being played (and is ignored
    // once that address is closed) or to the player itself.
    bool ofTheAddress;
    void (*changed)(CWMPPlayer4& player, const PropertyValue& value);
};

const CWMPPlayer4::ObservedProperty* CWMPPlayer4::ObservedProperties(std::size_t* count) {
    static const ObservedProperty kObserved[] = {
        {"time-pos", MPV_FORMAT_DOUBLE, true,
         [](CWMPPlayer4& p, const PropertyValue& v) {
             p.timeKnown_ = v.present();
             if (!v.present())
                 return;
             if (!p.positionAge_.isValid() || v.real() != p.position_)
                 p.positionAge_.start();
             p.position_ = v.real();
         }},
        {"paused-for-cache", MPV_FORMAT_FLAG, true,
         [](CWMPPlayer4& p, const PropertyValue& v) { p.pausedForCache_ = v.flag(); }},
        {"cache-buffering-state", MPV_FORMAT_INT64, true,
         [](CWMPPlayer4& p, const PropertyValue& v) {
             p.bufferPercent_ = static_cast<int>(std::clamp<std::int64_t>(v.integer(), 0, 100));
         }},
        {"duration", MPV_FORMAT_DOUBLE, true,
         [](CWMPPlayer4& p, const PropertyValue& v) { p.hasLength_ = v.real() > 0.0; }},
        {"vo-configured", MPV_FORMAT_FLAG, true,
         [](CWMPPlayer4& p, const PropertyValue& v) { p.hasVideo_ = v.flag(); }},
        {"file-size", MPV_FORMAT_INT64, true,
         [](CWMPPlayer4& p, const PropertyValue& v) { p.hasSize_ = v.integer() > 0; }},
        // Radio titles come as the server sent them: UTF-8, or CP949 from
        // older Korean servers.
        {"metadata/by-key/icy-title", MPV_FORMAT_STRING, true,
         [](CWMPPlayer4& p, const PropertyValue& v) {
             emit p.streamTitleChanged(v.present() ? LegacyText::Decode(v.text()).trimmed()
                                                   : QString());
         }},
        // Without a usable sound device mpv goes on with its "null" output
        // (audio-fallback-to-null), so the picture and the clock keep running.
        {"current-ao", MPV_FORMAT_STRING, false,
         [](CWMPPlayer4& p, const PropertyValue& v) {
             p.audioDriver_ = QString::fromUtf8(v.text());
         }},
        {"audio-codec-name", MPV_FORMAT_STRING, true,
         [](CWMPPlayer4& p, const PropertyValue& v) { p.hasAudio_ = !v.text().isEmpty(); }},
    };
    *count = std::size(kObserved);
    return kObserved;
}

void CWMPPlayer4::ObserveProperties() {
    // Each observation's reply id is its place in the table, counted from 1.
    std::size_t count = 0;
    const ObservedProperty* observed = ObservedProperties(&count);
    for (std::size_t i = 0; i < count; ++i)
        api_->observe_property(mpv_, i + 1, observed[i].name, observed[i].format);
}

void CWMPPlayer4::StartRenderer(VideoRenderer renderer) {
    if (renderer == VideoRenderer::OpenGL) {
        glSurface_ = GlSurfaceModule::Create(api_, mpv_, this);
        if (glSurface_ == nullptr)
            qWarning("WAVEORBIT: cannot load the GL video module: %s",
                     qPrintable(GlSurfaceModule::LoadError()));
        if (glSurface_ != nullptr && glSurface_->IsReady()) {
            glSurface_->Widget()->setGeometry(rect());
            glSurface_->OnFrameRendered([this] { emit frameRendered(); });
            return;
        }
        // GL did not come up after all: draw in software and decode on the
        // CPU, whose frames that renderer can take.
        delete glSurface_;
        glSurface_ = nullptr;
        api_->set_property_string(mpv_, "hwdec",
                                  VideoRendererChoice::HardwareDecoding(VideoRenderer::Software));
    }
    StartSoftwareRenderer();
}

void CWMPPlayer4::StartSoftwareRenderer() {
    char apiType[] = MPV_RENDER_API_TYPE_SW;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, apiType},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (api_->render_context_create(&render_, mpv_, params) < 0)
        render_ = nullptr; // sound still plays; the picture stays black
    else
        api_->render_context_set_update_callback(render_, &CWMPPlayer4::OnRenderUpdate, this);
}

CWMPPlayer4::~CWMPPlayer4() {
    if (mpv_ == nullptr)
        return;
    // No more callbacks from mpv's threads once these return; posted calls
    // still queued for this object die with it.
    api_->set_wakeup_callback(mpv_, nullptr, nullptr);
    // Render contexts must go before the handle, or mpv aborts; the GL one
    // goes with its surface.
    delete glSurface_;
    glSurface_ = nullptr;
    if (render_ != nullptr) {
        api_->render_context_set_update_callback(render_, nullptr, nullptr);
        api_->render_context_free(render_);
        render_ = nullptr;
    }
    api_->terminate_destroy(mpv_);
    mpv_ = nullptr;
}

// Called on an mpv thread: only hand the work to the GUI thread, once.
void CWMPPlayer4::OnWakeup(void* context) {
    auto* self = static_cast<CWMPPlayer4*>(context);
    if (!self->drainQueued_.exchange(true))
        QMetaObject::invokeMethod(
            self, [self] { self->DrainEvents(); }, Qt::QueuedConnection);
}

void CWMPPlayer4::OnRenderUpdate(void* context) {
    auto* self = static_cast<CWMPPlayer4*>(context);
    if (!self->renderQueued_.exchange(true))
        QMetaObject::invokeMethod(
            self, [self] { self->UpdateFrame(); }, Qt::QueuedConnection);
}

void CWMPPlayer4::ResetMediaState() {
    active_ = false;
    timeKnown_ = false;
    restarted_ = false;
    pausedForCache_ = false;
    bufferPercent_ = 0;
    hasLength_ = false;
    hasSize_ = false;
    hasVideo_ = false;
    hasAudio_ = false;
    position_ = 0.0;
    positionAge_.invalidate();
}

void CWMPPlayer4::closeMedia() {
    loadPending_ = false;
    entryId_ = -1;
    end_ = PlayerEnd::None;
    ResetMediaState();
    ShowPicture(false);
    if (mpv_ != nullptr) {
        const char* command[] = {"stop", nullptr};
        api_->command_async(mpv_, 0, command);
    }
    emit statusChanged();
}

void CWMPPlayer4::setURL(const QString& address) {
    Load(address, false, StreamOptions());
}

void CWMPPlayer4::setListURL(const QString& address, const StreamOptions& options) {
    Load(address, true, options);
}

void CWMPPlayer4::Load(const QString& address, bool fromList, const StreamOptions& streamOptions) {
    entryId_ = -1;
    end_ = PlayerEnd::None;
    ResetMediaState();
    ++loadRequest_;
    if (!address.isEmpty())
        Start();
    // An empty address opens nothing: the player stays idle.
    loadPending_ = mpv_ != nullptr && !address.isEmpty();
    if (loadPending_) {
        const QByteArray utf8 = address.toUtf8();
        // A playlist may ask for a Referer, a User-Agent or headers for this
        // channel; mpv's per-file options end with the file, so the next
        // channel starts clean.
        QByteArray options = streamOptions.MpvFileOptions();
        if (fromList) {
            // What a listed stream opens in turn (an HLS playlist's
            // segments and keys, a nested playlist) stays on the network:
            // a list could otherwise point a segment at a local file.
            if (!options.isEmpty())
                options += ',';
            options += ListedProtocolsOption();
        }
        const char* command[] = {"loadfile", utf8.constData(), "replace",
                                 options.isEmpty() ? nullptr : options.constData(), nullptr};
        if (api_->command_async(mpv_, loadRequest_, command) < 0)
            loadPending_ = false;
    }
    emit statusChanged();
}

PlayerStatus CWMPPlayer4::status() const {
    if (loadPending_)
        return PlayerStatus::Opening();
    if (!active_)
        return PlayerStatus::Idle();
    if (pausedForCache_)
        return PlayerStatus::Buffering(bufferPercent_);
    if (!timeKnown_)
        return PlayerStatus::Opening();
    if (positionAge_.isValid() && positionAge_.elapsed() >= kPositionStallMs)
        return PlayerStatus::Buffering(bufferPercent_);
    return PlayerStatus::Playing();
}

bool CWMPPlayer4::soundMissing() const {
    if (silencedOnPurpose_ || !active_ || !hasAudio_ || !timeKnown_)
        return false;
    return audioDriver_.isEmpty() || audioDriver_ == QStringLiteral("null");
}

void CWMPPlayer4::setVolume(int volume) {
    options_.volume = ClampVolume(volume); // for an mpv that starts later
    if (mpv_ == nullptr)
        return;
    double level = ClampVolume(volume);
    api_->set_property_async(mpv_, 0, "volume", MPV_FORMAT_DOUBLE, &level);
}

void CWMPPlayer4::DrainEvents() {
    drainQueued_ = false;
    if (mpv_ == nullptr)
        return;
    const PlayerStatus before = status();
    bool ended = false;
    for (;;) {
        const mpv_event* event = api_->wait_event(mpv_, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        switch (event->event_id) {
        case MPV_EVENT_COMMAND_REPLY:
            OnCommandReply(*event);
            break;
        case MPV_EVENT_START_FILE:
            OnStartFile(*static_cast<const mpv_event_start_file*>(event->data));
            break;
        case MPV_EVENT_END_FILE:
            ended = OnEndFile(*static_cast<const mpv_event_end_file*>(event->data)) || ended;
            break;
        case MPV_EVENT_PLAYBACK_RESTART:
            if (active_)
                restarted_ = true;
            break;
        case MPV_EVENT_PROPERTY_CHANGE:
            OnPropertyChange(event->reply_userdata,
                             *static_cast<const mpv_event_property*>(event->data));
            break;
        default:
            break;
        }
    }
    if (!(status() == before))
        emit statusChanged();
    if (ended)
        emit mediaEnded();
}

// The reply to the latest loadfile names its playlist entry; mpv sends it
// before that entry starts. Replies to older loads and to other commands are
// of no interest.
void CWMPPlayer4::OnCommandReply(const mpv_event& event) {
    if (event.reply_userdata == 0 || event.reply_userdata != loadRequest_ || !loadPending_)
        return;
    if (event.error < 0) {
        loadPending_ = false; // refused: idle, as a failed address is
        return;
    }
    const auto* reply = static_cast<const mpv_event_command*>(event.data);
    if (reply == nullptr || reply->result.format != MPV_FORMAT_NODE_MAP)
        return;
    const mpv_node_list* map = reply->result.u.list;
    for (int i = 0; i < map->num; ++i) {
        if (qstrcmp(map->keys[i], "playlist_entry_id") == 0 &&
            map->values[i].format == MPV_FORMAT_INT64)
            entryId_ = map->values[i].u.int64;
    }
}

void CWMPPlayer4::OnStartFile(const mpv_event_start_file& start) {
    if (!loadPending_ || start.playlist_entry_id != entryId_)
        return;
    loadPending_ = false;
    ResetMediaState();
    active_ = true;
    ShowPicture(true);
}

bool CWMPPlayer4::OnEndFile(const mpv_event_end_file& endFile) {
    if (entryId_ < 0 || endFile.playlist_entry_id != entryId_)
        return false; // an address we closed or replaced
    // Only media that got as far as playing can end or break; one that never
    // started is a failed connection, seen as idle. A short medium can end
    // before its position was ever reported (property changes are
    // coalesced), so the start of playback counts too.
    const bool played = active_ && (timeKnown_ || restarted_);
    const bool ended = played && (endFile.reason == MPV_END_FILE_REASON_EOF ||
                                  endFile.reason == MPV_END_FILE_REASON_ERROR);
    if (ended) {
        // A live stream has no end of its own: when it ends, it broke. Only
        // media with a known size and length (a file, a download with a
        // Content-Length) can finish; mpv estimates a length even for a
        // live stream it has fully cached.
        end_ = (endFile.reason == MPV_END_FILE_REASON_EOF && hasLength_ && hasSize_)
                   ? PlayerEnd::Finished
                   : PlayerEnd::Broken;
    }
    loadPending_ = false;
    ResetMediaState();
    entryId_ = -1;
    ShowPicture(false);
    return ended;
}

void CWMPPlayer4::OnPropertyChange(std::uint64_t id, const mpv_event_property& property) {
    std::size_t count = 0;
    const ObservedProperty* observed = ObservedProperties(&count);
    if (id == 0 || id > count)
        return;
    const ObservedProperty& entry = observed[id - 1];
    if (entry.ofTheAddress && !active_)
        return; // values of an address that is no longer current
    entry.changed(*this, PropertyValue{property});
}

void CWMPPlayer4::ShowPicture(bool shown) {
    if (glSurface_ != nullptr) {
        glSurface_->SetPictureShown(shown);
        return;
    }
    if (!shown) {
        frame_ = QImage();
        update();
    }
}

int CWMPPlayer4::FramesRendered() const {
    return glSurface_ != nullptr ? glSurface_->FramesRendered() : framesRendered_;
}

QImage CWMPPlayer4::CurrentFrame() const {
    return glSurface_ != nullptr ? glSurface_->CurrentFrame() : frame_;
}

void CWMPPlayer4::UpdateFrame() {
    renderQueued_ = false;
    if (render_ == nullptr)
        return;
    // Must be called for every update callback, even when nothing is drawn.
    const std::uint64_t flags = api_->render_context_update(render_);
    if (flags & MPV_RENDER_UPDATE_FRAME)
        RenderFrame();
}

void CWMPPlayer4::RenderFrame() {
    if (render_ == nullptr || !active_)
        return;
    const qreal ratio = devicePixelRatioF();
    const QSize size = (QSizeF(width(), height()) * ratio).toSize().expandedTo(QSize(2, 2));
    if (frame_.size() != size) {
        // Qt's own 32-bit RGB, 0xffRRGGBB in a native word, which it paints
        // fastest: mpv's "bgr0" in address order on little-endian machines,
        // "0rgb" on big-endian ones.
        frame_ = QImage(size, QImage::Format_RGB32);
        frame_.setDevicePixelRatio(ratio);
    }
    int surface[2] = {size.width(), size.height()};
    size_t stride = static_cast<size_t>(frame_.bytesPerLine());
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    char format[] = "bgr0";
#else
    char format[] = "0rgb";
#endif
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SW_SIZE, surface},   {MPV_RENDER_PARAM_SW_FORMAT, format},
        {MPV_RENDER_PARAM_SW_STRIDE, &stride}, {MPV_RENDER_PARAM_SW_POINTER, frame_.bits()},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (api_->render_context_render(render_, params) < 0)
        return;
    // mpv leaves the padding byte undefined, but Qt takes it for the alpha of
    // an opaque pixel. Where the window has an alpha channel (Wayland) a
    // padding of 0 made the picture transparent, drawn white or black by the
    // compositor; X11 ignores it.
    for (int y = 0; y < frame_.height(); ++y) {
        auto* line = reinterpret_cast<quint32*>(frame_.scanLine(y));
        for (int x = 0; x < frame_.width(); ++x)
            line[x] |= 0xff000000u;
    }
    ++framesRendered_;
    update();
    emit frameRendered();
}

void CWMPPlayer4::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (frame_.isNull()) { // also under the GL surface, which covers the player
        painter.fillRect(rect(), Qt::black);
        return;
    }
    // The frame is letterboxed by mpv at the size it was drawn for; after a
    // resize it is stretched until the next frame arrives.
    painter.drawImage(rect(), frame_);
}

void CWMPPlayer4::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (glSurface_ != nullptr)
        glSurface_->Widget()->setGeometry(rect()); // it draws itself again at the new size
    else if (hasVideo_)
        RenderFrame(); // the still picture of a paused or slow stream, at the new size
}

void CWMPPlayer4::mouseDoubleClickEvent(QMouseEvent* event) {
    emit doubleClicked();
    event->accept();
}

void CWMPPlayer4::mousePressEvent(QMouseEvent* event) {
    emit mouseDown(event->button(), event->modifiers(), event->position().toPoint());
    event->accept();
}

void CWMPPlayer4::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(event->position().toPoint());
    event->accept();
}
