#include "app/PlayerSession.h"
#include "mainwindow/CommandTable.h"

#include <gtest/gtest.h>

#include <memory>

using Activity = PlayerSession::Activity;

namespace {

// How often a signal of the session fired.
template <typename Signal> std::shared_ptr<int> Count(PlayerSession& session, Signal signal) {
    auto count = std::make_shared<int>(0);
    QObject::connect(&session, signal, [count] { ++*count; });
    return count;
}

} // namespace

TEST(PlayerSession, SignalsFireOnlyWhenAValueReallyChanges) {
    PlayerSession session;
    auto volume = Count(session, &PlayerSession::volumeChanged);
    auto option = Count(session, &PlayerSession::optionChanged);
    auto status = Count(session, &PlayerSession::statusChanged);
    auto row = Count(session, &PlayerSession::currentRowChanged);

    session.SetVolume(40);
    session.SetVolume(40);
    EXPECT_EQ(*volume, 1);
    EXPECT_EQ(session.Volume(), 40);

    EXPECT_TRUE(session.Toggle(SessionOption::Magnet));
    session.SetOn(SessionOption::Magnet, true);
    EXPECT_FALSE(session.Toggle(SessionOption::Magnet));
    EXPECT_EQ(*option, 2);
    EXPECT_FALSE(session.IsOn(SessionOption::OnTop)); // the others stay as they were
    session.SetOn(SessionOption::Count, true);        // not an option: nothing happens
    EXPECT_EQ(*option, 2);

    // Text and lamp together are one change of the status line.
    session.SetStatus(QStringLiteral("방송연결이 성공하였습니다."), true);
    session.SetStatus(QStringLiteral("방송연결이 성공하였습니다."), true);
    EXPECT_EQ(*status, 1);
    EXPECT_TRUE(session.IsLampLit());

    // Anything below the first row is no row.
    session.SetCurrentRow(-5);
    EXPECT_EQ(session.CurrentRow(), -1);
    EXPECT_EQ(*row, 0);
    session.SetCurrentRow(3);
    EXPECT_EQ(*row, 1);
}

TEST(PlayerSession, ChoosingACategoryShowsIt) {
    PlayerSession session;
    EXPECT_EQ(session.ShownCategory(), Category::None); // nothing shown before the first tab
    auto shown = Count(session, &PlayerSession::shownCategoryChanged);
    session.SetCategory(Category::Radio);
    EXPECT_EQ(session.Category(), Category::Radio);
    EXPECT_EQ(session.ShownCategory(), Category::Radio);
    EXPECT_EQ(*shown, 1);
}

TEST(PlayerSession, NowPlayingFollowsThePlayerAndTheWatch) {
    PlayerSession session;
    auto changed = Count(session, &PlayerSession::nowPlayingChanged);
    EXPECT_EQ(session.CurrentNowPlaying().state, NowPlaying::State::Stopped);

    // The name alone changes nothing the desktop sees while nothing plays.
    session.SetChannelName(QStringLiteral("KBS 1TV"));
    EXPECT_EQ(*changed, 0);

    session.SetPlayerActivity(Activity::Opening);
    EXPECT_EQ(session.CurrentNowPlaying().state, NowPlaying::State::Connecting);
    EXPECT_EQ(session.CurrentNowPlaying().channel, QStringLiteral("KBS 1TV"));
    session.SetPlayerActivity(Activity::Buffering); // still connecting: no news
    EXPECT_EQ(*changed, 1);

    session.SetPlaying(true);
    session.SetStreamTitle(QStringLiteral("가수 - 노래"));
    EXPECT_EQ(session.CurrentNowPlaying().streamTitle, QStringLiteral("가수 - 노래"));
    EXPECT_EQ(*changed, 3);

    // A new connection drops the old broadcast's title; buffering keeps it.
    session.SetPlayerActivity(Activity::Buffering);
    EXPECT_EQ(session.CurrentNowPlaying().streamTitle, QStringLiteral("가수 - 노래"));
    session.SetPlayerActivity(Activity::Opening);
    EXPECT_TRUE(session.CurrentNowPlaying().streamTitle.isEmpty());

    // An address opened by hand plays under the status line's name.
    session.SetChannelName(QStringLiteral("0"));
    EXPECT_EQ(session.CurrentNowPlaying().channel, QStringLiteral("사용자방송"));

    session.SetPlaying(false);
    session.SetPlayerActivity(Activity::Idle);
    EXPECT_EQ(session.CurrentNowPlaying(), NowPlaying());
}

TEST(CommandTable, OneCommandUnderSeveralIdsWithItsStates) {
    CommandTable table;
    int runs = 0;
    bool on = false;
    bool allowed = false;
    table.Add(
        {MenuCommand::ListPanel, CommandId(ControlId::ListToggleBottom),
         CommandId(ControlId::ListToggle)},
        [&runs] { ++runs; }, [&on] { return on; });
    table.Add(
        {ListCommand::DeleteSelected}, [&runs] { runs += 100; }, nullptr,
        [&allowed] { return allowed; });

    // The menu item and both buttons do the same.
    EXPECT_TRUE(table.Run(MenuCommand::ListPanel));
    EXPECT_TRUE(table.Run(CommandId(ControlId::ListToggleBottom)));
    EXPECT_TRUE(table.Run(CommandId(ControlId::ListToggle)));
    EXPECT_EQ(runs, 3);
    EXPECT_TRUE(table.IsCheckable(CommandId(ControlId::ListToggle)));
    EXPECT_FALSE(table.IsChecked(CommandId(ControlId::ListToggle)));
    on = true;
    EXPECT_TRUE(table.IsChecked(MenuCommand::ListPanel));

    // A disabled command does not run; an unknown id runs nothing.
    EXPECT_FALSE(table.IsEnabled(ListCommand::DeleteSelected));
    EXPECT_FALSE(table.Run(ListCommand::DeleteSelected));
    EXPECT_FALSE(table.IsCheckable(ListCommand::DeleteSelected));
    allowed = true;
    EXPECT_TRUE(table.Run(ListCommand::DeleteSelected));
    EXPECT_EQ(runs, 103);
    EXPECT_FALSE(table.Contains(MenuCommand::About));
    EXPECT_FALSE(table.Run(MenuCommand::About));
    EXPECT_FALSE(table.IsEnabled(MenuCommand::About));

    // An id added again gets the new behaviour; the others keep the old one.
    table.Add({CommandId(ControlId::ListToggle)}, [&runs] { runs = -1; });
    table.Run(CommandId(ControlId::ListToggleBottom));
    EXPECT_EQ(runs, 104);
    table.Run(CommandId(ControlId::ListToggle));
    EXPECT_EQ(runs, -1);
}

TEST(CommandTable, StoredNumbersNameOnlyKnownCommands) {
    // Menu actions carry the resource numbers; each range maps back to its
    // command and nothing outside the three ranges is a command.
    EXPECT_EQ(CommandId::FromNumber(32790), CommandId(MenuCommand::FullScreen));
    EXPECT_EQ(CommandId::FromNumber(32799), CommandId(ListCommand::Find));
    EXPECT_EQ(CommandId::FromNumber(32800), CommandId(ListCommand::Guide));
    EXPECT_EQ(CommandId::FromNumber(1017), CommandId(ControlId::CategoryUser));
    for (int number : {0, 999, 1030, 32772, 32801, 4242})
        EXPECT_FALSE(CommandId::FromNumber(number).has_value()) << number;
    EXPECT_EQ(CategoryFromStored(6), Category::User);
    EXPECT_EQ(CategoryFromStored(7), Category::None);
    EXPECT_EQ(CategoryFromStored(0), Category::None);
}
