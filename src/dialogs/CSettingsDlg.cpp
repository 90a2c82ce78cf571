#include "dialogs/CSettingsDlg.h"

#include "app/PlayerSession.h"
#include "app/SettingsTable.h"
#include "catalogue/RegionChoice.h"
#include "dialogs/CSourcesDlg.h"
#include "skin/CMinsButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr PictureId kBackground = PictureId::SettingsBackground;

using Control = CSettingsDlg::Control;

constexpr int Number(Control id) {
    return static_cast<int>(id);
}

struct CheckBoxEntry {
    Control id;
    int page;
    int row; // 0..3
    const char* caption;
};

// The check boxes with their page, row and caption (the background does not
// carry the captions, so the boxes show them).
const CheckBoxEntry kChecks[] = {
    {Control::StartWithSessionBox, 1, 0, "윈도우 실행시 자동실행"},
    {Control::TrayBox, 1, 1, "트레이 아이콘으로  보기"},
    {Control::MessageBox, 1, 2, "메세지 시스템"},
    {Control::MagnetBox, 1, 3, "창자석효과"},
    {Control::AutoPlayBox, 2, 0, "프로그램 시작시 자동재생"},
    {Control::OnTopBox, 2, 1, "재생시 항상위 상태로 보기"},
    {Control::AutoCloseBox, 2, 2, "채널 선택후 리스트창 자동닫기"},
    {Control::AutoHideBox, 2, 3, "라디오/음악방송 청취시 창 자동숨김"},
    {Control::StartUpdateBox, 3, 0, "프로그램 시작시 업데이트 실행"},
    {Control::ChannelUpdateBox, 3, 1, "채널 자동업데이트"},
};

struct PageEntry {
    Control id;
    PictureId plain;
    PictureId selected;
    int left;
    const char* role;
};

const PageEntry kPages[3] = {
    {Control::PageBasic, PictureId::PageBasic, PictureId::PageBasicCurrent, 12, "기본설정"},
    {Control::PagePlayback, PictureId::PagePlayback, PictureId::PagePlaybackCurrent, 88,
     "재생설정"},
    {Control::PageUpdate, PictureId::PageUpdate, PictureId::PageUpdateCurrent, 164, "업데이트"},
};

// Captions straight on the background picture.
const QColor kCaptionColour(255, 205, 51);

// The region box with its drop-down arrow drawn in the captions' colour.
class RegionCombo : public QComboBox {
public:
    using QComboBox::QComboBox;

protected:
    void paintEvent(QPaintEvent* event) override {
        QComboBox::paintEvent(event);
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kCaptionColour);
        const qreal cx = width() - 8.5;
        const qreal cy = height() / 2.0;
        const QPointF arrow[3] = {{cx - 4, cy - 2}, {cx + 4, cy - 2}, {cx, cy + 2.5}};
        painter.drawPolygon(arrow, 3);
    }
};

bool IsOne(const Settings::Value& value) {
    return Settings::ReadText(value) == QStringLiteral("1");
}

} // namespace

QStringList CSettingsDlg::RegionNames() {
    QStringList names{
        QStringLiteral("서울"), QStringLiteral("부산"), QStringLiteral("대구"),
        QStringLiteral("광주"), QStringLiteral("대전"), QStringLiteral("전주"),
        QStringLiteral("마산"), QStringLiteral("춘천"), QStringLiteral("청주"),
        QStringLiteral("제주"), QStringLiteral("울산"), QStringLiteral("강릉"),
        QStringLiteral("진주"), QStringLiteral("목포"), QStringLiteral("여수"),
        QStringLiteral("안동"), QStringLiteral("원주"), QStringLiteral("충주"),
        QStringLiteral("삼척"), QStringLiteral("포항"),
    };
    // A sorted box: Hangul syllables are in dictionary order in Unicode.
    std::sort(names.begin(), names.end());
    return names;
}

CSettingsDlg::CSettingsDlg(PlayerSession* session, QWidget* parent)
    : CSkinnedDialog(kBackground, QSize(400, 300), parent), session_(session) {
    setWindowTitle(QStringLiteral("환경설정"));
    close_ = AddCloseBox(375, 5);

    for (int i = 0; i < 3; ++i) {
        const PageEntry& entry = kPages[i];
        auto* button = new CMinsButton(Number(entry.id), QString::fromUtf8(entry.role), this);
        button->SetImages(entry.plain, entry.plain, entry.plain);
        PlaceButton(button, entry.left, 33, 75, 30);
        connect(button, &QAbstractButton::clicked, this, [this, i] { SelectPage(i + 1); });
        pages_[i] = button;
    }

    size_t n = 0;
    for (const CheckBoxEntry& entry : kChecks) {
        auto* box = new QCheckBox(QString::fromUtf8(entry.caption), this);
        box->setObjectName(QString::number(Number(entry.id)));
        // Captions in the skin's yellow; the box itself dark with a yellow mark.
        QPalette palette = box->palette();
        palette.setColor(QPalette::WindowText, kCaptionColour);
        palette.setColor(QPalette::Base, QColor(13, 13, 13));
        palette.setColor(QPalette::Text, kCaptionColour);
        box->setPalette(palette);
        box->setGeometry(30, 85 + 25 * entry.row, 340, 13);
        box->setFocusPolicy(Qt::NoFocus);
        checks_[n++] = box;
    }

    note_ = new QLabel(QStringLiteral("지역설정 : 설정된 지역으로 자동연결을 해줍니다."), this);
    QPalette notePalette = note_->palette();
    notePalette.setColor(QPalette::WindowText, kCaptionColour);
    note_->setPalette(notePalette);
    note_->setGeometry(30, 190, 340, 13);

    region_ = new RegionCombo(this);
    region_->setObjectName(QStringLiteral("region"));
    region_->addItems(RegionNames());
    region_->setMaxVisibleItems(10);
    region_->setStyleSheet(QStringLiteral(
        "QComboBox { color: rgb(255, 205, 51); background: rgb(13, 13, 13); "
        "border: 1px solid rgb(72, 72, 72); padding: 0px 4px; }"
        "QComboBox::drop-down { border: none; width: 14px; }"
        "QComboBox::down-arrow { image: none; }"
        "QComboBox QAbstractItemView { color: rgb(255, 205, 51); "
        "background: rgb(13, 13, 13); selection-background-color: rgb(72, 58, 16); }"));
    region_->setGeometry(30, 210, 340, 13);
    region_->setFocusPolicy(Qt::NoFocus);

    // Where the catalogue tabs take their channels from: a dialog of its own.
    sources_ = new QPushButton(QStringLiteral("채널 목록 설정…"), this);
    sources_->setObjectName(QStringLiteral("sources"));
    sources_->setGeometry(30, 210, 160, 22);
    connect(sources_, &QPushButton::clicked, this, [this] {
        CSourcesDlg dialog(SourceSettings(), this);
        if (dialog.exec() == QDialog::Accepted)
            emit sourcesChanged();
    });

    ok_ = new CMinsButton(Number(Control::Ok), QStringLiteral("확인"), this);
    ok_->SetImages(PictureId::DialogOk, PictureId::DialogOkHover, PictureId::DialogOkHover);
    PlaceButton(ok_, 156, 246, 44, 22);
    connect(ok_, &QAbstractButton::clicked, this, &CSettingsDlg::OnOk);

    cancel_ = new CMinsButton(Number(Control::Cancel), QStringLiteral("취소"), this);
    cancel_->SetImages(PictureId::DialogCancel, PictureId::DialogCancelHover,
                       PictureId::DialogCancelHover);
    PlaceButton(cancel_, 205, 246, 44, 22);
    connect(cancel_, &QAbstractButton::clicked, this, &QDialog::reject);

    SelectPage(1);
    ReadOptions();
}

QCheckBox* CSettingsDlg::Check(Control id) const {
    for (size_t i = 0; i < checks_.size(); ++i)
        if (kChecks[i].id == id)
            return checks_[i];
    return nullptr;
}

CMinsButton* CSettingsDlg::Button(Control id) const {
    switch (id) {
    case Control::CloseBox:
        return close_;
    case Control::Ok:
        return ok_;
    case Control::Cancel:
        return cancel_;
    default:
        for (int i = 0; i < 3; ++i)
            if (kPages[i].id == id)
                return pages_[i];
        return nullptr;
    }
}

void CSettingsDlg::SelectPage(int page) {
    if (page < 1 || page > 3)
        return;
    page_ = page;
    for (int i = 0; i < 3; ++i) {
        const PictureId picture = (i + 1 == page) ? kPages[i].selected : kPages[i].plain;
        pages_[i]->SetImages(picture, picture, picture);
        pages_[i]->update();
    }
    // Hidden controls keep their state.
    for (size_t i = 0; i < checks_.size(); ++i)
        checks_[i]->setVisible(kChecks[i].page == page);
    note_->setVisible(page == 1);
    sources_->setVisible(page == 3);
    region_->setVisible(page == 1);
}

void CSettingsDlg::ReadOptions() {
    // A missing entry reads as "0"; any other text means the entry is there.
    Check(Control::StartWithSessionBox)->setChecked(Settings::ReadFlag(Settings::StartWithSession));
    Check(Control::TrayBox)->setChecked(IsOne(Settings::Tray));
    Check(Control::MessageBox)->setChecked(IsOne(Settings::Message));
    Check(Control::MagnetBox)->setChecked(IsOne(Settings::Magnet));
    // A region that is not one of the cities leaves the box without a selection.
    region_->setCurrentIndex(region_->findText(Settings::ReadText(Settings::LocationForDialog),
                                               Qt::MatchExactly | Qt::MatchCaseSensitive));
    regionAtOpen_ = region_->currentIndex();
    Check(Control::AutoPlayBox)->setChecked(IsOne(Settings::AutoPlay));
    Check(Control::OnTopBox)->setChecked(IsOne(Settings::OnTop));
    Check(Control::AutoHideBox)->setChecked(IsOne(Settings::AutoHide));
    Check(Control::AutoCloseBox)->setChecked(IsOne(Settings::AutoClose));
    Check(Control::StartUpdateBox)->setChecked(IsOne(Settings::AutoUpdate));
    Check(Control::ChannelUpdateBox)->setChecked(IsOne(Settings::ChAutoUpdate));
}

void CSettingsDlg::OnOk() {
    auto checked = [this](Control id) { return Check(id)->checkState() == Qt::Checked; };

    const bool start = checked(Control::StartWithSessionBox);
    if (session_)
        session_->SetOn(SessionOption::StartWithSession, start);
    if (start)
        // The entry starts this very program, wherever it lies.
        Settings::WriteText(Settings::StartWithSession, QCoreApplication::applicationFilePath());
    else
        Settings::Delete(Settings::StartWithSession);

    const bool autoPlay = checked(Control::AutoPlayBox);
    if (session_)
        session_->SetOn(SessionOption::AutoPlay, autoPlay);
    Settings::WriteFlag(Settings::AutoPlay, autoPlay);

    Settings::WriteFlag(Settings::ChAutoUpdate, checked(Control::ChannelUpdateBox));
    Settings::WriteFlag(Settings::AutoUpdate, checked(Control::StartUpdateBox));

    const bool autoClose = checked(Control::AutoCloseBox);
    if (session_)
        session_->SetOn(SessionOption::AutoClose, autoClose);
    Settings::WriteFlag(Settings::AutoClose, autoClose);

    const bool autoHide = checked(Control::AutoHideBox);
    if (session_)
        session_->SetOn(SessionOption::AutoHide, autoHide);
    Settings::WriteFlag(Settings::AutoHide, autoHide);

    const bool magnet = checked(Control::MagnetBox);
    if (session_)
        session_->SetOn(SessionOption::Magnet, magnet);
    Settings::WriteFlag(Settings::Magnet, magnet);

    // Stored only: the window stays as it is until the next start.
    Settings::WriteFlag(Settings::OnTop, checked(Control::OnTopBox));
    Settings::WriteFlag(Settings::Message, checked(Control::MessageBox));
    Settings::WriteFlag(Settings::Tray, checked(Control::TrayBox));

    // Only a city the user chose here is stored: a region this box does not
    // list (an SBS region such as 강원) or none at all stays as it was.
    if (const std::optional<QString> region =
            RegionChoice::RegionToStore(regionAtOpen_, region_->currentIndex(),
                                        region_->currentText(), RegionChoice::Untouched::Keeps))
        Settings::WriteText(Settings::LocationForDialog, *region);
    reject();
}
