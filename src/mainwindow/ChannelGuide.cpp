#include "mainwindow/ChannelGuide.h"

#include "app/PlayerSession.h"
#include "catalogue/ChannelLists.h"
#include "catalogue/DownloadQueue.h"
#include "catalogue/UpdateOutcome.h"
#include "guide/GuideBook.h"

#include <QDateTime>
#include <QScopeGuard>

#include <algorithm>
#include <limits>
#include <memory>

namespace {

QString LocalClock(qint64 seconds) {
    return QDateTime::fromSecsSinceEpoch(seconds).toLocalTime().toString(QStringLiteral("HH:mm"));
}

// The first line of a description, as a tooltip shows it.
QString FirstLine(const QString& text) {
    return text.section(QLatin1Char('\n'), 0, 0).trimmed();
}

} // namespace

ChannelGuide::ChannelGuide(PlayerSession& session, ChannelLists* sources, const QString& dataFolder,
                           TimerHost* timers, QObject* parent)
    : QObject(parent), session_(session), sources_(sources), book_(new GuideBook(dataFolder, this)),
      timers_(timers), now_([] { return QDateTime::currentSecsSinceEpoch(); }) {
    if (!timers_)
        timers_ = new QtTimerHost([this](PlaybackTimer id) { OnTimer(id); }, this);
    if (sources_)
        connect(sources_, &ChannelLists::playlistRead, this,
                [this](Category category, const PlaylistGuides& guides, const QByteArray& digest) {
                    SetPlaylist(category, guides, digest);
                });
    connect(book_, &GuideBook::guideChanged, this, [this](Category category) {
        if (category == session_.PlayingCategory())
            UpdateCaption();
        emit guideChanged(category);
    });
    // What plays decides the programme line; nothing polls.
    connect(&session_, &PlayerSession::playingChanged, this, [this] { UpdateCaption(); });
    connect(&session_, &PlayerSession::nowPlayingChanged, this, [this] {
        UpdateCaption();
        UpdateDownloadRate();
    });
    UpdateDownloadRate();
}

void ChannelGuide::UpdateDownloadRate() {
    // Opening and buffering count: a stream filling its buffer needs the
    // bandwidth most.
    const bool streaming = session_.CurrentNowPlaying().state != NowPlaying::State::Stopped;
    book_->Queue()->SetRateCap(streaming ? kRateWhilePlaying : 0);
}

ChannelGuide::~ChannelGuide() = default;

bool ChannelGuide::HasGuideTab(Category category) {
    return category == Category::Tv || category == Category::World || category == Category::Game;
}

void ChannelGuide::SetClock(std::function<qint64()> now) {
    now_ = std::move(now);
    book_->SetClock(now_);
}

void ChannelGuide::SetPlaylist(Category category, const PlaylistGuides& guides,
                               const QByteArray& digest) {
    if (!HasGuideTab(category))
        return;
    TabList list{guides, digest, guides.addresses + GuideBook::UserAddresses(category)};
    list.addresses.removeDuplicates();
    const auto known = lists_.constFind(category);
    // An opening reads the kept list again: the same list and addresses
    // keep the guides as they are.
    if (known != lists_.cend() && !digest.isEmpty() && known->digest == digest &&
        known->addresses == list.addresses)
        return;
    lists_.insert(category, list);
    SetBookTab(category, list);
}

void ChannelGuide::SetBookTab(Category category, const TabList& list) {
    // The kept copies are read at once (no network); then the background
    // refresh fetches only what is older than twelve hours.
    book_->SetTab(category, list.guides.channels, list.addresses);
    book_->Refresh(category, false);
    if (category == session_.PlayingCategory())
        UpdateCaption();
}

void ChannelGuide::ReloadTab(Category category) {
    if (!HasGuideTab(category))
        return;
    const bool playlist =
        sources_ && sources_->SourceOf(category).kind == ChannelSource::Kind::Playlist;
    if (!playlist) {
        if (lists_.remove(category) > 0)
            book_->SetTab(category, {}, {});
        return;
    }
    const auto known = lists_.constFind(category);
    if (known == lists_.cend())
        return; // set when its list is read
    TabList list = *known;
    list.addresses = list.guides.addresses + GuideBook::UserAddresses(category);
    list.addresses.removeDuplicates();
    if (list.addresses == known->addresses)
        return;
    lists_.insert(category, list);
    SetBookTab(category, list);
}

void ChannelGuide::RefreshAll(std::function<void(const UpdateOutcome&)> done) {
    QList<Category> tabs;
    for (Category category : {Category::Tv, Category::World, Category::Game}) {
        if (lists_.contains(category) && !book_->Sources(category).empty())
            tabs << category;
    }
    if (tabs.isEmpty()) {
        done(UpdateOutcome());
        return;
    }
    auto left = std::make_shared<int>(static_cast<int>(tabs.size()));
    auto outcome = std::make_shared<UpdateOutcome>();
    for (Category category : tabs) {
        book_->Refresh(category, true, [this, category, left, outcome, done] {
            // Told per tab: one guide that did not arrive is a failure, any
            // new one a replacement, else the tab's guides were current.
            bool failed = false, replaced = false;
            for (const GuideBook::Source& source : book_->Sources(category)) {
                failed |= source.fetched == GuideBook::Source::Fetched::Failed ||
                          source.fetched == GuideBook::Source::Fetched::NotYet;
                replaced |= source.fetched == GuideBook::Source::Fetched::Replaced;
            }
            if (failed)
                outcome->AddFailed(ChannelLists::TabName(category));
            else if (replaced)
                outcome->AddReplaced(ChannelLists::TabName(category));
            else
                outcome->AddCurrent(ChannelLists::TabName(category));
            if (--*left == 0)
                done(*outcome);
        });
    }
}

QString ChannelGuide::UpdateLines(const UpdateOutcome& guides) {
    QStringList lines;
    if (!guides.Replaced().isEmpty())
        lines << QStringLiteral("새 편성표를 받았습니다: ") +
                     guides.Replaced().join(QStringLiteral(", "));
    if (!guides.Failed().isEmpty())
        lines << QStringLiteral("편성표를 받지 못했습니다: ") +
                     guides.Failed().join(QStringLiteral(", ")) +
                     QStringLiteral(" (이전 편성표를 그대로 둡니다)");
    if (lines.isEmpty() && !guides.Current().isEmpty())
        lines << QStringLiteral("편성표는 바뀐 것이 없습니다: ") +
                     guides.Current().join(QStringLiteral(", "));
    return lines.join(QLatin1Char('\n'));
}

const GuideData* ChannelGuide::GuideOf(Category category, const QStringList& addresses,
                                       QString* key) const {
    if (!HasGuideTab(category))
        return nullptr;
    for (const QString& address : addresses) {
        if (const GuideData* guide = book_->Find(category, address)) {
            *key = address;
            return guide;
        }
    }
    return nullptr;
}

GuideData::NowNext ChannelGuide::NowNext(Category category, const QStringList& addresses,
                                         qint64 at) const {
    QString key;
    const GuideData* guide = GuideOf(category, addresses, &key);
    return guide ? guide->At(key, at != 0 ? at : now_()) : GuideData::NowNext();
}

QString ChannelGuide::TimeRange(const GuideData::Programme& programme) {
    return LocalClock(programme.start) + QChar(0x2013) + LocalClock(programme.stop);
}

QString ChannelGuide::CaptionLine(const GuideData::Programme& programme) {
    return programme.title + QStringLiteral("  ") + TimeRange(programme);
}

QString ChannelGuide::ToolTip(Category category, const QStringList& addresses) const {
    const GuideData::NowNext nowNext = NowNext(category, addresses);
    QStringList lines;
    auto add = [&lines](const QString& label, const std::optional<GuideData::Programme>& p) {
        if (!p)
            return;
        lines << label + QLatin1Char(' ') + TimeRange(*p) + QLatin1Char(' ') + p->title;
        const QString description = FirstLine(p->description);
        if (!description.isEmpty())
            lines << description;
    };
    add(QStringLiteral("지금"), nowNext.now);
    add(QStringLiteral("다음"), nowNext.next);
    return lines.join(QLatin1Char('\n'));
}

void ChannelGuide::UpdateCaption() {
    // Setting the programme tells of a change of what plays: not again.
    if (updating_)
        return;
    updating_ = true;
    const auto done = qScopeGuard([this] { updating_ = false; });
    QString key;
    const GuideData* guide = session_.IsPlaying() ? GuideOf(session_.PlayingCategory(),
                                                            session_.PlayingAddresses(), &key)
                                                  : nullptr;
    const qint64 now = now_();
    GuideData::NowNext nowNext;
    if (guide)
        nowNext = guide->At(key, now);
    if (nowNext.now)
        session_.SetProgramme(nowNext.now->title, CaptionLine(*nowNext.now));
    else
        session_.SetProgramme(QString(), QString());
    // One single-shot timer at the next start or stop on this channel.
    const std::optional<qint64> next = guide ? guide->NextChange(key, now) : std::nullopt;
    if (!next) {
        boundary_ = 0;
        timers_->StopTimer(PlaybackTimer::Programme);
        return;
    }
    if (*next == boundary_ && timers_->IsTimerRunning(PlaybackTimer::Programme))
        return;
    boundary_ = *next;
    const qint64 ms = std::clamp<qint64>((*next - now) * 1000, 0, std::numeric_limits<int>::max());
    timers_->StartTimer(PlaybackTimer::Programme, static_cast<int>(ms));
}

bool ChannelGuide::OnTimer(PlaybackTimer id) {
    if (id != PlaybackTimer::Programme)
        return false;
    timers_->StopTimer(PlaybackTimer::Programme);
    const qint64 due = boundary_;
    boundary_ = 0;
    // A timer that fired early (the clock was set back) comes round again
    // for what is left.
    if (due != 0 && now_() < due) {
        boundary_ = due;
        timers_->StartTimer(PlaybackTimer::Programme,
                            static_cast<int>(std::min<qint64>((due - now_()) * 1000,
                                                              std::numeric_limits<int>::max())));
        return true;
    }
    UpdateCaption();
    return true;
}
