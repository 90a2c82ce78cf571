#include "program/DialogScreenshot.h"

#include "dialogs/CAboutDlg.h"
#include "dialogs/COpenUrlDlg.h"
#include "dialogs/CSettingsDlg.h"
#include "mainwindow/CPlayerDlg.h"
#include "mainwindow/MainMenu.h"

#include <QEventLoop>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QTimer>

#include <memory>
#include <vector>

namespace {

// Lets the window system map and paint what was just shown.
void Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool SaveShown(QWidget& widget, const QString& path) {
    widget.show();
    widget.raise();
    Wait(400);
    const bool saved = widget.grab().save(path, "PNG");
    widget.hide();
    return saved;
}

// The main menu with both its submenus opened beside it, as one picture.
bool SaveMenu(CPlayerDlg& window, const QString& path) {
    std::unique_ptr<QMenu> menu(CreateMainMenu(nullptr, MainMenuChecksOf(window.Commands())));
    menu->popup(window.mapToGlobal(QPoint(40, 40)));
    Wait(300);
    const QPixmap main = menu->grab();
    struct Piece {
        QPixmap picture;
        int top;
    };
    std::vector<Piece> subs;
    for (QAction* action : menu->actions()) {
        if (QMenu* sub = action->menu()) {
            sub->popup(menu->mapToGlobal(menu->actionGeometry(action).topRight()));
            Wait(300);
            subs.push_back({sub->grab(), menu->actionGeometry(action).top()});
            sub->hide();
        }
    }
    menu->hide();
    const qreal ratio = main.devicePixelRatio();
    int width = main.width();
    int height = main.height();
    int subWidth = 0;
    for (const Piece& p : subs) {
        subWidth += p.picture.width();
        height = std::max(height, static_cast<int>(p.top * ratio) + p.picture.height());
    }
    width += subWidth;
    QImage sheet(width, height, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::transparent);
    QPainter painter(&sheet);
    painter.drawPixmap(0, 0, main);
    // The submenus side by side, each at the height of its item.
    int left = main.width() - 2;
    for (const Piece& p : subs) {
        painter.drawPixmap(left, static_cast<int>(p.top * ratio), p.picture);
        left += p.picture.width() - 2;
    }
    painter.end();
    return sheet.save(path, "PNG");
}

} // namespace

bool SaveDialogScreenshot(CPlayerDlg& window, const QString& which, const QString& path) {
    const QString name = which.section(QLatin1Char(':'), 0, 0);
    if (name == QStringLiteral("settings")) {
        CSettingsDlg dialog(&window.Session(), &window);
        const int page = which.section(QLatin1Char(':'), 1, 1).toInt();
        dialog.SelectPage(page > 1 ? page : 1);
        return SaveShown(dialog, path);
    }
    if (name == QStringLiteral("openurl")) {
        COpenUrlDlg dialog(&window);
        return SaveShown(dialog, path);
    }
    if (name == QStringLiteral("about")) {
        CAboutDlg dialog(&window);
        return SaveShown(dialog, path);
    }
    if (name == QStringLiteral("menu"))
        return SaveMenu(window, path);
    return false;
}
