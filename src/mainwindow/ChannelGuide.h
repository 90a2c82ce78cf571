#pragma once

#include "app/ChannelTabs.h"
#include "guide/GuideData.h"
#include "guide/GuideReader.h"
#include "playback/TimerHost.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QStringList>

#include <functional>

class ChannelLists;
class GuideBook;
class PlayerSession;
class UpdateOutcome;

// The programme guide as the main window uses it (widget-free). It owns the
// program's one GuideBook, follows the playlist tabs (TV, 해외, 게임 set to a
// playlist) as ChannelLists reads their lists, and answers "now/next for
// this channel". While a channel with a guide plays it keeps the session's
// programme line (the caption, the tray tooltip, MPRIS) on the programme on
// now, moving on at the next boundary with one single-shot timer
// (PlaybackTimer::Programme), never a polling one. While a stream plays or
// connects, a guide download takes only a low share of the bandwidth
// (kRateWhilePlaying); with nothing playing it runs at full speed.
class ChannelGuide : public QObject {
    Q_OBJECT
public:
    // `timers` runs the boundary timer; `sources` tells of the lists read
    // (null: SetPlaylist is called by hand, as tests do).
    ChannelGuide(PlayerSession& session, ChannelLists* sources, const QString& dataFolder,
                 TimerHost* timers, QObject* parent = nullptr);
    ~ChannelGuide() override;

    // What a guide download may read per second while a stream plays.
    static constexpr qint64 kRateWhilePlaying = 128 * 1024;

    // The book of every tab's guides (GuideBook::Sources for a tab's statuses).
    GuideBook& Book() const { return *book_; }

    // Whether a tab can have a guide (TV, 해외, 게임).
    static bool HasGuideTab(Category category);

    // A playlist tab's list was read: its channels and header addresses go
    // to the book with the user's addresses after them. The same list read
    // again changes nothing; a new one is read from the kept guides at once
    // and then refreshed in the background (guides older than twelve hours).
    void SetPlaylist(Category category, const PlaylistGuides& guides,
                     const QByteArray& digest = QByteArray());
    // The user's addresses for a tab changed (the settings page): the tab's
    // guides are set anew. A tab that no longer uses a playlist is dropped.
    void ReloadTab(Category category);
    // Every guide tab the book holds, fetched again (the update command);
    // `done` learns what came of it per tab (by its name, "TV"): failed
    // when a guide did not arrive or does not read, replaced when one
    // changed, else current.
    void RefreshAll(std::function<void(const UpdateOutcome& outcome)> done);
    // The update message's lines for the guides ("새 편성표를 받았습니다: TV",
    // "편성표를 받지 못했습니다: 해외 …"); empty when no tab has a guide.
    static QString UpdateLines(const UpdateOutcome& guides);

    // The programme on now and the next one of a channel, by any of its
    // addresses (a list row's URL and spares), at `at` (UTC seconds; now
    // when 0).
    GuideData::NowNext NowNext(Category category, const QStringList& addresses,
                               qint64 at = 0) const;
    // "지금 21:00–22:00 뉴스9" and "다음 …" lines, each with the first line of
    // its description under it; empty without a guide.
    QString ToolTip(Category category, const QStringList& addresses) const;
    // "뉴스9  21:00–22:00" in the desktop's local time.
    static QString CaptionLine(const GuideData::Programme& programme);
    // "21:00–22:00" in the desktop's local time.
    static QString TimeRange(const GuideData::Programme& programme);

    // The clock (UTC seconds) the caption and the book read; tests set one.
    void SetClock(std::function<qint64()> now);
    qint64 Now() const { return now_(); }
    // The boundary the timer is set for (UTC seconds), 0 for none.
    qint64 PendingBoundary() const { return boundary_; }
    // The timer's tick (PlaybackTimer::Programme); false for any other timer.
    bool OnTimer(PlaybackTimer id);

signals:
    // A tab's guide in use changed (tooltips read anew).
    void guideChanged(Category category);

private:
    struct TabList {
        PlaylistGuides guides;
        QByteArray digest;
        QStringList addresses; // as given to the book
    };

    void SetBookTab(Category category, const TabList& list);
    // The session's programme line from what plays now; the timer set to
    // the next boundary.
    void UpdateCaption();
    // The guide downloads' pace from what the session plays.
    void UpdateDownloadRate();
    const GuideData* GuideOf(Category category, const QStringList& addresses, QString* key) const;

    PlayerSession& session_;
    ChannelLists* sources_;
    GuideBook* book_;
    TimerHost* timers_;
    std::function<qint64()> now_;
    QHash<Category, TabList> lists_;
    qint64 boundary_ = 0;
    bool updating_ = false;
};
