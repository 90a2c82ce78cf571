#include "mainwindow/PlaybackWiring.h"

#include "app/Paths.h"
#include "app/PlayerSession.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/ChannelLists.h"
#include "mainwindow/Prompter.h"
#include "mainwindow/ServiceHome.h"
#include "mainwindow/WindowLayout.h"
#include "mainwindow/WindowStyle.h"
#include "playback/PlayerWidget.h"

#include <QDir>
#include <QMouseEvent>

// --- the watch's view of the window ---

int WindowPlaybackView::RowCount() const {
    return list_.rowCount();
}

QString WindowPlaybackView::Cell(int row, int column) const {
    return list_.CellText(row, column);
}

void WindowPlaybackView::SetConnectCell(int row, const QString& text) {
    list_.SetConnectText(row, text);
}

int WindowPlaybackView::CurrentRow() const {
    return session_.CurrentRow();
}

void WindowPlaybackView::SetCurrentRow(int row) {
    session_.SetCurrentRow(row);
}

Category WindowPlaybackView::CurrentCategory() const {
    return session_.Category();
}

PlaybackView::RowAddresses WindowPlaybackView::Addresses(int row) const {
    const ChannelRecord record = list_.Row(row);
    return {record.Addresses(), record.fromList, record.options};
}

bool WindowPlaybackView::IsFullScreen() const {
    return session_.IsFullScreen();
}

void WindowPlaybackView::LeaveFullScreen() {
    if (session_.IsFullScreen())
        layout_.ToggleFullScreen();
}

bool WindowPlaybackView::IsMaximised() const {
    return session_.IsMaximised();
}

bool WindowPlaybackView::AutoHideOn() const {
    return session_.IsOn(SessionOption::AutoHide);
}

void WindowPlaybackView::ToggleListPanel() {
    layout_.ToggleListPanel();
}

void WindowPlaybackView::HideMainWindow() {
    style_.HideWindow();
}

void WindowPlaybackView::ShowMessage(const QString& text) {
    prompter_.ShowMessage(text);
}

bool WindowPlaybackView::AskYesNo(const QString& caption, const QString& text) {
    return prompter_.AskYesNo(caption, text);
}

bool WindowPlaybackView::HasHomePage() const {
    return !service_.Address().isEmpty();
}

void WindowPlaybackView::OpenHomePage() {
    service_.Open();
}

void WindowPlaybackView::PlayStarted(const QString& address, const QString& stationUuid) {
    // The radio directory counts the stations its users start, from the
    // list as from a typed address.
    sources_.NotePlayed(address, stationUuid);
}

// --- the wiring ---

PlaybackWiring::PlaybackWiring(const Window& window, PlayerWidget& player)
    : QObject(&window.widget), window_(window.widget), session_(window.session),
      layout_(window.layout), timers_([this](PlaybackTimer id) { OnTick(id); }),
      playbackView_(window.session, window.list, window.layout, window.style, window.prompter,
                    window.service, window.sources),
      history_(QDir(Paths::DataFolder()).filePath(QStringLiteral("played-addresses.json"))),
      watch_(player, playbackView_, timers_, window.launcher, window.session),
      volume_(player, timers_, window.session) {
    watch_.SetHistory(&history_);
    // A list channel that failed on every address is drawn dimmed until it
    // plays again; the rows ask the history under the tab they are shown in.
    ChannelListModel* list = &window.list;
    PlayerSession* session = &window.session;
    list->SetFailureLookup([this, session](const ChannelRecord& record) -> qint64 {
        if (!record.fromList || !history_.HasFailures())
            return 0;
        return history_.FailedAt(
            ChannelHistory::ChannelKey(StoredNumberOf(session->Category()), record.name()));
    });
    connect(&history_, &ChannelHistory::failuresChanged, list, &ChannelListModel::FailuresChanged);
    window_.installEventFilter(this);
    // The hand cursor shows over the volume area without a button held.
    window_.setMouseTracking(true);
    FollowPlayerWidget(player);
}

void PlaybackWiring::FollowPlayerWidget(PlayerWidget& player) {
    connect(&player, &PlayerWidget::doubleClicked, this, [this] { layout_.ToggleFullScreen(); });
    connect(&player, &PlayerWidget::mediaEnded, this, [this] { watch_.OnPlayerEnded(); });
    PlayerSession* session = &session_;
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

void PlaybackWiring::Close() {
    watch_.Shutdown();
}

void PlaybackWiring::OnVolumePointer(int x) {
    volume_.FromPointer(x - layout_.Current().volumeArea.left);
}

void PlaybackWiring::OnTick(PlaybackTimer id) {
    if (!watch_.OnTimer(id))
        volume_.OnTimer(id);
}

bool PlaybackWiring::eventFilter(QObject* watched, QEvent* event) {
    // Only the window's mouse events count.
    const QEvent::Type type = event->type();
    if (watched != &window_ || (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
                                type != QEvent::MouseButtonRelease))
        return QObject::eventFilter(watched, event);
    const Box& area = layout_.Current().volumeArea;
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
            OnVolumePointer(at.x());
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
            OnVolumePointer(at.x());
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
