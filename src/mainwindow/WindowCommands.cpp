#include "mainwindow/WindowCommands.h"

#include "app/Endpoints.h"
#include "app/PlayerSession.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/COpenUrlDlg.h"
#include "mainwindow/ChannelPanel.h"
#include "mainwindow/CommandTable.h"
#include "mainwindow/DesktopLink.h"
#include "mainwindow/MainTabs.h"
#include "mainwindow/PlaybackWiring.h"
#include "mainwindow/ServiceHome.h"
#include "mainwindow/WindowLayout.h"
#include "mainwindow/WindowStyle.h"

#include <QWidget>

namespace {

// The check mark of an option command.
CommandTable::State OptionShown(PlayerSession& session, SessionOption option) {
    return [&session, option] { return session.IsOn(option); };
}

// An option command flips the flag (the session's option store keeps it).
CommandTable::Action OptionToggle(PlayerSession& session, SessionOption option) {
    return [&session, option] { session.Toggle(option); };
}

void AddOptionCommands(CommandTable& t, const WindowCommandParts& w) {
    PlayerSession& session = w.session;
    const struct {
        MenuCommand id;
        SessionOption option;
    } options[] = {{MenuCommand::AutoPlay, SessionOption::AutoPlay},
                   {MenuCommand::AutoClose, SessionOption::AutoClose},
                   {MenuCommand::AutoHide, SessionOption::AutoHide},
                   {MenuCommand::StartWithSession, SessionOption::StartWithSession}};
    for (const auto& o : options)
        t.Add({o.id}, OptionToggle(session, o.option), OptionShown(session, o.option));
    t.Add(
        {MenuCommand::OnTop}, [&style = w.style] { style.ToggleOnTop(); },
        OptionShown(session, SessionOption::OnTop));
    t.Add(
        {MenuCommand::ListPanel, ControlId::ListToggle, ControlId::ListToggleBottom},
        [&layout = w.layout] { layout.ToggleListPanel(); },
        OptionShown(session, SessionOption::ListCheck));
}

void AddPlayerCommands(CommandTable& t, const WindowCommandParts& w) {
    // Every command that plays needs the player, which the window binds at
    // its start.
    const auto withPlayback = [playback = w.playback](auto act) {
        return [playback, act] {
            if (PlaybackWiring* p = playback())
                act(*p);
        };
    };
    t.Add({MenuCommand::Play, ListCommand::Play},
          withPlayback([](PlaybackWiring& p) { p.Watch().MenuPlay(); }));
    t.Add({ControlId::Play}, withPlayback([](PlaybackWiring& p) { p.Watch().PlaySelected(); }));
    t.Add({MenuCommand::Stop, ListCommand::Stop, ControlId::Stop},
          withPlayback([](PlaybackWiring& p) { p.Watch().StopPlayback(); }));
    t.Add({MenuCommand::OpenUrl}, withPlayback([&window = w.window](PlaybackWiring& p) {
              COpenUrlDlg dialog(&window);
              dialog.SetPlayer([&p](const QString& address) { p.Watch().PlayAddress(address); });
              dialog.exec();
          }));
    t.Add({MenuCommand::FullScreen, ControlId::FullScreen},
          [&layout = w.layout] { layout.ToggleFullScreen(); });
    t.Add({MenuCommand::VolumeUp}, withPlayback([](PlaybackWiring& p) { p.Volume().Up(); }));
    t.Add({MenuCommand::VolumeDown}, withPlayback([](PlaybackWiring& p) { p.Volume().Down(); }));
    PlayerSession& session = w.session;
    t.Add({MenuCommand::Mute, ControlId::Mute},
          withPlayback([](PlaybackWiring& p) { p.Volume().ToggleMute(); }),
          [&session] { return session.IsMuted(); });
}

void AddProgramCommands(CommandTable& t, const WindowCommandParts& w) {
    t.Add({MenuCommand::Settings, ControlId::Settings}, w.openSettings);
    t.Add({MenuCommand::Update}, [&channels = w.channels] { channels.RunUpdateCommand(); });
    t.Add({MenuCommand::HomePage}, [&service = w.service] { service.Open(); });
    t.Add({MenuCommand::About}, [&window = w.window] {
        CAboutDlg dialog(&window);
        dialog.exec();
    });
    t.Add({MenuCommand::Exit, ListCommand::Exit, ControlId::Close}, w.exit);
    t.Add({ControlId::Minimise}, [&style = w.style] { style.Minimise(); });
    t.Add({ControlId::MaximiseToggle}, [&layout = w.layout] { layout.ToggleMaximise(); });
    t.Add({ControlId::Hide}, [&style = w.style] { style.HideWindow(); });
}

void AddUserChannelCommands(CommandTable& t, const WindowCommandParts& w) {
    PlayerSession& session = w.session;
    ChannelPanel& channels = w.channels;
    DesktopLink& desktop = w.desktop;
    auto userTab = [&session] { return session.Category() == Category::User; };
    t.Add({ListCommand::AddToMyChannels}, [&channels] { channels.AddToMyChannels(); });
    t.Add({ListCommand::Find}, [&channels] { channels.OpenFindField(); });
    t.Add(
        {ListCommand::Guide}, [&channels] { channels.OpenGuideDialog(); }, nullptr,
        [&channels] { return channels.GuideRow() >= 0; });
    // The user's own channels only: greyed in the list's menu elsewhere.
    t.Add(
        {ListCommand::DeleteSelected}, [&channels] { channels.DeleteSelectedUserChannel(); },
        nullptr, userTab);
    t.Add(
        {ListCommand::DeleteAll}, [&channels] { channels.DeleteAllUserChannels(); }, nullptr,
        userTab);
    t.Add(
        {ListCommand::ImportPlaylist}, [&desktop] { desktop.ImportPlaylist(); }, nullptr, userTab);
    t.Add(
        {ListCommand::ExportPlaylist}, [&desktop] { desktop.ExportPlaylist(); }, nullptr, userTab);
}

void AddTabCommands(CommandTable& t, const WindowCommandParts& w) {
    for (MainTab tab : kAllMainTabs)
        t.Add({TabControlOf(tab)}, [&tabs = w.tabs, tab] { tabs.OnTabButton(tab); });
    t.Add({ControlId::TabHome}, [&tabs = w.tabs] { tabs.OnHomePageButton(); });
    for (Category category : kAllCategories)
        t.Add({CategoryTabOf(category)},
              [&channels = w.channels, category] { channels.OpenCategoryTab(category); });
    for (ControlId id : kMusicSubTabButtons)
        t.Add({id}, [&tabs = w.tabs, id] { tabs.OnSubTab(id); });
    for (ControlId id : kMovieSubTabButtons)
        t.Add({id}, [&tabs = w.tabs, id] { tabs.OnSubTab(id); });
}

} // namespace

void AddWindowCommands(CommandTable& table, const WindowCommandParts& window) {
    AddOptionCommands(table, window);
    AddPlayerCommands(table, window);
    AddProgramCommands(table, window);
    AddUserChannelCommands(table, window);
    AddTabCommands(table, window);
}
