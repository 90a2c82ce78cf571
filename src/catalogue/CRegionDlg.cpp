#include "catalogue/CRegionDlg.h"

#include "app/LegacyText.h"
#include "app/SettingsTable.h"
#include "catalogue/RegionChoice.h"
#include "skin/CMinsButton.h"

#include <QCheckBox>
#include <QComboBox>

namespace {
constexpr PictureId kBackground = PictureId::RegionBackground;
constexpr int kRegionValueBytes = 259;
} // namespace

CRegionDlg::CRegionDlg(const QString& channelName, QWidget* parent)
    : CSkinnedDialog(kBackground, QSize(380, 200), parent),
      mode_(RegionChoice::ModeFor(channelName)) {
    setObjectName(QStringLiteral("CRegionDlg"));
    setAccessibleName(QStringLiteral("지역 선택"));
    AddCloseBox(355, 5);
    auto* ok = new CMinsButton(1031, QStringLiteral("확인"), this);
    ok->SetImages(PictureId::DialogOk, PictureId::DialogOkHover, PictureId::DialogOkHover);
    PlaceButton(ok, 168, 157, 44, 22);
    connect(ok, &QAbstractButton::clicked, this, &CRegionDlg::Confirm);

    const QString stored = Settings::ReadText(Settings::LocationForDialog);
    cities_ = MakeCombo(1, stored);
    regions_ = MakeCombo(2, stored);
    cities_->setVisible(mode_ == 1);
    regions_->setVisible(mode_ == 2);

    hide_ = new QCheckBox(QStringLiteral("앞으로 이창을 보이지 않습니다."), this);
    hide_->setObjectName(QStringLiteral("check1067"));
    hide_->setGeometry(65, 130, 290, 15);
    hide_->setFocusPolicy(Qt::NoFocus);
    hide_->setStyleSheet(QStringLiteral(
        "QCheckBox { color: rgb(255,205,51); background: transparent; spacing: 4px; }"
        "QCheckBox::indicator { width: 11px; height: 11px; border: 1px solid rgb(255,205,51);"
        " background: rgb(13,13,13); }"
        "QCheckBox::indicator:checked { background: rgb(255,205,51); }"));
}

QComboBox* CRegionDlg::MakeCombo(int mode, const QString& stored) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(mode == 1 ? QStringLiteral("combo1054") : QStringLiteral("combo1068"));
    combo->setAccessibleName(QStringLiteral("지역"));
    const QStringList places = RegionChoice::PlacesFor(mode);
    combo->addItems(places);
    // A stored region this list does not have leaves it without a selection.
    combo->setCurrentIndex(RegionChoice::PreselectedIndex(places, stored));
    combo->setGeometry(65, 100, 290, 18);
    combo->setFocusPolicy(Qt::NoFocus);
    combo->setStyleSheet(QStringLiteral(
        "QComboBox { color: rgb(255,205,51); background: rgb(13,13,13);"
        " border: 1px solid rgb(90,70,20); padding: 0 4px; }"
        "QComboBox QAbstractItemView { color: rgb(255,205,51); background: rgb(13,13,13);"
        " selection-background-color: rgb(90,70,20); }"));
    return combo;
}

QComboBox* CRegionDlg::VisibleCombo() const {
    return mode_ == 1 ? cities_ : regions_;
}

void CRegionDlg::Confirm() {
    if (hide_->isChecked())
        Settings::WriteText(Settings::LocationHide, QStringLiteral("1"));
    // Confirming is the choice; a box left without a selection keeps the
    // region stored so far.
    const QComboBox* combo = VisibleCombo();
    if (const std::optional<QString> text =
            RegionChoice::RegionToStore(true, combo->currentIndex(), combo->currentText()))
        Settings::WriteText(
            Settings::LocationForDialog,
            LegacyText::CutToBytes(*text, kRegionValueBytes, !LegacyText::FitsCp949(*text)));
    confirmed_ = true;
    reject(); // every end of a skinned dialog is the cancel result; Confirmed() tells
}
