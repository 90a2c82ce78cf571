// The main window's geometry: the layout pass applied to the controls, size
// changes, the list panel and full screen.
#include "mainwindow/CPlayerDlg.h"

#include "catalogue/CChannelListView.h"

#include "mainwindow/WindowGeometry.h"
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
    for (std::size_t i = 0; i < kControlCount; ++i)
        if (CMinsButton* button = window.Button(ControlAtIndex(i)))
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
    in.savedWindow = geometry_->ReadSavedWindow();
    layout_ = ComputeLayout(in);

    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlId id = ControlAtIndex(i);
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
    } else if (!strips_->DrawsVideo()) {
        player_->setGeometry(layout_.videoArea.ToRect());
    }
    RebuildAllStrips();
    update();
}

void CPlayerDlg::ShowRefusal(const QString& text) {
    QMessageBox::information(this, QStringLiteral("WAVEORBIT"), text);
}

void CPlayerDlg::ToggleListPanel() {
    if (!geometry_->MayToggleListPanel()) {
        ShowRefusal(QStringLiteral("최대 화면에서는 크기를 조절 할 수 없습니다."));
        return;
    }
    const QRect target = geometry_->ToggleListPanel(geometry());
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
    if (!session_->IsListPanelOpen())
        setMinimumSize(MinimumSize());
    setGeometry(target);
    if (session_->IsListPanelOpen())
        SelectMainTab(session_->MainTab());
}

void CPlayerDlg::ToggleFullScreen() {
    if (!session_->IsFullScreen()) {
        geometry_->EnterFullScreen(frameGeometry());
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
    geometry_->LeaveFullScreen();
    RunLayoutPass();
    showNormal();
    setGeometry(geometry_->TakeFullScreenReturn());
    ShowAfterFullScreen();
}

void CPlayerDlg::ShowAfterFullScreen() {
    for (ControlId id : {ControlId::Hide, ControlId::MaximiseToggle, ControlId::Minimise,
                         ControlId::Close, ControlId::FullScreen, ControlId::ListToggle})
        Button(id)->show();
    // The list and the tabs only where the panel is open.
    if (session_->IsListPanelOpen() && session_->MainTab() == MainTab::Channels)
        listView_->show();
    for (ControlId id : {ControlId::Play, ControlId::Stop, ControlId::ListToggleBottom,
                         ControlId::Settings, ControlId::Mute})
        Button(id)->show();
    if (!session_->IsListPanelOpen())
        return;
    Button(ControlId::TabChannels)->show();
    if (session_->MainTab() == MainTab::Channels)
        for (ControlId id : kCategoryTabButtons)
            Button(id)->show();
    Button(ControlId::TabMusic)->show();
    if (session_->MainTab() == MainTab::Music)
        for (ControlId id : kMusicSubTabButtons)
            Button(id)->show();
    Button(ControlId::TabMovie)->show();
    if (session_->MainTab() == MainTab::Movie)
        for (ControlId id : kMovieSubTabButtons)
            Button(id)->show();
    Button(ControlId::TabHome)->show();
}

void CPlayerDlg::ToggleMaximise() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen && !session_->IsMaximised())
        return;
    const QRect workArea = screen ? screen->availableGeometry() : QRect();
    if (const std::optional<QRect> target = geometry_->ToggleMaximise(geometry(), workArea))
        setGeometry(*target);
}
