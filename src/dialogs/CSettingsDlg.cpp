#include "dialogs/CSettingsDlg.h"

#include "app/PlayerSession.h"
#include "app/SettingsTable.h"
#include "catalogue/RegionChoice.h"
#include "dialogs/CSourcesPage.h"
#include "dialogs/SkinnedControls.h"
#include "skin/CMinsButton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMessageBox>
#include <QPalette>
#include <QShortcut>

#include <tuple>

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
    {Control::HideFailedBox, 3, 2, "연결되지 않은 채널 숨기기"},
    {Control::HideGeoBlockedBox, 3, 3, "지역제한 채널 숨기기"},
};

struct PageEntry {
    Control id;
    PictureId plain;
    PictureId selected;
    int left;
    const char* role;
};

const PageEntry kPages[CSettingsDlg::kPageCount] = {
    {Control::PageBasic, PictureId::PageBasic, PictureId::PageBasicCurrent, 12, "기본설정"},
    {Control::PagePlayback, PictureId::PagePlayback, PictureId::PagePlaybackCurrent, 88,
     "재생설정"},
    {Control::PageUpdate, PictureId::PageUpdate, PictureId::PageUpdateCurrent, 164, "업데이트"},
    {Control::PageSources, PictureId::PageSources, PictureId::PageSourcesCurrent, 240, "채널 목록"},
};

constexpr int kSourcesPage = 4;
// The page's own area of the background, inside its frame.
const QRect kPageArea(10, 64, 380, 172);

const QColor kCaptionColour = SkinnedControls::kCaption;

bool IsOne(const Settings::Value& value) {
    return Settings::ReadText(value) == QStringLiteral("1");
}

} // namespace

CSettingsDlg::CSettingsDlg(PlayerSession* session, QWidget* parent)
    : CSkinnedDialog(kBackground, QSize(400, 300), parent), session_(session) {
    setWindowTitle(QStringLiteral("환경설정"));
    close_ = AddCloseBox(375, 5);

    for (int i = 0; i < kPageCount; ++i) {
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
        // Reached by Tab (and turned by Space) for those who use no mouse; a
        // click leaves the focus where it was.
        box->setFocusPolicy(Qt::TabFocus);
        checks_[n++] = box;
    }

    note_ = new QLabel(QStringLiteral("지역설정 : 설정된 지역으로 자동연결을 해줍니다."), this);
    QPalette notePalette = note_->palette();
    notePalette.setColor(QPalette::WindowText, kCaptionColour);
    note_->setPalette(notePalette);
    note_->setGeometry(30, 190, 340, 13);

    region_ = new CSkinComboBox(this);
    region_->setObjectName(QStringLiteral("region"));
    region_->setAccessibleName(QStringLiteral("지역설정"));
    region_->addItems(RegionChoice::SettingsPlaces());
    region_->setMaxVisibleItems(10);
    region_->setGeometry(30, 210, 340, 13);
    region_->setFocusPolicy(Qt::StrongFocus);
    // A place picked from the list, by the mouse or the keys, is stored by
    // OK even when the box showed it already.
    connect(region_, &QComboBox::activated, this, [this] { regionChosen_ = true; });

    // Where the catalogue tabs take their channels from: a page of its own.
    sources_ = new CSourcesPage(SourceSettings(), this);
    sources_->setGeometry(kPageArea);

    // The pages by keys, as tabbed windows go through theirs.
    const auto pageKeys = [this](std::initializer_list<QKeySequence> keys, int step) {
        for (const QKeySequence& key : keys) {
            auto* shortcut = new QShortcut(key, this);
            connect(shortcut, &QShortcut::activated, this,
                    [this, step] { SelectPage((page_ - 1 + step + kPageCount) % kPageCount + 1); });
        }
    };
    pageKeys({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)}, 1);
    pageKeys(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
        -1);

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
        for (int i = 0; i < kPageCount; ++i)
            if (kPages[i].id == id)
                return pages_[i];
        return nullptr;
    }
}

void CSettingsDlg::SelectPage(int page) {
    if (page < 1 || page > kPageCount)
        return;
    page_ = page;
    for (int i = 0; i < kPageCount; ++i) {
        const PictureId picture = (i + 1 == page) ? kPages[i].selected : kPages[i].plain;
        pages_[i]->SetImages(picture, picture, picture);
        pages_[i]->update();
    }
    // Hidden controls keep their state.
    for (size_t i = 0; i < checks_.size(); ++i)
        checks_[i]->setVisible(kChecks[i].page == page);
    note_->setVisible(page == 1);
    region_->setVisible(page == 1);
    sources_->setVisible(page == kSourcesPage);
    // The keys go on with the page's first field (a hidden one lost them).
    if (page == 1)
        region_->setFocus(Qt::OtherFocusReason);
    else if (page == kSourcesPage)
        sources_->TabBox()->setFocus(Qt::OtherFocusReason);
}

void CSettingsDlg::ReadOptions() {
    // A missing entry reads as "0"; any other text means the entry is there.
    Check(Control::StartWithSessionBox)->setChecked(Settings::ReadFlag(Settings::StartWithSession));
    Check(Control::TrayBox)->setChecked(IsOne(Settings::Tray));
    Check(Control::MessageBox)->setChecked(IsOne(Settings::Message));
    Check(Control::MagnetBox)->setChecked(IsOne(Settings::Magnet));
    // The region the tabs use: none stored shows "자동", as the tabs read it;
    // a region that is not in the box (an SBS region such as 강원) leaves it
    // without a selection, by the same rule as the region dialog's boxes.
    region_->setCurrentIndex(RegionChoice::PreselectedIndex(
        RegionChoice::SettingsPlaces(), Settings::ReadText(Settings::LocationForCatalogue)));
    Check(Control::AutoPlayBox)->setChecked(IsOne(Settings::AutoPlay));
    Check(Control::OnTopBox)->setChecked(IsOne(Settings::OnTop));
    Check(Control::AutoHideBox)->setChecked(IsOne(Settings::AutoHide));
    Check(Control::HideFailedBox)->setChecked(IsOne(Settings::HideFailed));
    Check(Control::HideGeoBlockedBox)->setChecked(IsOne(Settings::HideGeoBlocked));
    Check(Control::AutoCloseBox)->setChecked(IsOne(Settings::AutoClose));
    Check(Control::StartUpdateBox)->setChecked(IsOne(Settings::AutoUpdate));
    Check(Control::ChannelUpdateBox)->setChecked(IsOne(Settings::ChAutoUpdate));
}

void CSettingsDlg::ShowMessage(const QString& text) {
    if (messageHandler_)
        messageHandler_(text);
    else
        QMessageBox::warning(this, QStringLiteral("채널 목록"), text);
}

void CSettingsDlg::OnOk() {
    // The channel lists first: one that cannot be used is shown, and nothing
    // at all is written, so the user can mend it or cancel.
    const bool sourcesStored = sources_->Changed();
    const bool guidesStored = sources_->GuidesChanged();
    if (const SourcesProblem problem = sources_->Apply(); problem.Any()) {
        SelectPage(kSourcesPage);
        if (problem.tab)
            sources_->ShowTab(*problem.tab);
        ShowMessage(problem.message);
        return;
    }

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

    for (const auto& [box, option, value] :
         {std::tuple{Control::HideFailedBox, SessionOption::HideFailed, &Settings::HideFailed},
          std::tuple{Control::HideGeoBlockedBox, SessionOption::HideGeoBlocked,
                     &Settings::HideGeoBlocked}}) {
        const bool on = checked(box);
        if (session_)
            session_->SetOn(option, on);
        Settings::WriteFlag(*value, on);
    }

    // Stored only: the window stays as it is until the next start.
    Settings::WriteFlag(Settings::OnTop, checked(Control::OnTopBox));
    Settings::WriteFlag(Settings::Message, checked(Control::MessageBox));
    Settings::WriteFlag(Settings::Tray, checked(Control::TrayBox));

    // What the box shows is stored when the user picked it; a box left alone
    // keeps the stored region (none, 강원 or a city).
    if (const std::optional<QString> region = RegionChoice::RegionToStore(
            regionChosen_, region_->currentIndex(), region_->currentText()))
        Settings::WriteText(Settings::LocationForDialog, *region);
    if (sourcesStored)
        emit sourcesChanged();
    if (guidesStored)
        emit guidesChanged();
    reject();
}
