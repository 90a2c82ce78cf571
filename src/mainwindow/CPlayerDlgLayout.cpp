// The main window's geometry: the layout pass applied to the controls, size
// changes, the list panel and full screen.
#include "mainwindow/CPlayerDlg.h"

#include "catalogue/CChannelListView.h"

#include "app/SettingsTable.h"
#include "skin/CMinsButton.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QResizeEvent>
#include <QScreen>
#include <QTableView>

namespace {

// A broadcast in full screen: the list, the browser and every button hide.
void HideControlsInFullScreen(CPlayerDlg& window) {
    window.ListView()->hide();
    for (int id = ControlId::First; id <= ControlId::Last; ++id)
        if (CMinsButton* button = window.Button(id))
            button->hide();
    if (QWidget* browser = window.WebBrowser())
        browser->hide();
}

} // namespace

void CPlayerDlg::RunLayoutPass() {
    LayoutInput in;
    in.clientWidth = width();
    in.clientHeight = height();
    in.listPanelOpen = session_->IsListPanelOpen();
    in.mainTab = session_->MainTab();
    // Read on every pass: it is what leaving full screen comes back to.
    in.savedWindow = QRect(
        Settings::ReadNumber(Settings::MainX), Settings::ReadNumber(Settings::MainY),
        Settings::ReadNumber(Settings::MainWidth), Settings::ReadNumber(Settings::MainHeight));
    layout_ = ComputeLayout(in);
    savedWindow_ = layout_.savedWindow;

    for (int id = ControlId::First; id <= ControlId::Last; ++id) {
        const Placement& placement = layout_.Control(id);
        if (id == ControlId::Player)
            ApplyControl(player_, Placement{placement.moved, placement.box, Visibility::Keep});
        else if (id == ControlId::ChannelList)
            ApplyControl(listView_, placement);
        else
            ApplyControl(Button(id), placement);
    }
    PlaceWebBrowser(); // the browser takes layout_.browser once it exists
}

void CPlayerDlg::ApplyControl(QWidget* widget, const Placement& placement) {
    if (!widget)
        return;
    if (placement.moved) {
        widget->setGeometry(placement.box.ToRect());
        if (auto* button = qobject_cast<CMinsButton*>(widget))
            button->SetButtonRect(placement.box);
    }
    if (placement.visibility == Visibility::Show)
        widget->show();
    else if (placement.visibility == Visibility::Hide)
        widget->hide();
}

void CPlayerDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QSize limit = MinimumSize();
    if (minimumSize() != limit && width() >= limit.width() && height() >= limit.height())
        setMinimumSize(limit);
    RunLayoutPass();
    if (session_->IsFullScreen()) {
        // In full screen the picture covers the whole window. The layout
        // pass shows the controls again: a broadcast keeps them hidden.
        player_->setGeometry(rect());
        player_->raise();
        if (session_->IsPlaying())
            HideControlsInFullScreen(*this);
    } else if (!DrawsVideoStripNow()) {
        player_->setGeometry(layout_.videoArea.ToRect());
    }
    RebuildAllStrips();
    update();
}

void CPlayerDlg::ShowRefusal(const QString& text) {
    QMessageBox::information(this, QStringLiteral("WAVEORBIT"), text);
}

void CPlayerDlg::ToggleListPanel() {
    if (session_->IsMaximised() || session_->IsFullScreen()) {
        ShowRefusal(QStringLiteral("최대 화면에서는 크기를 조절 할 수 없습니다."));
        return;
    }
    session_->SetListPanelOpen(!session_->IsListPanelOpen());
    CMinsButton* toggle = Button(ControlId::ListToggle);
    if (session_->IsListPanelOpen())
        toggle->SetImages(PictureId::ListToggleOpen, PictureId::ListToggleOpenHover,
                          PictureId::ListToggleOpenHover);
    else
        toggle->SetImages(PictureId::ListToggleClosed, PictureId::ListToggleClosedHover,
                          PictureId::ListToggleClosedHover);
    toggle->update();

    // The right edge moves; left and top stay. Closing lowers the limit
    // first so the narrower window is allowed; opening raises it only once
    // the wider size has arrived (see resizeEvent), or the limit itself
    // would widen the window before the move and the two would add up.
    const QRect g = geometry();
    const int newWidth =
        g.width() + (session_->IsListPanelOpen() ? kListPanelWidth : -kListPanelWidth);
    if (!session_->IsListPanelOpen())
        setMinimumSize(MinimumSize());
    setGeometry(g.left(), g.top(), newWidth, g.height());
    if (session_->IsListPanelOpen())
        SelectMainTab(session_->MainTab());
}

void CPlayerDlg::ToggleFullScreen() {
    if (!session_->IsFullScreen()) {
        const QRect window = frameGeometry();
        Settings::WriteNumber(Settings::MainWidth, window.width());
        Settings::WriteNumber(Settings::MainHeight, window.height());
        Settings::WriteNumber(Settings::MainX, window.left());
        Settings::WriteNumber(Settings::MainY, window.top());
        // Kept here too: a settings folder that cannot be written must not
        // send the window back to some older rectangle.
        fullScreenReturn_ = window;
        session_->SetFullScreen(true);
        // The window system's own full-screen state covers panels and docks.
        showFullScreen();
        player_->setGeometry(rect());
        player_->raise();
        if (session_->IsPlaying())
            HideControlsInFullScreen(*this);
        return;
    }

    // The flag goes first: the size changes that follow must lay the
    // window out normally again, not cover it with the picture.
    session_->SetFullScreen(false);
    RunLayoutPass();
    showNormal();
    setGeometry(fullScreenReturn_.isValid() ? fullScreenReturn_ : savedWindow_);
    fullScreenReturn_ = QRect();
    ShowAfterFullScreen();
}

void CPlayerDlg::ShowAfterFullScreen() {
    for (int id : {ControlId::Hide, ControlId::MaximiseToggle, ControlId::Minimise,
                   ControlId::Close, ControlId::FullScreen, ControlId::ListToggle})
        Button(id)->show();
    // The list and the tabs only where the panel is open.
    if (session_->IsListPanelOpen() && session_->MainTab() == MainTab::Channels)
        listView_->show();
    for (int id : {ControlId::Play, ControlId::Stop, ControlId::ListToggleBottom,
                   ControlId::Settings, ControlId::Mute})
        Button(id)->show();
    if (!session_->IsListPanelOpen())
        return;
    Button(ControlId::TabChannels)->show();
    if (session_->MainTab() == MainTab::Channels)
        for (int id = ControlId::CategoryTv; id <= ControlId::CategoryUser; ++id)
            Button(id)->show();
    Button(ControlId::TabMusic)->show();
    if (session_->MainTab() == MainTab::Music)
        for (int id = ControlId::MusicSubTabFirst; id <= ControlId::MusicSubTabLast; ++id)
            Button(id)->show();
    Button(ControlId::TabMovie)->show();
    if (session_->MainTab() == MainTab::Movie)
        for (int id = ControlId::MovieSubTabFirst; id <= ControlId::MovieSubTabLast; ++id)
            Button(id)->show();
    Button(ControlId::TabHome)->show();
}

void CPlayerDlg::ToggleMaximise() {
    if (session_->IsFullScreen())
        return;
    if (!session_->IsMaximised()) {
        beforeMaximise_ = geometry();
        const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        if (!screen)
            return;
        session_->SetMaximised(true);
        setGeometry(screen->availableGeometry());
    } else {
        session_->SetMaximised(false);
        setGeometry(beforeMaximise_);
    }
}
