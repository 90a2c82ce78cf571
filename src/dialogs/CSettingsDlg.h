#pragma once

#include "skin/CSkinnedDialog.h"

#include <QStringList>

#include <array>
#include <functional>

class CSourcesPage;
class QCheckBox;
class QComboBox;
class QLabel;
class PlayerSession;

// The options in one place, on four pages: basic, playback, update and the
// channel lists (where each catalogue tab takes its channels from). Opening
// reads every option from the store (not from the window, so changes made
// through the menus show); OK writes every option back and passes the ones
// that act at once to the player's session (when one is given); Cancel and
// the close box change nothing, the channel lists included. Ctrl+Tab and
// Ctrl+Page Down go to the next page, Ctrl+Shift+Tab and Ctrl+Page Up back.
class CSettingsDlg : public CSkinnedDialog {
    Q_OBJECT
public:
    explicit CSettingsDlg(PlayerSession* session = nullptr, QWidget* parent = nullptr);

    // The dialog's controls; the values are their resource numbers.
    enum class Control {
        CloseBox = 1004,
        Cancel = 1034,
        PageBasic = 1037,
        PagePlayback = 1038,
        PageUpdate = 1039,
        StartWithSessionBox = 1040,
        AutoPlayBox = 1041,
        ChannelUpdateBox = 1042,
        StartUpdateBox = 1043,
        AutoCloseBox = 1044,
        AutoHideBox = 1045,
        MagnetBox = 1047,
        OnTopBox = 1049,
        MessageBox = 1050,
        TrayBox = 1051,
        RegionNote = 1052,
        RegionBox = 1054,
        Ok = 1061,
        PageSources = 1062, // page button 4, the channel lists
        HideFailedBox = 1063,
        HideGeoBlockedBox = 1064,
    };

    QCheckBox* Check(Control id) const;
    QComboBox* Region() const { return region_; }
    QLabel* RegionLabel() const { return note_; }
    CSourcesPage* Sources() const { return sources_; }
    CMinsButton* Button(Control id) const;
    // The page shown, 1..4.
    static constexpr int kPageCount = 4;
    int Page() const { return page_; }
    void SelectPage(int page);

    // Where messages go (a message box unless replaced, for tests).
    void SetMessageHandler(std::function<void(const QString&)> handler) {
        messageHandler_ = std::move(handler);
    }

signals:
    // OK stored a change of the tabs' sources.
    void sourcesChanged();
    // OK stored a change of the tabs' guide addresses.
    void guidesChanged();

public:
    // The OK button's work: the channel lists checked, then every option
    // written in its order. A channel list that fails its checks is shown
    // with the message, and nothing is written.
    void OnOk();

private:
    void ReadOptions();
    void ShowMessage(const QString& text);

    std::array<QCheckBox*, 12> checks_{};
    QComboBox* region_ = nullptr;
    bool regionChosen_ = false; // the user picked a place from the box
    QLabel* note_ = nullptr;
    CMinsButton* close_ = nullptr;
    CMinsButton* pages_[kPageCount] = {};
    CSourcesPage* sources_ = nullptr;
    CMinsButton* ok_ = nullptr;
    CMinsButton* cancel_ = nullptr;
    int page_ = 0;
    PlayerSession* session_ = nullptr;
    std::function<void(const QString&)> messageHandler_;
};
