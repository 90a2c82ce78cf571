#include "mainwindow/WindowCommands.h"

#include "app/Endpoints.h"
#include "app/Launcher.h"
#include "app/SessionSettings.h"
#include "app/SettingsTable.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/COpenUrlDlg.h"
#include "mainwindow/CPlayerDlg.h"
#include "mainwindow/CommandTable.h"
#include "mainwindow/MainTabs.h"

#include <QCoreApplication>

namespace {

// The check mark of an option command.
CommandTable::State OptionShown(PlayerSession& session, SessionOption option) {
    return [&session, option] { return session.IsOn(option); };
}

// An option command flips the flag and stores its new state as "1" or "0".
CommandTable::Action OptionToggle(PlayerSession& session, SessionOption option,
                                  const Settings::Value& value) {
    return [&session, option, &value] { Settings::WriteFlag(value, session.Toggle(option)); };
}

void AddOptionCommands(CommandTable& t, CPlayerDlg& w) {
    PlayerSession& session = w.Session();
    const struct {
        MenuCommand id;
        SessionOption option;
        const Settings::Value& value;
    } options[] = {{MenuCommand::AutoPlay, SessionOption::AutoPlay, Settings::AutoPlay},
                   {MenuCommand::AutoClose, SessionOption::AutoClose, Settings::AutoClose},
                   {MenuCommand::AutoHide, SessionOption::AutoHide, Settings::AutoHide}};
    for (const auto& o : options)
        t.Add({o.id}, OptionToggle(session, o.option, o.value), OptionShown(session, o.option));
    t.Add(
        {MenuCommand::OnTop}, [&w] { w.ToggleOnTop(); },
        OptionShown(session, SessionOption::OnTop));
    t.Add(
        {MenuCommand::StartWithSession},
        [&session] {
            // The entry starts this very program, wherever it lies.
            SessionSettings::ToggleStartWithSession(session,
                                                    QCoreApplication::applicationFilePath());
        },
        OptionShown(session, SessionOption::StartWithSession));
    t.Add(
        {MenuCommand::ListPanel, ControlId::ListToggle, ControlId::ListToggleBottom},
        [&w] { w.ToggleListPanel(); }, OptionShown(session, SessionOption::ListCheck));
}

void AddPlayerCommands(CommandTable& t, CPlayerDlg& w) {
    t.Add({MenuCommand::Play, ListCommand::Play}, [&w] { w.MenuPlay(); });
    t.Add({ControlId::Play}, [&w] { w.PlaySelected(); });
    t.Add({MenuCommand::Stop, ListCommand::Stop, ControlId::Stop}, [&w] { w.StopPlayback(); });
    t.Add({MenuCommand::OpenUrl}, [&w] {
        COpenUrlDlg dialog(&w);
        dialog.SetPlayer([&w](const QString& address) { w.PlayUrl(address); });
        dialog.exec();
    });
    t.Add({MenuCommand::FullScreen, ControlId::FullScreen}, [&w] { w.ToggleFullScreen(); });
    t.Add({MenuCommand::VolumeUp}, [&w] { w.VolumeUp(); });
    t.Add({MenuCommand::VolumeDown}, [&w] { w.VolumeDown(); });
    PlayerSession& session = w.Session();
    t.Add(
        {MenuCommand::Mute, ControlId::Mute}, [&w] { w.ToggleMute(); },
        [&session] { return session.IsMuted(); });
}

void AddProgramCommands(CommandTable& t, CPlayerDlg& w) {
    t.Add({MenuCommand::Settings, ControlId::Settings}, [&w] { w.OpenSettingsDialog(); });
    t.Add({MenuCommand::Update}, [&w] { w.RunUpdateCommand(); });
    t.Add({MenuCommand::HomePage}, [&w] { w.OpenHomePage(); });
    t.Add({MenuCommand::About}, [&w] {
        CAboutDlg dialog(&w);
        dialog.exec();
    });
    t.Add({MenuCommand::Exit, ListCommand::Exit, ControlId::Close}, [&w] { w.OnExit(); });
    t.Add({ControlId::Minimise}, [&w] { w.Minimise(); });
    t.Add({ControlId::MaximiseToggle}, [&w] { w.ToggleMaximise(); });
    t.Add({ControlId::Hide}, [&w] { w.HideWindow(); });
}

void AddUserChannelCommands(CommandTable& t, CPlayerDlg& w) {
    PlayerSession& session = w.Session();
    auto userTab = [&session] { return session.Category() == Category::User; };
    t.Add({ListCommand::AddToMyChannels}, [&w] { w.AddToMyChannels(); });
    t.Add({ListCommand::Find}, [&w] { w.OpenFindField(); });
    t.Add(
        {ListCommand::Guide}, [&w] { w.OpenGuideDialog(); }, nullptr,
        [&w] { return w.GuideRow() >= 0; });
    // The user's own channels only: greyed in the list's menu elsewhere.
    t.Add(
        {ListCommand::DeleteSelected}, [&w] { w.DeleteSelectedUserChannel(); }, nullptr, userTab);
    t.Add(
        {ListCommand::DeleteAll}, [&w] { w.DeleteAllUserChannels(); }, nullptr, userTab);
    t.Add(
        {ListCommand::ImportPlaylist}, [&w] { w.ImportPlaylist(); }, nullptr, userTab);
    t.Add(
        {ListCommand::ExportPlaylist}, [&w] { w.ExportPlaylist(); }, nullptr, userTab);
}

void AddTabCommands(CommandTable& t, CPlayerDlg& w) {
    for (MainTab tab : kAllMainTabs)
        t.Add({TabControlOf(tab)}, [&w, tab] { w.Tabs().OnTabButton(tab); });
    t.Add({ControlId::TabHome}, [&w] { w.Tabs().OnHomePageButton(); });
    for (Category category : kAllCategories)
        t.Add({CategoryTabOf(category)}, [&w, category] { w.OpenCategoryTab(category); });
    for (ControlId id : kMusicSubTabButtons)
        t.Add({id}, [&w, id] { w.Tabs().OnSubTab(id); });
    for (ControlId id : kMovieSubTabButtons)
        t.Add({id}, [&w, id] { w.Tabs().OnSubTab(id); });
}

} // namespace

void AddWindowCommands(CommandTable& table, CPlayerDlg& window) {
    AddOptionCommands(table, window);
    AddPlayerCommands(table, window);
    AddProgramCommands(table, window);
    AddUserChannelCommands(table, window);
    AddTabCommands(table, window);
}
