#pragma once

#include "skin/CSkinnedDialog.h"

#include <QStringList>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class PlayerSession;
class QPushButton;

// The options in one place, on three pages. Opening reads every option from
// the store (not from the window, so changes made through the menus show);
// OK writes every option back and passes the ones that act at once to the
// player's session (when one is given); Cancel and the close box change nothing.
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
    };

    // The twenty cities of the region box, in the order it shows them.
    static QStringList RegionNames();

    QCheckBox* Check(Control id) const;
    QComboBox* Region() const { return region_; }
    QLabel* RegionLabel() const { return note_; }
    QPushButton* SourcesButton() const { return sources_; }
    CMinsButton* Button(Control id) const;
    // The page shown, 1..3.
    int Page() const { return page_; }
    void SelectPage(int page);

signals:
    // The tabs' sources were changed (and stored) on their own page.
    void sourcesChanged();

public:
    // The OK button's work: every option written in its order.
    void OnOk();

private:
    void ReadOptions();

    std::array<QCheckBox*, 10> checks_{};
    QComboBox* region_ = nullptr;
    int regionAtOpen_ = -1; // the box's selection as the dialog opened
    QLabel* note_ = nullptr;
    CMinsButton* close_ = nullptr;
    CMinsButton* pages_[3] = {};
    QPushButton* sources_ = nullptr;
    CMinsButton* ok_ = nullptr;
    CMinsButton* cancel_ = nullptr;
    int page_ = 0;
    PlayerSession* session_ = nullptr;
};
