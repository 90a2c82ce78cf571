#include "installer/CInstallerDlg.h"

#include "installer/CInstallerButton.h"
#include "installer/InstallerFlow.h"
#include "installer/InstallerLayout.h"
#include "installer/InstallerTerms.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QWindow>

namespace {

const QColor kBody(22, 22, 24);         // the picture's body colour
const QColor kWell(13, 13, 15);         // the painted frame's inside, behind the terms
const QColor kText(214, 210, 198);      // light text on the dark body
const QColor kGoldShade(138, 106, 30);  // selection, the checked box
const QColor kControl(48, 48, 53);      // scroll bar handles, the box's face
const QColor kControlLight(72, 72, 80); // their bevels
const QColor kControlDark(10, 10, 11);

QFont DialogFont(bool bold = false) {
    // The dialog's 9-point Korean face; NanumGothic stands in for it here.
    QFont font;
    font.setFamilies(
        {QStringLiteral("NanumGothic"), QStringLiteral("굴림"), QStringLiteral("Gulim")});
    font.setPixelSize(12);
    font.setBold(bold);
    return font;
}

QPalette DarkPalette(QPalette palette) {
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Window, kBody);
        palette.setColor(group, QPalette::WindowText, kText);
        palette.setColor(group, QPalette::Base, kWell);
        palette.setColor(group, QPalette::AlternateBase, kWell);
        palette.setColor(group, QPalette::Text, kText);
        palette.setColor(group, QPalette::Button, kControl);
        palette.setColor(group, QPalette::ButtonText, kText);
        palette.setColor(group, QPalette::Light, kControlLight);
        palette.setColor(group, QPalette::Midlight, kControlLight);
        palette.setColor(group, QPalette::Mid, QColor(34, 34, 38));
        palette.setColor(group, QPalette::Dark, kControlDark);
        palette.setColor(group, QPalette::Shadow, Qt::black);
        palette.setColor(group, QPalette::Highlight, kGoldShade);
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(110, 108, 102));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(110, 108, 102));
    palette.setColor(QPalette::Disabled, QPalette::Base, kWell);
    palette.setColor(QPalette::Disabled, QPalette::Window, kBody);
    palette.setColor(QPalette::Disabled, QPalette::Button, QColor(36, 36, 40));
    return palette;
}

} // namespace

CInstallerDlg::CInstallerDlg(QString folder, QString countBaseAddress, QString opener,
                             QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      folder_(folder.isEmpty() ? QCoreApplication::applicationDirPath() : std::move(folder)),
      flow_(new InstallerFlow(folder_, std::move(countBaseAddress), std::move(opener),
                              SettingsLocations::FromEnvironment(), this)),
      showMessage_(&CInstallerDlg::ShowMessageBox) {
    connect(flow_, &InstallerFlow::setupFailed, this, &CInstallerDlg::OnSetupFailed);
    connect(flow_, &InstallerFlow::installed, this, &CInstallerDlg::OnInstalled);
    OnInitDialog();
}

CInstallerDlg::~CInstallerDlg() = default;

void CInstallerDlg::OnInitDialog() {
    setWindowIcon(QIcon(QStringLiteral(":/icons/128.png")));
    background_ = LoadSkinPixmap(InstallerLayout::kBackgroundId, devicePixelRatioF());
    setWindowTitle(QStringLiteral("Installer System"));
    setModal(true);
    setFont(DialogFont());
    setPalette(DarkPalette(palette()));
    setFixedSize(InstallerLayout::kWindowSize);
    BuildControls();
    CentreOnScreen();
    agree_->setChecked(true);
    terms_->setPlainText(InstallerTerms::Load(folder_));
    terms_->setFocus();
}

void CInstallerDlg::BuildControls() {
    using namespace InstallerLayout;
    terms_ = new QPlainTextEdit(this);
    terms_->setObjectName(QStringLiteral("terms"));
    terms_->setGeometry(kTermsRect);
    terms_->setReadOnly(true);
    // Read-only keeps the keys that scroll (arrows, Page Up/Down) and shows no caret.
    // Lines keep their breaks as the file has them; longer ones scroll sideways.
    terms_->setLineWrapMode(QPlainTextEdit::NoWrap);
    terms_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    terms_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // The frame is painted on the background; the box fills it seamlessly.
    terms_->setFrameShape(QFrame::NoFrame);
    terms_->setContextMenuPolicy(Qt::NoContextMenu);
    terms_->setAccessibleName(QStringLiteral("사용권 계약"));

    agree_ = new QCheckBox(QStringLiteral("위 라이센스에 동의 합니다."), this);
    agree_->setObjectName(QStringLiteral("agree"));
    agree_->setGeometry(kAgreeRect);
    agree_->setFocusPolicy(Qt::StrongFocus);
    // The style outlines the box in a shade of the window colour; on the
    // dark page that outline would vanish.
    QPalette agreePalette = agree_->palette();
    agreePalette.setColor(QPalette::Window, QColor(130, 130, 138));
    agree_->setPalette(agreePalette);

    back_ = new CInstallerButton(Control::Back, QStringLiteral("< 뒤로"), false, this);
    back_->setGeometry(kBackRect);
    next_ = new CInstallerButton(Control::Next, QStringLiteral("다음"), true, this);
    next_->setGeometry(kNextRect);
    cancel_ = new CInstallerButton(Control::Cancel, QStringLiteral("취소"), false, this);
    cancel_->setGeometry(kCancelRect);
    connect(back_, &QAbstractButton::clicked, this, &CInstallerDlg::OnBack);
    connect(next_, &QAbstractButton::clicked, this, &CInstallerDlg::OnNext);
    connect(cancel_, &QAbstractButton::clicked, this, &CInstallerDlg::OnCancel);
    setTabOrder(terms_, agree_);
    setTabOrder(agree_, back_);
    setTabOrder(back_, next_);
    setTabOrder(next_, cancel_);

    // Enter and Esc are taken before any control sees them, so neither
    // presses a button nor ends the wizard.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

void CInstallerDlg::CentreOnScreen() {
    const QScreen* screen = this->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

CInstallerButton* CInstallerDlg::Button(InstallerLayout::Control id) const {
    for (CInstallerButton* button : {back_, next_, cancel_})
        if (button->ControlId() == id)
            return button;
    return nullptr;
}

bool CInstallerDlg::Busy() const {
    return flow_->Busy();
}

void CInstallerDlg::SetCountTimeout(int milliseconds) {
    flow_->SetCountTimeout(milliseconds);
}

void CInstallerDlg::ShowMessageBox(QWidget* owner, QMessageBox::Icon icon, const QString& caption,
                                   const QString& text) {
    QMessageBox box(icon, caption, text, QMessageBox::Ok, owner);
    // The wizard stays above other windows; its message must not hide behind it.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

void CInstallerDlg::Say(QMessageBox::Icon icon, const char* text) {
    if (showMessage_)
        showMessage_(this, icon, QString::fromUtf8(InstallerFlow::kMessageCaption),
                     QString::fromUtf8(text));
}

void CInstallerDlg::OnNext() {
    switch (flow_->Next(agree_->isChecked())) {
    case InstallerFlow::Step::Declined:
        done(QDialog::Rejected);
        return;
    case InstallerFlow::Step::SetupMissing:
        // Nothing was done; the user may put the setup in place and try
        // again, or cancel.
        Say(QMessageBox::Warning, InstallerFlow::kSetupMissingText);
        return;
    case InstallerFlow::Step::Opening:
        SetBusy(true);
        return;
    }
}

void CInstallerDlg::OnSetupFailed() {
    // Nothing was counted or recorded; the wizard stays open for another
    // try or Cancel.
    SetBusy(false);
    Say(QMessageBox::Warning, InstallerFlow::kSetupFailedText);
}

void CInstallerDlg::OnInstalled() {
    SetBusy(false);
    done(QDialog::Rejected);
    Say(QMessageBox::Information, InstallerFlow::kCompletedText);
}

void CInstallerDlg::OnBack() {
    // One page only: there is nothing to go back to.
}

void CInstallerDlg::OnCancel() {
    if (!Busy())
        done(QDialog::Rejected);
}

void CInstallerDlg::SetBusy(bool busy) {
    // While the opener or the count is under way the window keeps painting,
    // but nothing can start the sequence again or end it half-way.
    for (QWidget* control : {static_cast<QWidget*>(agree_), static_cast<QWidget*>(back_),
                             static_cast<QWidget*>(next_), static_cast<QWidget*>(cancel_)})
        control->setEnabled(!busy);
    if (busy)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void CInstallerDlg::paintEvent(QPaintEvent*) {
    // Moved to a screen of another scale: the picture drawn for it.
    if (!background_.isNull() &&
        UsesSharpPictures(devicePixelRatioF()) != UsesSharpPictures(background_.devicePixelRatio()))
        background_ = LoadSkinPixmap(InstallerLayout::kBackgroundId, devicePixelRatioF());
    QPainter p(this);
    if (background_.isNull())
        p.fillRect(rect(), kBody);
    else
        p.drawPixmap(QPoint(0, 0), background_);
    if (!painted_) {
        painted_ = true;
        emit firstPainted();
    }
}

void CInstallerDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    event->accept();
    switch (InstallerLayout::HitTest(event->position().toPoint())) {
    case InstallerLayout::Press::Close:
        OnCancel();
        return;
    case InstallerLayout::Press::Minimise:
        showMinimized();
        return;
    case InstallerLayout::Press::Move:
        break;
    }
    // The window system runs the move where it can; without a window
    // manager it cannot, and the window follows the pointer by hand.
    QWindow* window = windowHandle();
    if (window && window->startSystemMove())
        return;
    movingByHand_ = true;
    grabOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void CInstallerDlg::mouseMoveEvent(QMouseEvent* event) {
    if (movingByHand_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - grabOffset_);
        event->accept();
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void CInstallerDlg::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        movingByHand_ = false;
    QDialog::mouseReleaseEvent(event);
}

void CInstallerDlg::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool CInstallerDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            event->accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CInstallerDlg::closeEvent(QCloseEvent* event) {
    // A close from the window system (or the keyboard) is Cancel, which
    // waits while the opener or the count is running.
    if (Busy()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
