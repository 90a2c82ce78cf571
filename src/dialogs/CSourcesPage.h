#pragma once

#include "catalogue/ChannelSource.h"
#include "catalogue/SourceCheck.h"
#include "catalogue/SourceSettings.h"
#include "catalogue/SourceTabs.h"
#include "guide/GuideBook.h"

#include <QWidget>

#include <array>
#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The settings dialog's channel-list page: where each catalogue tab takes its
// channels from (the service, a playlist or the radio directory, with the
// address or query) and the radio directory's server; the defaults can be put
// back. One tab is shown at a time, chosen in the page's tab box; what the
// user changes is kept for every tab and stored only by the dialog's OK,
// after every tab passed its checks. A tab that can have a programme guide
// (TV, world, game, unless it uses the service) shows its guide addresses
// (TV_GUIDE, WORLD_GUIDE, GAME_GUIDE), stored the same way; given the
// guides' state, the page also says what became of each address's last read
// and can have them read again at once.
class CSourcesPage : public QWidget {
    Q_OBJECT
public:
    using GuideSources = std::function<std::vector<GuideBook::Source>(Category)>;
    // Reads the tab's guides again now; `done` runs when every one has finished.
    using GuideRefresh = std::function<void(Category, std::function<void()> done)>;

    explicit CSourcesPage(SourceSettings settings = SourceSettings(), QWidget* parent = nullptr);

    QComboBox* TabBox() const { return tab_; }
    QComboBox* KindBox() const { return kind_; }
    QLineEdit* AddressEdit() const { return address_; }
    QLineEdit* DirectoryServerEdit() const { return server_; }
    QPushButton* DefaultsButton() const { return defaults_; }
    QLineEdit* GuideEdit() const { return guide_; }
    // Shown only when the guides' state was given.
    QLabel* GuideStatus() const { return guideStatus_; }
    QPushButton* GuideRefreshButton() const { return guideRefresh_; }

    // The guides' state and the way to read them again; without them (tests,
    // or before the program has its guides) the page shows no status.
    void SetGuideStatus(GuideSources sources, GuideRefresh refresh);
    // "1. 12/09 21:00 읽음 · 12 / 40 채널", a line per address of the tab.
    static QString GuideStatusText(const std::vector<GuideBook::Source>& sources);

    // The tab whose source the page shows.
    Category ShownTab() const;
    void ShowTab(Category category);

    // What the page holds now for every tab, as it would be stored.
    SourcesChoice Edited() const;
    bool Changed() const { return Edited() != atOpen_; }
    // The guide addresses of a guide tab as they would be stored (trimmed).
    QString EditedGuide(Category category) const;
    bool GuidesChanged() const;
    // Fills every tab and the server with the build's defaults (stored only by OK).
    void ShowDefaults();

    // The dialog's OK: a changed choice is checked and, when every tab
    // passes, stored with the changed guide addresses; the problem
    // otherwise (nothing is stored then).
    SourcesProblem Apply();

private:
    static constexpr int kGuideTabCount = 3;  // TV, world, game
    static int GuideIndex(Category category); // -1 for a tab without a guide

    void ShowFields();
    void KeepFields();
    void ShowGuideRow();
    void ShowGuideStatus();
    void RefreshGuides();

    SourceSettings settings_;
    SourcesChoice atOpen_;
    SourcesChoice edited_; // addresses as typed
    bool filling_ = false;
    QComboBox* tab_ = nullptr;
    QComboBox* kind_ = nullptr;
    QLineEdit* address_ = nullptr;
    QLineEdit* server_ = nullptr;
    QPushButton* defaults_ = nullptr;

    std::array<QString, kGuideTabCount> guidesAtOpen_;
    std::array<QString, kGuideTabCount> guidesEdited_;
    QLineEdit* guide_ = nullptr;
    QLabel* guideCaption_ = nullptr;
    QLabel* guideStatus_ = nullptr;
    QPushButton* guideRefresh_ = nullptr;
    GuideSources guideSources_;
    GuideRefresh refreshGuides_;
    bool refreshing_ = false;
};
