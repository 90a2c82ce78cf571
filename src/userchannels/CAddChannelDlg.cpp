#include "userchannels/CAddChannelDlg.h"

#include "app/Endpoints.h"
#include "catalogue/CUserChannelFile.h"
#include "catalogue/ChannelListModel.h"
#include "skin/CMinsButton.h"

#include <QLineEdit>
#include <QMessageBox>

namespace {

constexpr PictureId kBackground = PictureId::AddChannelBackground;

// An edit's text as one line: a pasted line break would start a new record.
QString OneLine(QString text) {
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

// The refusal of "#", naming the fields that hold it as the dialog labels
// them ("채널 이름", "채널 정보", "채널 주소").
QString SeparatorMessage(const QStringList& fields) {
    return fields.join(QStringLiteral(", ")) + QStringLiteral("에는 # 문자를 사용할 수 없습니다.");
}

} // namespace

CAddChannelDlg::CAddChannelDlg(ChannelListModel* list, QString folder, QWidget* parent)
    : CSkinnedDialog(kBackground, QSize(400, 300), parent), list_(list),
      folder_(std::move(folder)) {
    setObjectName(QStringLiteral("CAddChannelDlg"));
    setAccessibleName(QStringLiteral("마이채널 추가"));

    // Tab order: close box, OK, Cancel, then the three edits.
    close_ = AddCloseBox(375, 5);
    ok_ = new CMinsButton(1031, QStringLiteral("확인"), this);
    ok_->SetImages(PictureId::DialogOk, PictureId::DialogOkHover, PictureId::DialogOkHover);
    PlaceButton(ok_, 143, 253, 44, 22);
    connect(ok_, &QAbstractButton::clicked, this, &CAddChannelDlg::Confirm);
    cancel_ = new CMinsButton(1034, QStringLiteral("취소"), this);
    cancel_->SetImages(PictureId::DialogCancel, PictureId::DialogCancelHover,
                       PictureId::DialogCancelHover);
    PlaceButton(cancel_, 190, 253, 44, 22);
    connect(cancel_, &QAbstractButton::clicked, this, &QDialog::reject);

    // The edits lie on the dark bars of the background, under their labels.
    name_ = MakeEdit("edit1058", QStringLiteral("채널 이름"), 109);
    info_ = MakeEdit("edit1059", QStringLiteral("채널 정보"), 167);
    address_ = MakeEdit("edit1035", QStringLiteral("채널 주소"), 224);
    name_->setFocus();
}

QLineEdit* CAddChannelDlg::MakeEdit(const char* name, const QString& role, int top) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setAccessibleName(role);
    edit->setFrame(false);
    edit->setGeometry(38, top, 326, 12);
    edit->setStyleSheet(QStringLiteral("QLineEdit { color: rgb(255,205,51);"
                                       " background: rgb(51,51,51); border: none; padding: 0; }"));
    return edit;
}

QString CAddChannelDlg::WriteFailedMessage() {
    return QStringLiteral("마이채널을 저장하지 못했습니다.");
}

ChannelRecord CAddChannelDlg::RecordFromEdits() const {
    ChannelRecord record;
    record.fields = {QStringLiteral("일반등록"),  OneLine(name_->text()),    OneLine(info_->text()),
                     QStringLiteral("연결대기"),  OneLine(address_->text()), QStringLiteral("N"),
                     Endpoints::HomePageAddress()};
    // Each field holds what a cell can: 259 bytes, never half a character.
    return CUserChannelFile::CutFields(record);
}

void CAddChannelDlg::Confirm() {
    const ChannelRecord record = RecordFromEdits();
    // "#" separates the fields of a line; stored inside one it would shift
    // the rest of the record. The user is told which fields to fix, the
    // first of them takes the focus, and the dialog stays open.
    const std::pair<ChannelRecord::Field, QLineEdit*> edits[] = {
        {ChannelRecord::Name, name_}, {ChannelRecord::Info, info_}, {ChannelRecord::Url, address_}};
    QStringList withSeparator;
    for (const auto& [field, edit] : edits) {
        if (!record.fields[field].contains(QLatin1Char('#')))
            continue;
        if (withSeparator.isEmpty())
            edit->setFocus();
        withSeparator << edit->accessibleName();
    }
    if (!withSeparator.isEmpty()) {
        Tell(SeparatorMessage(withSeparator));
        return;
    }
    // The file first: a row on screen that was never stored would vanish on
    // the next opening of the tab.
    if (!CUserChannelFile(folder_).Append(record)) {
        Tell(WriteFailedMessage());
        return;
    }
    if (list_)
        list_->InsertAtTop(record);
    confirmed_ = true;
    reject(); // every end of a skinned dialog is the cancel result
}

void CAddChannelDlg::Tell(const QString& text) {
    if (messageHandler_) {
        messageHandler_(text);
        return;
    }
    QMessageBox::information(this, QStringLiteral("WAVEORBIT"), text);
}
