// On a screen of device pixel ratio 2 (ctest entry ui.hidpi runs this group
// with QT_SCALE_FACTOR=2) every window draws the twice-as-sharp pictures at
// device pixels: what shows is the @2x art itself, not the 1x art doubled.
#include "app/Launcher.h"
#include "dialogs/CAboutDlg.h"
#include "installer/CInstallerDlg.h"
#include "mainwindow/CPlayerDlg.h"
#include "mainwindow/Prompter.h"
#include "skin/CMinsButton.h"
#include "skin/SkinInventory.h"

#include "TestFolders.h"
#include "WidgetInput.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

QImage Rgb(const QImage& image) {
    QImage out = image.convertToFormat(QImage::Format_RGB32);
    out.setDevicePixelRatio(1.0);
    return out;
}

// A widget as the screen shows it, in device pixels.
QImage Shown(QWidget& widget) {
    return Rgb(widget.grab().toImage());
}

QImage Sharp(PictureId id) {
    return Rgb(QImage(SkinPath2x(id)));
}

// The 1x picture blown up to device pixels, as a window that ignores the
// @2x pictures would show it.
QImage Doubled(PictureId id) {
    const QImage plain = Rgb(QImage(SkinPath(id)));
    return plain.scaled(plain.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

class HiDpi : public ::testing::Test {
protected:
    void SetUp() override {
        if (qApp->devicePixelRatio() < 2.0)
            GTEST_SKIP() << "runs at QT_SCALE_FACTOR=2 (ctest -R ui.hidpi)";
    }
};

TEST_F(HiDpi, MainWindowCaptionEmblemIsTheSharpArt) {
    ScopedXdgHome home;
    CPlayerDlg window;
    window.Prompts().SetMessageHandler([](const QString&) {});
    window.OnInitDialog();
    window.show();
    Settle();
    ASSERT_EQ(window.devicePixelRatioF(), 2.0);

    const QImage shown = Shown(window);
    ASSERT_EQ(shown.size(), QSize(836 * 2, 354 * 2));
    // The emblem and the name: the caption's left piece up to where its
    // text line starts.
    const QRect emblem(0, 0, 90 * 2, 29 * 2);
    const QImage sharp = Sharp(PictureId::CaptionLeft).copy(emblem);
    EXPECT_EQ(shown.copy(emblem), sharp);
    EXPECT_NE(shown.copy(emblem), Doubled(PictureId::CaptionLeft).copy(emblem));

    // The bottom bar's left piece and a hover button on it, the same way.
    const QRect bottom(0, (354 - 34) * 2, 7 * 2, 34 * 2);
    EXPECT_EQ(shown.copy(bottom), Sharp(PictureId::BottomLeft).copy(0, 0, 14, 68));
    const QImage play = Shown(*window.Button(ControlId::Play));
    EXPECT_EQ(play, Sharp(PictureId::Play));
    EXPECT_NE(play, Doubled(PictureId::Play));
}

TEST_F(HiDpi, SkinnedDialogAndButtonsAreTheSharpArt) {
    ScopedXdgHome home;
    CAboutDlg about;
    about.show();
    Settle();
    EXPECT_EQ(about.size(), QSize(380, 200)); // logical size unchanged
    const QImage shown = Shown(about);
    ASSERT_EQ(shown.size(), QSize(760, 400));
    // Between the close box and the OK button the dialog is its background.
    const QRect top(0, 25 * 2, 380 * 2, 125 * 2);
    EXPECT_EQ(shown.copy(top), Sharp(PictureId::AboutBackground).copy(top));
    EXPECT_NE(shown.copy(top), Doubled(PictureId::AboutBackground).copy(top));

    CMinsButton button(1, QStringLiteral("확인"));
    button.SetImages(PictureId::DialogOk, PictureId::DialogOkHover, PictureId::DialogOkHover);
    button.resize(44, 22);
    EXPECT_EQ(Shown(button), Sharp(PictureId::DialogOk));
}

TEST_F(HiDpi, InstallerBackgroundIsTheSharpArt) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    CInstallerDlg dialog(folder.path(), QStringLiteral("http://127.0.0.1:1"),
                         QStringLiteral("false"));
    dialog.show();
    Settle();
    const QImage shown = Shown(dialog);
    ASSERT_EQ(shown.size(), QSize(585 * 2, 358 * 2));
    // The header above the terms box, where no control of the wizard sits.
    const QRect header(0, 30 * 2, 585 * 2, 80 * 2);
    EXPECT_EQ(shown.copy(header), Sharp(PictureId::InstallerBackground).copy(header));
    EXPECT_NE(shown.copy(header), Doubled(PictureId::InstallerBackground).copy(header));
}

} // namespace
