#include "dialogs/CAboutDlg.h"

#include "skin/CMinsButton.h"

namespace {
constexpr PictureId kAboutPicture = PictureId::AboutBackground;
constexpr int kOkId = 1031;
} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : CSkinnedDialog(kAboutPicture, QSize(380, 200), parent) {
    setWindowTitle(QStringLiteral("프로그램 정보"));
    close_ = AddCloseBox(355, 5);
    ok_ = new CMinsButton(kOkId, QStringLiteral("확인"), this);
    ok_->SetImages(PictureId::DialogOk, PictureId::DialogOkHover, PictureId::DialogOkHover);
    PlaceButton(ok_, 168, 157, 44, 22);
    connect(ok_, &QAbstractButton::clicked, this, &QDialog::reject);
}
