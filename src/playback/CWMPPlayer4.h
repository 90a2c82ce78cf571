#pragma once

#include "playback/PlayerWidget.h"
#include "playback/VideoRendererChoice.h"

#include <QElapsedTimer>
#include <QImage>

#include <atomic>
#include <cstddef>
#include <cstdint>

struct MpvLibrary;
struct mpv_event;
struct mpv_event_end_file;
struct mpv_event_property;
struct mpv_event_start_file;
struct mpv_handle;
struct mpv_render_context;
class GlVideoSurface;

// The media player of the main window: one libmpv instance whose picture is
// drawn into this widget. It offers the player operations the watch and the
// volume logic use (close, URL, status, volume) and reports double clicks,
// button presses and moves of the mouse over the picture.
//
// mpv runs on its own threads. Its events and property changes are drained
// here, on the GUI thread, into a cached state; status() reads that cache and
// nothing in this class waits for mpv.
//
// Video comes through mpv's OpenGL renderer, with hardware decoding, where
// a real GPU drew a test context; otherwise through mpv's software renderer
// into an image painted by paintEvent. The software path works everywhere
// (offscreen, Xvfb, llvmpipe) and costs less than GL emulated on the CPU.
// It is also the fallback when GL cannot be set up.
class CWMPPlayer4 : public PlayerWidget {
    Q_OBJECT
public:
    struct Options {
        // mpv's "ao"; empty keeps mpv's own choice ("null" in tests).
        QString audioOutput;
        // The volume mpv starts with, until setVolume gives the program's
        // own (the window's volume control does so at its start).
        int volume = 100;
        // Automatic follows WAVEORBIT_VIDEO, then the machine (see
        // VideoRendererChoice).
        VideoRendererRequest renderer = VideoRendererRequest::Automatic;
        // mpv's own log, written to this file when set (benchmarks count
        // its buffering events).
        QString logFile;
    };

    explicit CWMPPlayer4(QWidget* parent = nullptr);
    explicit CWMPPlayer4(const Options& options, QWidget* parent = nullptr);
    ~CWMPPlayer4() override;
    CWMPPlayer4(const CWMPPlayer4&) = delete;
    CWMPPlayer4& operator=(const CWMPPlayer4&) = delete;

    // MediaPlayer. closeMedia() stops playback (mpv "stop"); the widget stays.
    void closeMedia() override;
    void setURL(const QString& address) override;
    void setListURL(const QString& address, const StreamOptions& options) override;
    PlayerStatus status() const override;
    PlayerEnd lastEnd() const override { return end_; }
    void setVolume(int volume) override;
    bool soundMissing() const override;

    // False when mpv could not be started; the player then stays idle. mpv
    // starts with the first address given, or at once for the GL renderer.
    bool IsBound() const { return mpv_ != nullptr || !startTried_; }
    bool IsStarted() const { return mpv_ != nullptr; }
    VideoRenderer Renderer() const {
        return glSurface_ != nullptr ? VideoRenderer::OpenGL : VideoRenderer::Software;
    }
    int FramesRendered() const;
    // The picture as last drawn, at the widget's size in device pixels.
    QImage CurrentFrame() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    static void OnWakeup(void* context);
    static void OnRenderUpdate(void* context);
    void Start();
    // The options table, before mpv is initialised.
    void ApplyOptions();
    void ObserveProperties();
    void StartRenderer(VideoRenderer renderer);
    void StartSoftwareRenderer();
    void ShowPicture(bool shown);
    void DrainEvents();
    void OnCommandReply(const mpv_event& event);
    void OnStartFile(const mpv_event_start_file& start);
    // Whether the current address ended or broke after it played.
    bool OnEndFile(const mpv_event_end_file& endFile);
    void OnPropertyChange(std::uint64_t id, const mpv_event_property& property);
    // The properties the player observes: name, format and what a change does.
    struct ObservedProperty;
    static const ObservedProperty* ObservedProperties(std::size_t* count);
    void UpdateFrame();
    void RenderFrame();
    void ResetMediaState();
    void Load(const QString& address, bool fromList, const StreamOptions& streamOptions);

    Options options_;
    VideoRenderer renderer_ = VideoRenderer::Software; // chosen once, at construction
    bool startTried_ = false;
    const MpvLibrary* api_ = nullptr; // set with mpv_
    mpv_handle* mpv_ = nullptr;
    mpv_render_context* render_ = nullptr; // the software renderer's
    GlVideoSurface* glSurface_ = nullptr;  // the OpenGL renderer, a child widget
    std::atomic<bool> drainQueued_{false};
    std::atomic<bool> renderQueued_{false};

    // Cached state, written only by the GUI thread.
    bool loadPending_ = false;      // an address was given, mpv has not started it yet
    std::uint64_t loadRequest_ = 0; // numbers the loadfile commands
    std::int64_t entryId_ = -1;     // mpv's playlist entry of the current address
    bool active_ = false;           // the current entry has started and not ended
    bool timeKnown_ = false;        // a playback position exists: it plays
    bool restarted_ = false;        // playback began (an event, never coalesced away)
    bool pausedForCache_ = false;
    int bufferPercent_ = 0;
    bool hasLength_ = false; // a recording with a duration, not a live stream
    bool hasSize_ = false;   // the source told its size: it cannot be live
    bool hasVideo_ = false;
    bool hasAudio_ = false;          // an audio track is being decoded
    QString audioDriver_;            // mpv's current sound output, empty before it opened
    bool silencedOnPurpose_ = false; // the owner asked for no sound output at all
    double position_ = 0.0;
    QElapsedTimer positionAge_; // since the playback position last moved
    PlayerEnd end_ = PlayerEnd::None;

    QImage frame_;
    int framesRendered_ = 0;
};
