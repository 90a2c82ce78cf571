#pragma once

#include "app/ChannelTabs.h"
#include "guide/GuideBook.h"

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class CatalogueTabs;
class CChannelListView;
class ChannelGuide;
class ChannelListModel;
class CommandTable;
class DownloadQueue;
class GuideData;
class Launcher;
class PlayerSession;
class Prompter;
class QPoint;
class QWidget;
class UserChannelCommands;

// The channel panel's list: the category tabs and their lists (CatalogueTabs),
// the list's clicks and menu, the find field, the programme guide of the
// playlist tabs (ChannelGuide) and its dialog, the user's own channels
// (UserChannelCommands) with their dialog and messages, and the update
// command. It owns the downloads, the tabs, the guide and the user-channel
// commands; what plays a row is handed in.
class ChannelPanel : public QObject {
    Q_OBJECT
public:
    ChannelPanel(QWidget& window, PlayerSession& session, CChannelListView& list,
                 ChannelListModel& model, const Launcher& launcher, Prompter& prompter,
                 const CommandTable& commands, std::function<void(int row)> playRow);
    ~ChannelPanel() override;

    CatalogueTabs& Catalogue() const { return *catalogue_; }
    DownloadQueue& Downloads() const { return *downloads_; }
    // The programme guide: the program's one GuideBook (Guide().Book()),
    // now/next per channel, the caption's programme line.
    ChannelGuide& Guide() const { return *guide_; }
    UserChannelCommands& UserChannels() const { return *userChannels_; }

    // A category (buttons 1012..1017); see CatalogueTabs::Open: whenListed
    // runs once its list has arrived, unless another tab was opened meanwhile.
    void OpenCategoryTab(Category category, std::function<void()> whenListed = {});
    // A click chooses the row; a double click plays it, opens its web page
    // or asks for its region first.
    void OnListClick(int row);
    void OnListDoubleClick(int row);
    // The find field over the list: Ctrl+F and the list's menu open it;
    // Escape closes it (true when it was open).
    void OpenFindField();
    bool CloseFindField();
    // The list's menu at a screen position; the chosen command runs.
    void ShowListMenu(const QPoint& globalPos);

    // What the window knows of the programme guides: the guide that knows a
    // channel (by its tab and the list's key for it, the row's address),
    // each tab's guides with their state, and a read anew. Tests hand in
    // their own; by default the panel's ChannelGuide answers.
    struct GuideAccess {
        std::function<const GuideData*(Category, const QString& key)> find;
        std::function<std::vector<GuideBook::Source>(Category)> sources;
        std::function<void(Category, std::function<void()> done)> refresh;
        // The settings dialog stored new guide addresses (TV_GUIDE, ...).
        std::function<void()> addressesChanged;
    };
    const GuideAccess& Guides() const { return guides_; }
    void SetGuideAccess(GuideAccess access) { guides_ = std::move(access); }
    // The chosen row of a playlist tab that can have a guide (TV, world,
    // game), or -1; the guide command (32800, the list's menu and G) opens
    // its dialog.
    int GuideRow() const;
    void OpenGuideDialog();

    // The user's own channels (the list's menu).
    void AddToMyChannels();           // 32793
    void DeleteSelectedUserChannel(); // 32794
    void DeleteAllUserChannels();     // 32795

    // The update command: the catalogue update check, then its result and
    // the program updater.
    void RunUpdateCommand();
    // After the tabs' sources were changed: the open catalogue tab anew.
    void ReloadSources();

private:
    // A row of a regional broadcaster: asks for the region, then plays its
    // station there.
    void AskRegionAndPlay(int row, const QString& channelName);
    void ConnectList();

    QWidget& window_;
    PlayerSession& session_;
    CChannelListView& list_;
    ChannelListModel& model_;
    const Launcher& launcher_;
    Prompter& prompter_;
    const CommandTable& commands_;
    std::function<void(int)> playRow_;
    DownloadQueue* downloads_ = nullptr;
    CatalogueTabs* catalogue_ = nullptr;
    ChannelGuide* guide_ = nullptr;
    UserChannelCommands* userChannels_ = nullptr;
    GuideAccess guides_;
};
