#include "mainwindow/ChannelPanel.h"

#include "app/Launcher.h"
#include "app/Paths.h"
#include "app/PlayerSession.h"
#include "app/SettingsTable.h"
#include "catalogue/CChannelListView.h"
#include "catalogue/CRegionDlg.h"
#include "catalogue/CatalogueTabs.h"
#include "catalogue/ChannelFilterModel.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/ChannelLists.h"
#include "catalogue/DownloadQueue.h"
#include "catalogue/RegionChoice.h"
#include "catalogue/UpdateOutcome.h"
#include "dialogs/CGuideDlg.h"
#include "mainwindow/ChannelGuide.h"
#include "mainwindow/CommandTable.h"
#include "mainwindow/ListMenu.h"
#include "mainwindow/MainMenu.h"
#include "mainwindow/Prompter.h"
#include "userchannels/CAddChannelDlg.h"
#include "userchannels/UserChannelCommands.h"

#include <QMenu>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <utility>

namespace {

// What the user is told after a command on the user's channels; empty
// when it did what was asked.
QString MessageFor(UserChannelCommands::Outcome outcome) {
    switch (outcome) {
    case UserChannelCommands::Outcome::Done:
        break;
    case UserChannelCommands::Outcome::NoRow:
        return QStringLiteral("목록에서 채널을 먼저 선택해주세요.");
    case UserChannelCommands::Outcome::WriteFailed:
        return CAddChannelDlg::WriteFailedMessage();
    }
    return QString();
}

void Report(Prompter& prompter, UserChannelCommands::Outcome outcome) {
    const QString message = MessageFor(outcome);
    if (!message.isEmpty())
        prompter.ShowMessage(message);
}

// The tabs whose playlists may come with a programme guide.
constexpr Category kGuideTabs[] = {Category::Tv, Category::World, Category::Game};

} // namespace

ChannelPanel::ChannelPanel(QWidget& window, PlayerSession& session, CChannelListView& list,
                           ChannelListModel& model, const Launcher& launcher, Prompter& prompter,
                           const CommandTable& commands, std::function<void(int)> playRow)
    : QObject(&window), window_(window), session_(session), list_(list), model_(model),
      launcher_(launcher), prompter_(prompter), commands_(commands), playRow_(std::move(playRow)),
      downloads_(new DownloadQueue(this)),
      catalogue_(new CatalogueTabs(session, model, *downloads_, this)),
      guide_(new ChannelGuide(session, &catalogue_->Sources(), Paths::DataFolder(), nullptr, this)),
      userChannels_(
          new UserChannelCommands(session, model, [this] { return catalogue_->DataFolder(); })) {
    ConnectList();
    // The programme guide follows the playlist tabs' lists as they are read;
    // a row's tooltip tells what is on.
    model_.SetToolTipProvider([this](const ChannelRecord& record) {
        return guide_->ToolTip(session_.ShownCategory(), record.Addresses());
    });
    // The guide dialog and the channel-list page reach the guides through it.
    guides_ = {[this](Category category, const QString& key) {
                   return guide_->Book().Find(category, key);
               },
               [this](Category category) { return guide_->Book().Sources(category); },
               [this](Category category, std::function<void()> done) {
                   guide_->Book().Refresh(category, true, std::move(done));
               },
               [this] {
                   for (Category category : kGuideTabs)
                       guide_->ReloadTab(category);
               }};
}

ChannelPanel::~ChannelPanel() {
    delete userChannels_;
}

void ChannelPanel::ConnectList() {
    connect(&list_, &CChannelListView::rowClicked, this, &ChannelPanel::OnListClick);
    connect(&list_, &CChannelListView::rowDoubleClicked, this, &ChannelPanel::OnListDoubleClick);
    connect(&list_, &CChannelListView::menuRequested, this, &ChannelPanel::ShowListMenu);
    connect(&list_, &CChannelListView::findPlayRequested, this, &ChannelPanel::OnListDoubleClick);
    connect(&list_, &CChannelListView::findClosed, this,
            [this] { window_.setFocus(Qt::OtherFocusReason); });
    connect(catalogue_, &CatalogueTabs::downloadShown, &list_,
            &CChannelListView::SetDownloadProgress);
    connect(catalogue_, &CatalogueTabs::noticeShown, &list_, &CChannelListView::SetNotice);
    // A radio directory tab searches the directory from the find field; the
    // tab's own list comes back when the field closes.
    list_.SetDirectorySearchOffer([this] { return catalogue_->OffersDirectorySearch(); });
    connect(&list_, &CChannelListView::directorySearchRequested, catalogue_,
            &CatalogueTabs::SearchDirectory);
    connect(catalogue_, &CatalogueTabs::directorySearchShown, &list_,
            &CChannelListView::ShowDirectorySearchState);
    connect(&list_, &CChannelListView::findClosed, catalogue_, &CatalogueTabs::EndDirectorySearch);
    // The list leaves out what the user chose to hide, from the options.
    const auto applyHiding = [this] {
        list_.Filter()->SetHiding({session_.IsOn(SessionOption::HideFailed),
                                   session_.IsOn(SessionOption::HideGeoBlocked)});
    };
    connect(&session_, &PlayerSession::optionChanged, &list_, [applyHiding](SessionOption option) {
        if (option == SessionOption::HideFailed || option == SessionOption::HideGeoBlocked)
            applyHiding();
    });
    applyHiding();
}

void ChannelPanel::OpenCategoryTab(Category category, std::function<void()> whenListed) {
    if (session_.IsListPanelOpen() && session_.MainTab() == MainTab::Channels)
        list_.show();
    // What was typed narrowed the tab being left.
    CloseFindField();
    catalogue_->Open(category, std::move(whenListed));
}

void ChannelPanel::OnListClick(int row) {
    session_.SetCurrentRow(row);
}

void ChannelPanel::OnListDoubleClick(int row) {
    session_.SetCurrentRow(row);
    const ChannelRecord record = model_.Row(row);
    switch (RegionChoice::ActionFor(record, Settings::ReadText(Settings::LocationHide))) {
    case RegionChoice::RowAction::OpenWebPage:
        // A web-page channel opens in the browser; what plays goes on.
        launcher_.OpenInBrowser(record.webUrl());
        return;
    case RegionChoice::RowAction::AskRegion:
        AskRegionAndPlay(row, record.name());
        return;
    case RegionChoice::RowAction::Play:
        playRow_(session_.CurrentRow());
        return;
    }
}

void ChannelPanel::AskRegionAndPlay(int row, const QString& channelName) {
    const QString regionBefore = Settings::ReadText(Settings::LocationForCatalogue);
    CRegionDlg dialog(channelName, &window_);
    dialog.exec();
    if (!dialog.Confirmed())
        return;
    const bool regionChanged = Settings::ReadText(Settings::LocationForCatalogue) != regionBefore;
    catalogue_->ReopenForRegion(row, regionChanged, [this](int next) {
        session_.SetCurrentRow(next);
        list_.SelectListRow(next);
        playRow_(next);
    });
}

void ChannelPanel::OpenFindField() {
    // Only over a list the user sees.
    if (list_.isVisible())
        list_.OpenFind();
}

bool ChannelPanel::CloseFindField() {
    // Full screen hides the list: Escape there leaves full screen.
    return list_.isVisible() && list_.CloseFind();
}

void ChannelPanel::ShowListMenu(const QPoint& globalPos) {
    std::unique_ptr<QMenu> menu(CreateListMenu(&window_, session_.Category() == Category::User,
                                               commands_.IsEnabled(ListCommand::Guide)));
    QAction* chosen = menu->exec(globalPos);
    if (chosen && chosen->isEnabled()) {
        if (const std::optional<CommandId> id = CommandOfAction(chosen))
            commands_.Run(*id);
    }
}

int ChannelPanel::GuideRow() const {
    // Guides come with the playlists of the TV, world and game tabs.
    const Category category = session_.Category();
    if (category != Category::Tv && category != Category::World && category != Category::Game)
        return -1;
    if (catalogue_->Sources().SourceOf(category).kind != ChannelSource::Kind::Playlist)
        return -1;
    const QList<int> selected = list_.SelectedListRows();
    const int row = selected.isEmpty() ? session_.CurrentRow() : selected.first();
    return model_.IsRow(row) ? row : -1;
}

void ChannelPanel::OpenGuideDialog() {
    const int row = GuideRow();
    if (row < 0)
        return;
    const ChannelRecord record = model_.Row(row);
    // A playlist's guide knows its channels by their stream address.
    const GuideData* guide =
        guides_.find ? guides_.find(session_.Category(), record.url()) : nullptr;
    CGuideDlg dialog(record.name(), guide, record.url(), {}, &window_);
    dialog.exec();
}

void ChannelPanel::AddToMyChannels() {
    if (session_.Category() == Category::User) {
        CAddChannelDlg dialog(&model_, catalogue_->DataFolder(), &window_);
        dialog.SetMessageHandler([this](const QString& text) { prompter_.ShowMessage(text); });
        dialog.exec();
        // The new row went on top: the clicked row moved one place down.
        if (dialog.Confirmed() && session_.CurrentRow() >= 0)
            session_.SetCurrentRow(session_.CurrentRow() + 1);
        return;
    }
    Report(prompter_, userChannels_->CopyClickedRow());
}

void ChannelPanel::DeleteSelectedUserChannel() {
    Report(prompter_, userChannels_->DeleteClickedRow());
}

void ChannelPanel::DeleteAllUserChannels() {
    Report(prompter_, userChannels_->DeleteAll());
}

void ChannelPanel::RunUpdateCommand() {
    catalogue_->RunUpdateCheck([this](const UpdateOutcome& lists) {
        // Then every playlist tab's guides, fetched again whatever their age.
        guide_->RefreshAll([this, lists](const UpdateOutcome& guides) {
            // Say what happened, for the catalogues and every other source of
            // channels: a check that could not reach the service, or a list
            // that did not arrive, is no "latest version"; then, on lines of
            // their own, the guides that arrived and those that did not. The
            // message box runs an event loop of its own: it is opened once
            // the update's callbacks have all returned, so nothing finishing
            // meanwhile finds the update half done.
            QString message = lists.Message();
            const QString guideLines = ChannelGuide::UpdateLines(guides);
            if (!guideLines.isEmpty())
                message += QLatin1Char('\n') + guideLines;
            QTimer::singleShot(0, this, [this, message] {
                prompter_.ShowMessage(message);
                // Whatever the message said, the program updater has its turn.
                launcher_.StartUpdater(Paths::ProgramFolder());
            });
        });
    });
}

void ChannelPanel::ReloadSources() {
    // A tab no longer on a playlist has no guide; the user's guide
    // addresses may have changed too.
    for (Category category : kGuideTabs)
        guide_->ReloadTab(category);
    if (session_.MainTab() == MainTab::Channels && session_.Category() != Category::User)
        OpenCategoryTab(session_.Category());
}
