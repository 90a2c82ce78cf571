#include "mainwindow/PlaybackWiring.h"

#include "catalogue/ChannelListModel.h"
#include "mainwindow/CMinsButton.h"
#include "mainwindow/CPlayerDlg.h"
#include "playback/StatusDisplay.h"

#include <QMouseEvent>

// --- the watch's view of the window ---

int WindowPlaybackView::RowCount() const {
    return window_.listModel_->rowCount();
}

QString WindowPlaybackView::Cell(int row, int column) const {
    return window_.listModel_->CellText(row, column);
}

void WindowPlaybackView::SetConnectCell(int row, const QString& text) {
    window_.listModel_->SetConnectText(row, text);
}

int WindowPlaybackView::CurrentRow() const {
    return window_.currentRow_;
}

void WindowPlaybackView::SetCurrentRow(int row) {
    window_.currentRow_ = row;
}

int WindowPlaybackView::CurrentCategory() const {
    return window_.category_;
}

bool WindowPlaybackView::IsFullScreen() const {
    return window_.fullScreen_;
}

void WindowPlaybackView::LeaveFullScreen() {
    if (window_.fullScreen_)
        window_.ToggleFullScreen();
}

bool WindowPlaybackView::IsMaximised() const {
    return window_.maximised_;
}

bool WindowPlaybackView::AutoHideOn() const {
    return window_.autoHide_;
}

void WindowPlaybackView::ToggleListPanel() {
    window_.ToggleListPanel();
}

void WindowPlaybackView::HideMainWindow() {
    window_.HideWindow();
}

void WindowPlaybackView::SetStatusText(const QString& text) {
    window_.statusText_ = text;
}

void WindowPlaybackView::SetLamp(bool lit) {
    window_.lampId_ = lit ? StatusDisplay::kLampLit : StatusDisplay::kLampUnlit;
}

void WindowPlaybackView::RedrawStatusPanel() {
    wiring_.SyncPlaying();
    window_.RebuildListPanelStrip();
    window_.update(window_.layout_.statusLamp.ToRect());
    window_.update(window_.layout_.statusText.ToRect());
}

void WindowPlaybackView::RedrawStatusText() {
    window_.RebuildListPanelStrip();
    window_.update(window_.layout_.statusText.ToRect());
}

void WindowPlaybackView::ShowVideo() {
    wiring_.SyncPlaying();
    PlayerWidget* player = window_.player_;
    // In full screen the picture covers the whole window.
    player->setGeometry(window_.fullScreen_ ? window_.rect() : window_.layout_.videoArea.ToRect());
    player->show();
    if (window_.fullScreen_)
        player->raise();
    window_.RebuildListPanelStrip();
    window_.update(window_.layout_.videoArea.ToRect());
}

void WindowPlaybackView::HideVideo() {
    wiring_.SyncPlaying();
    window_.player_->hide();
    window_.RebuildVideoStrip();
    window_.update(window_.layout_.videoArea.ToRect());
}

void WindowPlaybackView::ShowMessage(const QString& text) {
    window_.ShowMessage(text);
}

bool WindowPlaybackView::AskYesNo(const QString& caption, const QString& text) {
    return window_.AskYesNo(caption, text);
}

// --- the volume's view of the window ---

void WindowVolumeView::ShowCaption(const QString& text) {
    window_.captionText_ = text;
    window_.RebuildCaptionStrip();
    window_.update(window_.layout_.captionText.ToRect());
}

void WindowVolumeView::RedrawVolumeBar() {
    // The window keeps its own copy: "Sound" is written from it at exit and
    // the bottom strip is drawn from the offset.
    window_.volume_ = wiring_.Volume().Volume();
    window_.indicatorOffset_ = wiring_.Volume().IndicatorOffset();
    window_.RebuildBottomBarStrip();
    window_.update(window_.layout_.volumeArea.ToRect());
}

void WindowVolumeView::ShowMuteButton(bool muted) {
    window_.mute_ = muted;
    const StatusDisplay::ButtonImages images =
        muted ? StatusDisplay::kMutedImages : StatusDisplay::kSpeakerImages;
    if (CMinsButton* button = window_.Button(ControlId::Mute)) {
        button->SetImages(images.normal, images.pressed, images.hover);
        button->update();
    }
}

// --- the wiring ---

PlaybackWiring::PlaybackWiring(CPlayerDlg& window, MediaPlayer& player)
    : QObject(&window), window_(window), timers_([this](int id) { OnTick(id); }),
      playbackView_(window, *this), volumeView_(window, *this),
      watch_(player, playbackView_, timers_, window.DesktopLauncher()),
      volume_(player, volumeView_, timers_) {
    window.installEventFilter(this);
    // The hand cursor shows over the volume area without a button held.
    window.setMouseTracking(true);
}

void PlaybackWiring::SyncPlaying() {
    window_.playing_ = watch_.Playing();
}

void PlaybackWiring::OnTick(int id) {
    if (!watch_.OnTimer(id))
        volume_.OnTimer(id);
    SyncPlaying();
}

bool PlaybackWiring::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_)
        return QObject::eventFilter(watched, event);
    const Box& area = window_.layout_.volumeArea;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->position().toPoint();
        if (mouse->button() != Qt::LeftButton || !area.Contains(at))
            break;
        // A press in the volume area sets the level; it neither moves nor
        // resizes the window.
        if (!window_.volumeDrag_) {
            window_.volumeDrag_ = true;
            handCursor_ = true;
            window_.setCursor(Qt::PointingHandCursor);
            window_.OnVolumePointer(at.x());
        }
        return true;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->position().toPoint();
        if (!area.Contains(at)) {
            if (handCursor_) {
                handCursor_ = false;
                window_.unsetCursor();
            }
            break;
        }
        handCursor_ = true;
        window_.setCursor(Qt::PointingHandCursor);
        // Only a plain left-button drag changes the level.
        if (window_.volumeDrag_ && mouse->buttons() == Qt::LeftButton &&
            mouse->modifiers() == Qt::NoModifier)
            window_.OnVolumePointer(at.x());
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            window_.volumeDrag_ = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
