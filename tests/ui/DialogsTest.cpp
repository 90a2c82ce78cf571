// The settings, open-URL and about dialogs.
#include "app/PlayerSession.h"
#include "app/QtTranslations.h"
#include "app/SettingsTable.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/COpenUrlDlg.h"
#include "dialogs/CSettingsDlg.h"
#include "dialogs/CSourcesPage.h"
#include "mainwindow/CPlayerDlg.h"
#include "mainwindow/Prompter.h"
#include "program/CPlayerApp.h"
#include "skin/CMinsButton.h"

#include "TestFolders.h"
#include "WidgetInput.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace {

// The whole settings folder, file by file: what "nothing written" compares.
std::map<QString, QByteArray> Snapshot(const ScopedXdgHome& home) {
    std::map<QString, QByteArray> files;
    QDir root(home.configHome());
    for (const QString& sub : {QStringLiteral("waveorbit"), QStringLiteral("autostart")})
        for (const QString& name : QDir(root.filePath(sub)).entryList(QDir::Files))
            files[sub + QLatin1Char('/') + name] = ReadBytes(root.filePath(sub + "/" + name));
    return files;
}

// A started main window whose session the settings dialog changes.
struct MainWindowScope {
    std::unique_ptr<CPlayerDlg> window = std::make_unique<CPlayerDlg>();
    MainWindowScope() {
        window->Prompts().SetMessageHandler([](const QString&) {});
        window->OnInitDialog();
    }
};

using SettingsControl = CSettingsDlg::Control;
const SettingsControl kAllBoxes[] = {
    SettingsControl::StartWithSessionBox, SettingsControl::AutoPlayBox,
    SettingsControl::ChannelUpdateBox,    SettingsControl::StartUpdateBox,
    SettingsControl::AutoCloseBox,        SettingsControl::AutoHideBox,
    SettingsControl::MagnetBox,           SettingsControl::OnTopBox,
    SettingsControl::MessageBox,          SettingsControl::TrayBox,
    SettingsControl::HideFailedBox,       SettingsControl::HideGeoBlockedBox};

TEST(SettingsDlg, ControlsPagesAndRegionList) {
    ScopedXdgHome home;
    CSettingsDlg dialog;
    EXPECT_EQ(dialog.size(), QSize(400, 300));
    EXPECT_EQ(dialog.Page(), 1);
    EXPECT_EQ(dialog.Check(SettingsControl::StartWithSessionBox)->geometry(),
              QRect(30, 85, 340, 13));
    EXPECT_EQ(dialog.Check(SettingsControl::OnTopBox)->geometry(), QRect(30, 110, 340, 13));
    EXPECT_EQ(dialog.Check(SettingsControl::AutoHideBox)->geometry(), QRect(30, 160, 340, 13));
    EXPECT_EQ(dialog.Region()->geometry(), QRect(30, 210, 340, 13));
    EXPECT_EQ(dialog.Button(SettingsControl::PageBasic)->geometry(), QRect(12, 33, 75, 30));
    EXPECT_EQ(dialog.Button(SettingsControl::Ok)->geometry(), QRect(156, 246, 44, 22));
    EXPECT_EQ(dialog.Button(SettingsControl::Cancel)->geometry(), QRect(205, 246, 44, 22));
    EXPECT_EQ(dialog.Button(SettingsControl::CloseBox)->geometry(), QRect(375, 5, 15, 15));
    EXPECT_EQ(dialog.Check(SettingsControl::TrayBox)->text(),
              QStringLiteral("트레이 아이콘으로  보기"));
    EXPECT_EQ(dialog.RegionLabel()->text(),
              QStringLiteral("지역설정 : 설정된 지역으로 자동연결을 해줍니다."));
    EXPECT_EQ(dialog.Check(SettingsControl::MagnetBox)->palette().color(QPalette::WindowText),
              QColor(255, 205, 51));

    QStringList shown;
    for (int i = 0; i < dialog.Region()->count(); ++i)
        shown << dialog.Region()->itemText(i);
    EXPECT_EQ(shown.join(QLatin1Char(' ')),
              QStringLiteral("자동 강릉 광주 대구 대전 마산 목포 부산 삼척 서울 안동 여수 울산 "
                             "원주 전주 제주 진주 청주 춘천 충주 포항"));
    // Nothing stored: the box shows what the tabs use.
    EXPECT_EQ(dialog.Region()->currentText(), QStringLiteral("자동"));

    dialog.show();
    Settle();
    // Page 2 shows its four boxes only; page 3 its two; nothing is lost.
    dialog.Check(SettingsControl::MagnetBox)->setChecked(true);
    dialog.Button(SettingsControl::PagePlayback)->click();
    EXPECT_EQ(dialog.Page(), 2);
    for (SettingsControl id : kAllBoxes)
        EXPECT_EQ(dialog.Check(id)->isVisible(),
                  id == SettingsControl::AutoPlayBox || id == SettingsControl::OnTopBox ||
                      id == SettingsControl::AutoCloseBox || id == SettingsControl::AutoHideBox)
            << static_cast<int>(id);
    EXPECT_FALSE(dialog.Region()->isVisible());
    dialog.Button(SettingsControl::PageUpdate)->click();
    EXPECT_TRUE(dialog.Check(SettingsControl::StartUpdateBox)->isVisible());
    EXPECT_TRUE(dialog.Check(SettingsControl::ChannelUpdateBox)->isVisible());
    EXPECT_EQ(dialog.Check(SettingsControl::HideGeoBlockedBox)->geometry(),
              QRect(30, 160, 340, 13));
    EXPECT_TRUE(dialog.Check(SettingsControl::HideGeoBlockedBox)->isVisible());
    EXPECT_FALSE(dialog.Check(SettingsControl::AutoPlayBox)->isVisible());
    EXPECT_FALSE(dialog.Sources()->isVisible());
    // The channel lists: a page of their own, with nothing of the others.
    EXPECT_EQ(dialog.Button(SettingsControl::PageSources)->geometry(), QRect(240, 33, 75, 30));
    dialog.Button(SettingsControl::PageSources)->click();
    EXPECT_EQ(dialog.Page(), 4);
    EXPECT_TRUE(dialog.Sources()->isVisible());
    for (SettingsControl id : kAllBoxes)
        EXPECT_FALSE(dialog.Check(id)->isVisible()) << static_cast<int>(id);
    EXPECT_FALSE(dialog.Region()->isVisible());
    dialog.Button(SettingsControl::PageBasic)->click();
    EXPECT_TRUE(dialog.Region()->isVisible());
    EXPECT_FALSE(dialog.Sources()->isVisible());
    EXPECT_TRUE(dialog.Check(SettingsControl::MagnetBox)->isChecked());
    dialog.hide();
}

// Without a mouse: Tab reaches the page's boxes and Space turns them.
TEST(SettingsDlg, TheBoxesAreReachedAndTurnedByKeys) {
    ScopedXdgHome home;
    CSettingsDlg dialog;
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.SelectPage(3);
    QCheckBox* hide = dialog.Check(SettingsControl::HideFailedBox);
    for (int i = 0; i < 10 && QApplication::focusWidget() != hide; ++i)
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &dialog,
                        Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), hide);
    QTest::keyClick(hide, Qt::Key_Space);
    EXPECT_TRUE(hide->isChecked());
}

TEST(SettingsDlg, OkWithoutChangesRewritesEveryValueAsShown) {
    ScopedXdgHome home;
    Settings::WriteText(Settings::AutoPlay, QStringLiteral("2"));
    Settings::WriteText(Settings::Tray, QString());
    Settings::WriteText(Settings::Magnet, QStringLiteral("1"));
    Settings::WriteText(Settings::AutoHide, QStringLiteral("yes"));
    Settings::WriteText(Settings::ChAutoUpdate, QStringLiteral("1"));
    Settings::WriteText(Settings::HideGeoBlocked, QStringLiteral("1"));
    MainWindowScope main;
    // Start-up reads "2" as on; the dialog, as only "1" is, shows it off.
    ASSERT_TRUE(main.window->Session().IsOn(SessionOption::AutoPlay));

    CSettingsDlg dialog(&main.window->Session(), main.window.get());
    EXPECT_FALSE(dialog.Check(SettingsControl::AutoPlayBox)->isChecked());
    EXPECT_TRUE(dialog.Check(SettingsControl::MagnetBox)->isChecked());
    dialog.OnOk();

    EXPECT_EQ(Settings::ReadText(Settings::AutoPlay), QStringLiteral("0"));
    EXPECT_EQ(Settings::ReadText(Settings::Tray), QStringLiteral("0"));
    EXPECT_EQ(Settings::ReadText(Settings::Magnet), QStringLiteral("1"));
    EXPECT_EQ(Settings::ReadText(Settings::AutoHide), QStringLiteral("0"));
    EXPECT_EQ(Settings::ReadText(Settings::ChAutoUpdate), QStringLiteral("1"));
    for (const Settings::Value* value :
         {&Settings::AutoClose, &Settings::AutoUpdate, &Settings::OnTop, &Settings::Message}) {
        QString text;
        ASSERT_TRUE(SettingsStore().Read(value->root, value->Key(), value->Name(),
                                         QStringLiteral("missing"), &text));
        EXPECT_EQ(text, QStringLiteral("0")) << value->name;
    }
    // The region box was left alone: the region stays unstored.
    EXPECT_EQ(Settings::ReadText(Settings::LocationForCatalogue), QStringLiteral("자동"));
    EXPECT_EQ(Settings::ReadText(Settings::LocationForDialog), QStringLiteral("서울"));
    // The flags that act at once follow.
    EXPECT_FALSE(main.window->Session().IsOn(SessionOption::AutoPlay));
    EXPECT_TRUE(main.window->Session().IsOn(SessionOption::Magnet));
    EXPECT_FALSE(main.window->Session().IsOn(SessionOption::AutoHide));
    EXPECT_TRUE(main.window->Session().IsOn(SessionOption::HideGeoBlocked));
    EXPECT_EQ(Settings::ReadText(Settings::HideGeoBlocked), QStringLiteral("1"));
    EXPECT_EQ(Settings::ReadText(Settings::HideFailed), QStringLiteral("0"));
}

TEST(SettingsDlg, UnknownRegionShowsNoSelectionAndIsKept) {
    ScopedXdgHome home;
    Settings::WriteText(Settings::LocationForDialog, QStringLiteral("강원"));
    CSettingsDlg dialog;
    EXPECT_EQ(dialog.Region()->currentIndex(), -1);
    EXPECT_EQ(dialog.Region()->currentText(), QString());
    dialog.OnOk();
    // 강원 (a region of the SBS list) was not touched: it stays.
    EXPECT_EQ(Settings::ReadText(Settings::LocationForDialog), QStringLiteral("강원"));

    Settings::WriteText(Settings::LocationForDialog, QStringLiteral("포항"));
    CSettingsDlg again;
    EXPECT_EQ(again.Region()->currentText(), QStringLiteral("포항"));
}

TEST(SettingsDlg, OnTopIsOnlyStoredUntilTheNextStart) {
    ScopedXdgHome home;
    MainWindowScope main;
    CSettingsDlg dialog(&main.window->Session(), main.window.get());
    dialog.Check(SettingsControl::OnTopBox)->setChecked(true);
    dialog.OnOk();
    EXPECT_EQ(Settings::ReadText(Settings::OnTop), QStringLiteral("1"));
    EXPECT_FALSE(main.window->Session().IsOn(SessionOption::OnTop));
    EXPECT_FALSE(main.window->windowFlags() & Qt::WindowStaysOnTopHint);
    // The menu command still toggles the old state.
    main.window->Commands().Run(MenuCommand::OnTop);
    EXPECT_TRUE(main.window->Session().IsOn(SessionOption::OnTop));
}

TEST(SettingsDlg, StartWithSessionEntryFollowsTheBox) {
    ScopedXdgHome home;
    const QString entry = home.configHome() + QStringLiteral("/autostart/WAVEORBIT.desktop");
    MainWindowScope main;
    {
        // Unchecked with no entry at all: still fine, still absent.
        CSettingsDlg dialog(&main.window->Session(), main.window.get());
        EXPECT_FALSE(dialog.Check(SettingsControl::StartWithSessionBox)->isChecked());
        dialog.OnOk();
        EXPECT_FALSE(QFile::exists(entry));
        EXPECT_FALSE(main.window->Session().IsOn(SessionOption::StartWithSession));
    }
    {
        CSettingsDlg dialog(&main.window->Session(), main.window.get());
        dialog.Check(SettingsControl::StartWithSessionBox)->setChecked(true);
        dialog.OnOk();
        EXPECT_TRUE(QFile::exists(entry));
        EXPECT_EQ(Settings::ReadText(Settings::StartWithSession),
                  QCoreApplication::applicationFilePath());
        EXPECT_TRUE(main.window->Session().IsOn(SessionOption::StartWithSession));
    }
    {
        CSettingsDlg dialog(&main.window->Session(), main.window.get());
        EXPECT_TRUE(dialog.Check(SettingsControl::StartWithSessionBox)->isChecked());
        dialog.Check(SettingsControl::StartWithSessionBox)->setChecked(false);
        dialog.OnOk();
        EXPECT_FALSE(QFile::exists(entry));
        EXPECT_FALSE(main.window->Session().IsOn(SessionOption::StartWithSession));
    }
}

// Every page's changes are undone, the channel lists' included: the
// settings files stay byte for byte as they were, and no reload is asked for.
TEST(SettingsDlg, CancelAndCloseBoxWriteNothing) {
    ScopedXdgHome home;
    Settings::WriteText(Settings::AutoPlay, QStringLiteral("2"));
    Settings::WriteText(Settings::LocationForDialog, QStringLiteral("강원"));
    Settings::WriteText(Settings::SourceGame, QStringLiteral("directory tag=sport"));
    const auto before = Snapshot(home);
    for (SettingsControl button : {SettingsControl::Cancel, SettingsControl::CloseBox}) {
        CSettingsDlg dialog;
        dialog.show();
        Settle();
        dialog.Button(SettingsControl::PagePlayback)->click();
        dialog.Check(SettingsControl::AutoPlayBox)->setChecked(true);
        dialog.Button(SettingsControl::PageUpdate)->click();
        dialog.Check(SettingsControl::ChannelUpdateBox)->setChecked(true);
        dialog.Button(SettingsControl::PageBasic)->click();
        dialog.Check(SettingsControl::StartWithSessionBox)->setChecked(true);
        dialog.Region()->setFocus();
        PressKey(dialog.Region(), Qt::Key_Down);
        dialog.Button(SettingsControl::PageSources)->click();
        CSourcesPage* page = dialog.Sources();
        page->KindBox()->setCurrentIndex(1);
        page->AddressEdit()->setText(QStringLiteral("http://127.0.0.1:1/kr.m3u"));
        page->ShowTab(Category::Game);
        page->DefaultsButton()->click();
        page->DirectoryServerEdit()->setText(QStringLiteral("http://127.0.0.1:2"));
        bool reload = false;
        QObject::connect(&dialog, &CSettingsDlg::sourcesChanged, [&] { reload = true; });
        dialog.Button(button)->click();
        Settle();
        EXPECT_FALSE(dialog.isVisible()) << static_cast<int>(button);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_FALSE(reload);
    }
    EXPECT_EQ(Snapshot(home), before);
}

TEST(OpenUrlDlg, RefusesTheBareSchemesAndPlaysAnythingElseAsTyped) {
    ScopedXdgHome home;
    COpenUrlDlg dialog;
    EXPECT_EQ(dialog.size(), QSize(332, 200));
    EXPECT_EQ(dialog.AddressEdit()->text(), QStringLiteral("mms://"));
    EXPECT_EQ(dialog.AddressEdit()->geometry(), QRect(42, 121, 216, 12));
    QStringList played;
    QStringList messages;
    dialog.SetPlayer([&played](const QString& address) { played << address; });
    dialog.SetMessageHandler([&messages](const QString& text) { messages << text; });
    dialog.show();
    Settle();

    for (const QString& refused :
         {QStringLiteral("mms://"), QStringLiteral("http://"), QString()}) {
        dialog.AddressEdit()->setText(refused);
        dialog.PlayButton()->click();
        Settle();
        EXPECT_TRUE(dialog.isVisible()) << refused.toStdString();
    }
    EXPECT_EQ(messages, QStringList(3, QStringLiteral("URL 주소를 입력해주세요.")));
    EXPECT_TRUE(played.isEmpty());

    // A leading blank stays part of the address.
    dialog.AddressEdit()->setText(QStringLiteral(" mms://"));
    dialog.PlayButton()->click();
    Settle();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(played, QStringList{QStringLiteral(" mms://")});

    EXPECT_FALSE(COpenUrlDlg::IsEmptyAddress(QStringLiteral("mms:/")));
    EXPECT_FALSE(COpenUrlDlg::IsEmptyAddress(QStringLiteral("HTTP://")));
    EXPECT_FALSE(COpenUrlDlg::IsEmptyAddress(QStringLiteral("rtsp://")));
    EXPECT_FALSE(COpenUrlDlg::IsEmptyAddress(QStringLiteral("radio.mp3")));
}

TEST(OpenUrlDlg, CancelAndCloseBoxPlayNothing) {
    for (int which = 0; which < 2; ++which) {
        COpenUrlDlg dialog;
        bool played = false;
        dialog.SetPlayer([&played](const QString&) { played = true; });
        dialog.AddressEdit()->setText(QStringLiteral("http://127.0.0.1/live"));
        dialog.show();
        Settle();
        (which == 0 ? dialog.CancelButton() : dialog.CloseBox())->click();
        Settle();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_FALSE(played);
    }
}

TEST(Dialogs, EnterAndEscLeaveEveryDialogOpen) {
    ScopedXdgHome home;
    CSettingsDlg settings;
    COpenUrlDlg openUrl;
    bool played = false;
    openUrl.SetPlayer([&played](const QString&) { played = true; });
    openUrl.AddressEdit()->setText(QStringLiteral("http://127.0.0.1/a"));
    CAboutDlg about;
    for (QDialog* dialog : {static_cast<QDialog*>(&settings), static_cast<QDialog*>(&openUrl),
                            static_cast<QDialog*>(&about)}) {
        dialog->show();
        Settle();
        QWidget* target = dialog->focusWidget() ? dialog->focusWidget() : dialog;
        for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            PressKey(target, key);
            PressKey(dialog, key);
        }
        Settle();
        EXPECT_TRUE(dialog->isVisible()) << dialog->metaObject()->className();
        dialog->hide();
    }
    EXPECT_FALSE(played);
}

// Qt's own words in the program's language: a message box's standard
// buttons read Korean once the translations are installed.
TEST(QtTranslations, StandardButtonsReadKorean) {
    ASSERT_TRUE(QtTranslations::InstallKorean())
        << "Qt's Korean translations are missing (package qt6-translations-l10n)";
    QMessageBox box(QMessageBox::Question, QStringLiteral("WAVEORBIT"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    for (auto button : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}) {
        const QString text = box.button(button)->text();
        bool hangul = false;
        for (QChar c : text)
            hangul = hangul || (c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3);
        EXPECT_TRUE(hangul) << text.toStdString();
    }
    // The other suites keep Qt's own words.
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

TEST(AboutDlg, OkAndCloseBoxEndIt) {
    CAboutDlg about;
    EXPECT_EQ(about.size(), QSize(380, 200));
    EXPECT_EQ(about.OkButton()->geometry(), QRect(168, 157, 44, 22));
    EXPECT_EQ(about.CloseBox()->geometry(), QRect(355, 5, 15, 15));
    for (CMinsButton* button : {about.OkButton(), about.CloseBox()}) {
        about.show();
        Settle();
        button->click();
        Settle();
        EXPECT_FALSE(about.isVisible());
        EXPECT_EQ(about.result(), QDialog::Rejected);
    }
}

} // namespace
