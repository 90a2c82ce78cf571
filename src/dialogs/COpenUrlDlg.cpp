#include "dialogs/COpenUrlDlg.h"

#include "skin/CMinsButton.h"

#include <QLineEdit>
#include <QMessageBox>

namespace {
constexpr PictureId kBackground = PictureId::OpenUrlBackground;
constexpr int kPlayId = 1006;
constexpr int kCancelId = 1034;
} // namespace

COpenUrlDlg::COpenUrlDlg(QWidget* parent) : CSkinnedDialog(kBackground, QSize(332, 200), parent) {
    setWindowTitle(QStringLiteral("URL 열기"));
    close_ = AddCloseBox(307, 5);

    play_button_ = new CMinsButton(kPlayId, QStringLiteral("재생"), this);
    play_button_->SetImages(PictureId::OpenUrlPlay, PictureId::OpenUrlPlayHover,
                            PictureId::OpenUrlPlayHover);
    PlaceButton(play_button_, 260, 117, 21, 20);
    connect(play_button_, &QAbstractButton::clicked, this, &COpenUrlDlg::OnPlay);

    cancel_ = new CMinsButton(kCancelId, QStringLiteral("취소"), this);
    cancel_->SetImages(PictureId::DialogCancel, PictureId::DialogCancelHover,
                       PictureId::DialogCancelHover);
    PlaceButton(cancel_, 141, 157, 44, 22);
    connect(cancel_, &QAbstractButton::clicked, this, &QDialog::reject);

    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("address"));
    edit_->setFrame(false);
    edit_->setGeometry(42, 121, 216, 12);
    // Light text on the dark field the background draws there.
    edit_->setStyleSheet(QStringLiteral("QLineEdit { color: rgb(255, 205, 51); "
                                        "background: rgb(39, 39, 39); border: none; "
                                        "padding: 0px; selection-background-color: "
                                        "rgb(120, 96, 24); }"));
    edit_->setText(QStringLiteral("mms://"));
    edit_->setFocus();
}

bool COpenUrlDlg::IsEmptyAddress(const QString& text) {
    return text.isEmpty() || text == QStringLiteral("mms://") || text == QStringLiteral("http://");
}

void COpenUrlDlg::OnPlay() {
    const QString text = edit_->text();
    if (IsEmptyAddress(text)) {
        const QString notice = QStringLiteral("URL 주소를 입력해주세요.");
        if (message_)
            message_(notice);
        else
            QMessageBox::information(this, QStringLiteral("WAVEORBIT"), notice);
        return;
    }
    if (play_)
        play_(text);
    reject();
}
