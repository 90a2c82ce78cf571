#include "mainwindow/WindowLayout.h"

#include "app/PlayerSession.h"
#include "catalogue/CChannelListView.h"
#include "mainwindow/MainButtons.h"
#include "mainwindow/MainTabs.h"
#include "mainwindow/SkinStrips.h"
#include "mainwindow/WindowControls.h"
#include "mainwindow/WindowGeometry.h"
#include "playback/PlayerWidget.h"
#include "skin/CMinsButton.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

void WindowLayout::Run() {
    LayoutInput in;
    in.clientWidth = window_.width();
    in.clientHeight = window_.height();
    in.listPanelOpen = session_.IsListPanelOpen();
    in.mainTab = session_.MainTab();
    // Read on every pass: it is what leaving full screen comes back to.
    in.savedWindow = geometry_.ReadSavedWindow();
    layout_ = ComputeLayout(in);

    for (std::size_t i = 0; i < kControlCount; ++i) {
        const ControlId id = ControlAtIndex(i);
        const Placement& placement = layout_.Control(id);
        if (id == ControlId::Player)
            Apply(controls_.player, Placement{placement.moved, placement.box, Visibility::Keep});
        else if (id == ControlId::ChannelList)
            Apply(controls_.listView, placement);
        else
            Apply(controls_.Button(id), placement);
    }
    if (tabs_)
        tabs_->PlaceBrowser(); // the browser takes layout_.browser once it exists
}

void WindowLayout::Apply(QWidget* widget, const Placement& placement) {
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

void WindowLayout::OnResized() {
    const QSize limit = MinimumSize();
    if (window_.minimumSize() != limit && window_.width() >= limit.width() &&
        window_.height() >= limit.height())
        window_.setMinimumSize(limit);
    Run();
    if (session_.IsFullScreen()) {
        // In full screen the picture covers the whole window. The layout
        // pass shows the controls again: a broadcast keeps them hidden.
        CoverWithPicture();
    } else if (session_.IsVideoShown()) {
        // No logo over the video area: the picture fills it.
        controls_.player->setGeometry(layout_.videoArea.ToRect());
    }
}

void WindowLayout::CoverWithPicture() {
    controls_.player->setGeometry(window_.rect());
    controls_.player->raise();
    // Maximising to the work area has no meaning over the whole screen: the
    // button goes while there, and comes back with the others on leaving.
    controls_.Button(ControlId::MaximiseToggle)->hide();
    if (!session_.IsPlaying())
        return;
    // A broadcast in full screen: the list, the browser and every button hide.
    controls_.listView->hide();
    for (std::size_t i = 0; i < kControlCount; ++i)
        if (CMinsButton* button = controls_.Button(ControlAtIndex(i)))
            button->hide();
    if (QWidget* browser = tabs_ ? tabs_->Web().Browser() : nullptr)
        browser->hide();
}

void WindowLayout::ShowRefusal(const QString& text) {
    QMessageBox::information(&window_, QStringLiteral("WAVEORBIT"), text);
}

void WindowLayout::ToggleListPanel() {
    if (!geometry_.MayToggleListPanel()) {
        ShowRefusal(QStringLiteral("최대 화면에서는 크기를 조절 할 수 없습니다."));
        return;
    }
    const QRect target = geometry_.ToggleListPanel(window_.geometry());
    const ButtonEntry look = ListToggleLook(session_.IsListPanelOpen());
    controls_.Button(look.id)->SetImages(look.normal, look.pressed, look.hovered);
    controls_.Button(look.id)->setAccessibleName(QString::fromUtf8(look.role));
    controls_.Button(look.id)->update();
    controls_.Button(ControlId::ListToggleBottom)
        ->setAccessibleName(
            QString::fromUtf8(ListPanelButtonNames(session_.IsListPanelOpen()).bottom));

    // The right edge moves; left and top stay. Closing lowers the limit
    // first so the narrower window is allowed; opening raises it only once
    // the wider size has arrived (see OnResized), or the limit itself
    // would widen the window before the move and the two would add up.
    if (!session_.IsListPanelOpen())
        window_.setMinimumSize(MinimumSize());
    window_.setGeometry(target);
    if (session_.IsListPanelOpen())
        tabs_->ShowCurrent();
}

void WindowLayout::ToggleFullScreen() {
    if (!session_.IsFullScreen()) {
        geometry_.EnterFullScreen(window_.frameGeometry());
        // The window system's own full-screen state covers panels and docks.
        window_.showFullScreen();
        CoverWithPicture();
        return;
    }

    // The flag goes first: the size changes that follow must lay the
    // window out normally again, not cover it with the picture.
    geometry_.LeaveFullScreen();
    Run();
    window_.showNormal();
    window_.setGeometry(geometry_.TakeFullScreenReturn());
    ShowAfterFullScreen();
}

void WindowLayout::ShowAfterFullScreen() {
    for (ControlId id : ButtonsAfterFullScreen(session_.IsListPanelOpen(), session_.MainTab()))
        controls_.Button(id)->show();
    // The list only where the panel is open on the channel lists.
    if (session_.IsListPanelOpen() && session_.MainTab() == MainTab::Channels)
        controls_.listView->show();
}

void WindowLayout::ToggleMaximise() {
    const QScreen* screen = window_.screen() ? window_.screen() : QGuiApplication::primaryScreen();
    if (!screen && !session_.IsMaximised())
        return;
    const QRect workArea = screen ? screen->availableGeometry() : QRect();
    if (const std::optional<QRect> target = geometry_.ToggleMaximise(window_.geometry(), workArea))
        window_.setGeometry(*target);
    // The caption button names what a press does now.
    controls_.Button(ControlId::MaximiseToggle)
        ->setAccessibleName(session_.IsMaximised() ? QStringLiteral("이전 크기로")
                                                   : QStringLiteral("최대화"));
}

QSize WindowLayout::MinimumSize() const {
    return MinimumClientSize(session_.IsListPanelOpen());
}
