#pragma once

#include "skin/CSkinnedDialog.h"

class QCheckBox;
class QComboBox;

// Asks for the user's region before a regional broadcaster (a name holding
// "MBC" or "SBS") plays: twenty cities for MBC, nine regions for SBS. OK
// stores the choice (and, when ticked, never to ask again); with no place
// selected it keeps the stored region. The close box stores nothing. Reloading the tab and playing
// are the caller's, after a confirmed end.
class CRegionDlg : public CSkinnedDialog {
    Q_OBJECT
public:
    explicit CRegionDlg(const QString& channelName, QWidget* parent = nullptr);

    int Mode() const { return mode_; }
    bool Confirmed() const { return confirmed_; }
    QComboBox* VisibleCombo() const;
    QComboBox* CityCombo() const { return cities_; }    // 1054, mode 1
    QComboBox* RegionCombo() const { return regions_; } // 1068, mode 2
    QCheckBox* DoNotAskAgain() const { return hide_; }  // 1067

    // The OK button (1031).
    void Confirm();

private:
    QComboBox* MakeCombo(int mode, const QString& stored);

    int mode_;
    bool confirmed_ = false;
    QComboBox* cities_;
    QComboBox* regions_;
    QCheckBox* hide_;
};
