#include "mainwindow/WindowRepaint.h"

#include "app/PlayerSession.h"
#include "mainwindow/WindowLayout.h"
#include "playback/PlayerWidget.h"
#include "playback/StatusDisplay.h"
#include "skin/CMinsButton.h"

WindowRepaint::WindowRepaint(QWidget& window, const PlayerSession& session,
                             const WindowLayout& layout)
    : QObject(&window), window_(window), session_(session), layout_(layout) {
    connect(&session, &PlayerSession::statusChanged, this, &WindowRepaint::StatusChanged);
    connect(&session, &PlayerSession::captionTextChanged, this, &WindowRepaint::CaptionChanged);
    connect(&session, &PlayerSession::programmeChanged, this, &WindowRepaint::CaptionChanged);
    connect(&session, &PlayerSession::volumeChanged, this, &WindowRepaint::VolumeBarChanged);
    connect(&session, &PlayerSession::indicatorOffsetChanged, this,
            &WindowRepaint::VolumeBarChanged);
}

void WindowRepaint::Follow(PlayerWidget& player, CMinsButton& muteButton) {
    player_ = &player;
    muteButton_ = &muteButton;
    connect(&session_, &PlayerSession::videoShownChanged, this, &WindowRepaint::VideoShownChanged);
    connect(&session_, &PlayerSession::mutedChanged, this, &WindowRepaint::MutedChanged);
}

void WindowRepaint::StatusChanged() {
    // In full screen the panel is not on the screen: the clock's text goes
    // on changing, and the panel shows it when full screen ends.
    if (session_.IsFullScreen())
        return;
    const Layout& layout = layout_.Current();
    window_.update(layout.statusLamp.ToRect());
    window_.update(layout.statusText.ToRect());
}

void WindowRepaint::VideoShownChanged(bool shown) {
    const Layout& layout = layout_.Current();
    if (shown) {
        const bool fullScreen = session_.IsFullScreen();
        // In full screen the picture covers the whole window.
        player_->setGeometry(fullScreen ? window_.rect() : layout.videoArea.ToRect());
        player_->show();
        if (fullScreen)
            player_->raise();
    } else {
        player_->hide();
    }
    // The logo shows in the video area while no picture does.
    window_.update(layout.videoArea.ToRect());
}

void WindowRepaint::CaptionChanged() {
    window_.update(layout_.Current().captionText.ToRect());
}

void WindowRepaint::VolumeBarChanged() {
    window_.update(layout_.Current().volumeArea.ToRect());
}

void WindowRepaint::MutedChanged(bool muted) {
    const StatusDisplay::ButtonImages images =
        muted ? StatusDisplay::kMutedImages : StatusDisplay::kSpeakerImages;
    muteButton_->SetImages(images.normal, images.pressed, images.hover);
    muteButton_->update();
}
