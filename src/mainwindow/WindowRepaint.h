#pragma once

#include <QObject>

class CMinsButton;
class PlayerSession;
class PlayerWidget;
class QWidget;
class WindowLayout;

// The window's side of the session: whatever the session says changed (the
// status line and lamp, the picture, the caption line, the volume, mute)
// repaints only its rectangle, and the strips under it paint what the
// session now says. Nothing
// pushes a repaint: the watch, the volume and the guide change the session.
class WindowRepaint : public QObject {
    Q_OBJECT
public:
    WindowRepaint(QWidget& window, const PlayerSession& session, const WindowLayout& layout);

    // The player whose picture shows while a channel with one plays, and the
    // mute button whose pictures follow the mute state.
    void Follow(PlayerWidget& player, CMinsButton& muteButton);

private:
    void StatusChanged();
    void VideoShownChanged(bool shown);
    void CaptionChanged();
    void VolumeBarChanged();
    void MutedChanged(bool muted);

    QWidget& window_;
    const PlayerSession& session_;
    const WindowLayout& layout_;
    PlayerWidget* player_ = nullptr;
    CMinsButton* muteButton_ = nullptr;
};
