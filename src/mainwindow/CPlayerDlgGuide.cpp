// The programme guide: the guide command's dialog and the guides' state on
// the settings page, both reached through the GuideAccess the program hands in.

#include "mainwindow/CPlayerDlg.h"

#include "catalogue/CChannelListView.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/ChannelSources.h"
#include "dialogs/CGuideDlg.h"

int CPlayerDlg::GuideRow() const {
    // Guides come with the playlists of the TV, world and game tabs.
    const Category category = session_->Category();
    if (category != Category::Tv && category != Category::World && category != Category::Game)
        return -1;
    if (Sources()->SourceOf(category).kind != ChannelSource::Kind::Playlist)
        return -1;
    const QList<int> selected = listView_->SelectedListRows();
    const int row = selected.isEmpty() ? session_->CurrentRow() : selected.first();
    return listModel_->IsRow(row) ? row : -1;
}

void CPlayerDlg::OpenGuideDialog() {
    const int row = GuideRow();
    if (row < 0)
        return;
    const ChannelRecord record = listModel_->Row(row);
    // A playlist's guide knows its channels by their stream address.
    const GuideData* guide =
        guides_.find ? guides_.find(session_->Category(), record.url()) : nullptr;
    CGuideDlg dialog(record.name(), guide, record.url(), {}, this);
    dialog.exec();
}
