#include "mainwindow/PlaybackWiring.h"

#include "app/Paths.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/ChannelSources.h"
#include "mainwindow/CPlayerDlg.h"
#include "playback/PlayerWidget.h"
#include "playback/StatusDisplay.h"
#include "skin/CMinsButton.h"

#include <QDir>
#include <QMouseEvent>

// --- the watch's view of the window ---

int WindowPlaybackView::RowCount() const {
    return window_.ListModel()->rowCount();
}

QString WindowPlaybackView::Cell(int row, int column) const {
    return window_.ListModel()->CellText(row, column);
}

void WindowPlaybackView::SetConnectCell(int row, const QString& text) {
    window_.ListModel()->SetConnectText(row, text);
}

int WindowPlaybackView::CurrentRow() const {
    return window_.Session().CurrentRow();
}

void WindowPlaybackView::SetCurrentRow(int row) {
    window_.Session().SetCurrentRow(row);
}

Category WindowPlaybackView::CurrentCategory() const {
    return window_.Session().Category();
}

PlaybackView::RowAddresses WindowPlaybackView::Addresses(int row) const {
    const ChannelRecord record = window_.ListModel()->Row(row);
    return {record.Addresses(), record.fromList, record.options};
}

bool WindowPlaybackView::IsFullScreen() const {
    return window_.Session().IsFullScreen();
}

void WindowPlaybackView::LeaveFullScreen() {
    if (window_.Session().IsFullScreen())
        window_.ToggleFullScreen();
}

bool WindowPlaybackView::IsMaximised() const {
    return window_.Session().IsMaximised();
}

bool WindowPlaybackView::AutoHideOn() const {
    return window_.Session().IsOn(SessionOption::AutoHide);
}

void WindowPlaybackView::ToggleListPanel() {
    window_.ToggleListPanel();
}

void WindowPlaybackView::HideMainWindow() {
    window_.HideWindow();
}

void WindowPlaybackView::SetStatusText(const QString& text) {
    window_.Session().SetStatus(text, window_.Session().IsLampLit());
}

void WindowPlaybackView::SetLamp(bool lit) {
    window_.Session().SetStatus(window_.Session().StatusText(), lit);
}

void WindowPlaybackView::RedrawStatusPanel() {
    window_.RebuildStrip(WindowStrips::Strip::ListPanel);
    window_.update(window_.CurrentLayout().statusLamp.ToRect());
    window_.update(window_.CurrentLayout().statusText.ToRect());
}

void WindowPlaybackView::RedrawStatusText() {
    window_.RebuildStrip(WindowStrips::Strip::ListPanel);
    window_.update(window_.CurrentLayout().statusText.ToRect());
}

void WindowPlaybackView::ShowVideo() {
    PlayerWidget* player = window_.Player();
    const bool fullScreen = window_.Session().IsFullScreen();
    // In full screen the picture covers the whole window.
    player->setGeometry(fullScreen ? window_.rect() : window_.CurrentLayout().videoArea.ToRect());
    player->show();
    if (fullScreen)
        player->raise();
    window_.RebuildStrip(WindowStrips::Strip::ListPanel);
    window_.update(window_.CurrentLayout().videoArea.ToRect());
}

void WindowPlaybackView::HideVideo() {
    window_.Player()->hide();
    window_.RebuildStrip(WindowStrips::Strip::Video);
    window_.update(window_.CurrentLayout().videoArea.ToRect());
}

void WindowPlaybackView::ShowMessage(const QString& text) {
    window_.ShowMessage(text);
}

bool WindowPlaybackView::AskYesNo(const QString& caption, const QString& text) {
    return window_.AskYesNo(caption, text);
}

bool WindowPlaybackView::HasHomePage() const {
    return !window_.HomePageAddress().isEmpty();
}

void WindowPlaybackView::OpenHomePage() {
    window_.OpenHomePage();
}

void WindowPlaybackView::PlayStarted(const QString& address, const QString& stationUuid) {
    // The radio directory counts the stations its users start, from the
    // list as from a typed address.
    window_.Sources()->NotePlayed(address, stationUuid);
}

// --- the volume's view of the window ---

void WindowVolumeView::ShowCaption(const QString&) {
    // The text is the session's caption, which the strip is drawn from.
    window_.RebuildStrip(WindowStrips::Strip::Caption);
    window_.update(window_.CurrentLayout().captionText.ToRect());
}

void WindowVolumeView::RedrawVolumeBar() {
    window_.RebuildStrip(WindowStrips::Strip::BottomBar);
    window_.update(window_.CurrentLayout().volumeArea.ToRect());
}

void WindowVolumeView::ShowMuteButton(bool muted) {
    const StatusDisplay::ButtonImages images =
        muted ? StatusDisplay::kMutedImages : StatusDisplay::kSpeakerImages;
    if (CMinsButton* button = window_.Button(ControlId::Mute)) {
        button->SetImages(images.normal, images.pressed, images.hover);
        button->update();
    }
}

// --- the wiring ---

PlaybackWiring::PlaybackWiring(CPlayerDlg& window, MediaPlayer& player)
    : QObject(&window), window_(window), timers_([this](PlaybackTimer id) { OnTick(id); }),
      playbackView_(window), volumeView_(window),
      history_(QDir(Paths::DataFolder()).filePath(QStringLiteral("played-addresses.json"))),
      watch_(player, playbackView_, timers_, window.DesktopLauncher(), window.Session()),
      volume_(player, volumeView_, timers_, window.Session()) {
    watch_.SetHistory(&history_);
    // A list channel that failed on every address is drawn dimmed until it
    // plays again; the rows ask the history under the tab they are shown in.
    ChannelListModel* list = window.ListModel();
    PlayerSession* session = &window.Session();
    list->SetFailureLookup([this, session](const ChannelRecord& record) -> qint64 {
        if (!record.fromList || !history_.HasFailures())
            return 0;
        return history_.FailedAt(
            ChannelHistory::ChannelKey(StoredNumberOf(session->Category()), record.name()));
    });
    connect(&history_, &ChannelHistory::failuresChanged, list, &ChannelListModel::FailuresChanged);
    window.installEventFilter(this);
    // The hand cursor shows over the volume area without a button held.
    window.setMouseTracking(true);
}

void PlaybackWiring::FollowPlayerWidget(PlayerWidget& player) {
    connect(&player, &PlayerWidget::doubleClicked, &window_, &CPlayerDlg::ToggleFullScreen);
    connect(&player, &PlayerWidget::mediaEnded, this, [this] { watch_.OnPlayerEnded(); });
    PlayerSession* session = &window_.Session();
    connect(&player, &PlayerWidget::statusChanged, session, [&player, session] {
        using Kind = PlayerStatus::Kind;
        using Activity = PlayerSession::Activity;
        const Kind kind = player.status().kind;
        session->SetPlayerActivity(kind == Kind::Opening     ? Activity::Opening
                                   : kind == Kind::Buffering ? Activity::Buffering
                                   : kind == Kind::Playing   ? Activity::Playing
                                                             : Activity::Idle);
    });
    connect(&player, &PlayerWidget::streamTitleChanged, session, &PlayerSession::SetStreamTitle);
}

void PlaybackWiring::OnTick(PlaybackTimer id) {
    if (!watch_.OnTimer(id))
        volume_.OnTimer(id);
}

bool PlaybackWiring::eventFilter(QObject* watched, QEvent* event) {
    // Only mouse events reach the window's members: the filter also sees the
    // events of the window's teardown, when it is no longer a CPlayerDlg.
    const QEvent::Type type = event->type();
    if (watched != &window_ || (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
                                type != QEvent::MouseButtonRelease))
        return QObject::eventFilter(watched, event);
    const Box& area = window_.CurrentLayout().volumeArea;
    switch (type) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint at = mouse->position().toPoint();
        if (mouse->button() != Qt::LeftButton || !area.Contains(at))
            break;
        // A press in the volume area sets the level; it neither moves nor
        // resizes the window.
        if (!volumeDrag_) {
            volumeDrag_ = true;
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
        if (volumeDrag_ && mouse->buttons() == Qt::LeftButton &&
            mouse->modifiers() == Qt::NoModifier)
            window_.OnVolumePointer(at.x());
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            volumeDrag_ = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
