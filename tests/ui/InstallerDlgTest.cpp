// The installer's window on the offscreen platform: its look, its keys and
// its mouse, and what Next does — with the message boxes recorded instead
// of shown, so no test waits for a click.
#include "EventLoopWait.h"
#include "TestFolders.h"
#include "WidgetInput.h"
#include "app/Endpoints.h"
#include "app/SettingsTable.h"
#include "demo/DemoService.h"
#include "demo/LoopbackHttpServer.h"
#include "installer/CInstallerButton.h"
#include "installer/CInstallerDlg.h"
#include "installer/InstallerLayout.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

const QString kCountTarget = QString::fromLatin1(Endpoints::kCountPath);

struct Message {
    QMessageBox::Icon icon;
    QString caption;
    QString text;
    bool ownerVisible;
};

void Mouse(QWidget* to, QEvent::Type type, QPoint local, Qt::MouseButtons buttons) {
    const QPointF global = to->mapToGlobal(QPointF(local));
    QMouseEvent event(type, QPointF(local), global, Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(to, &event);
}

void Click(QWidget* to, QPoint local) {
    Mouse(to, QEvent::MouseButtonPress, local, Qt::LeftButton);
    Mouse(to, QEvent::MouseButtonRelease, local, Qt::NoButton);
}

void ClickButton(CInstallerButton* button) {
    Click(button, button->rect().center());
}

QString ClosedPortAddress() {
    QTcpServer probe;
    EXPECT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("http://127.0.0.1:%1").arg(port);
}

QStringList Lines(const QPlainTextEdit* edit) {
    QStringList lines;
    for (QTextBlock b = edit->document()->begin(); b.isValid(); b = b.next())
        lines << b.text();
    return lines;
}

class InstallerDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(tools.isValid());
        server.SetRoute(kCountTarget, demo::HttpResponse::Ok("1\r\n"));
        ASSERT_TRUE(server.Listen());
    }

    void PlaceSetup() {
        WriteBytes(QDir(folder.path()).filePath(QStringLiteral("QDXInst_HLM0030001.exe")),
                   "MZ setup");
    }
    void PlaceTerms(const QByteArray& bytes) {
        WriteBytes(QDir(folder.path()).filePath(QStringLiteral("nimbuskit.txt")), bytes);
    }

    // The wizard with a stand-in for the desktop's opener that exits with
    // openerStatus (xdg-open's 3: no handler for the file).
    std::unique_ptr<CInstallerDlg> Open(const QString& countBase, int openerStatus = 0) {
        auto dialog = std::make_unique<CInstallerDlg>(
            folder.path(), countBase, WriteOpenerStandIn(tools.path(), openerStatus));
        dialog->SetShowMessage([this](QWidget* owner, QMessageBox::Icon icon,
                                      const QString& caption, const QString& text) {
            messages.push_back({icon, caption, text, owner && owner->isVisible()});
        });
        dialog->SetCountTimeout(1000);
        dialog->show();
        Settle();
        return dialog;
    }

    QString Recorded() const {
        QString text;
        SettingsStore().Read(SettingsRoot::MachineWide, QString::fromUtf8(Settings::kKeyUpdate),
                             QStringLiteral("vernimbuskit"), QStringLiteral("<none>"), &text);
        return text;
    }

    QStringList Opened() const { return OpenedByStandIn(tools.path()); }

    ScopedXdgHome home;
    QTemporaryDir folder;
    QTemporaryDir tools; // the opener stand-ins and what they were asked
    demo::LoopbackHttpServer server;
    std::vector<Message> messages;
};

} // namespace

TEST_F(InstallerDlgTest, OpensAsThePaintedPageWithTheTermsAndTheBoxChecked) {
    PlaceTerms(QStringLiteral("제1조 (목적)\n개인정보 검사\n").toUtf8());
    auto dialog = Open(server.BaseUrl());
    EXPECT_EQ(dialog->size(), QSize(585, 358));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Installer System"));
    EXPECT_TRUE(dialog->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
    ASSERT_FALSE(dialog->Background().isNull());
    EXPECT_EQ(dialog->Background().size() / dialog->Background().devicePixelRatio(),
              QSize(585, 358));

    EXPECT_TRUE(dialog->Agree()->isChecked());
    EXPECT_EQ(dialog->Agree()->text(), QStringLiteral("위 라이센스에 동의 합니다."));
    EXPECT_EQ(dialog->Agree()->geometry(), InstallerLayout::kAgreeRect);
    EXPECT_EQ(dialog->Terms()->geometry(), InstallerLayout::kTermsRect);
    EXPECT_TRUE(dialog->Terms()->isReadOnly());
    EXPECT_EQ(Lines(dialog->Terms()), (QStringList{QStringLiteral("제1조 (목적)"),
                                                   QStringLiteral("개인정보 검사"), QString()}));
    EXPECT_EQ(dialog->Button(InstallerLayout::Control::Next)->text(), QStringLiteral("다음"));
    EXPECT_EQ(dialog->Button(InstallerLayout::Control::Back)->text(), QStringLiteral("< 뒤로"));
    EXPECT_EQ(dialog->Button(InstallerLayout::Control::Cancel)->text(), QStringLiteral("취소"));

    // The painted page shows, not a blank window: the header's dark band
    // and the well behind the terms differ from each other.
    const QImage shot = dialog->grab().toImage();
    EXPECT_NE(shot.pixelColor(300, 50), shot.pixelColor(300, 200));
}

TEST_F(InstallerDlgTest, CrLfAndLfTermsShowTheSameLinesAndNoFileShowsNone) {
    const QByteArray lf = QStringLiteral("사용권 계약\n\n제1조\n끝").toUtf8();
    QByteArray crlf = lf;
    crlf.replace("\n", "\r\n");
    PlaceTerms(lf);
    const QStringList fromLf = Lines(Open(server.BaseUrl())->Terms());
    PlaceTerms(crlf);
    const QStringList fromCrLf = Lines(Open(server.BaseUrl())->Terms());
    EXPECT_EQ(fromLf.size(), 4);
    EXPECT_EQ(fromLf, fromCrLf);
    for (const QString& line : fromCrLf)
        EXPECT_FALSE(line.contains(QLatin1Char('\r')));

    QFile::remove(QDir(folder.path()).filePath(QStringLiteral("nimbuskit.txt")));
    auto none = Open(server.BaseUrl());
    EXPECT_TRUE(none->Terms()->toPlainText().isEmpty());
    EXPECT_TRUE(messages.empty());
}

TEST_F(InstallerDlgTest, UncheckedNextEndsWithoutAnySideEffect) {
    PlaceSetup();
    auto dialog = Open(server.BaseUrl());
    dialog->Agree()->click();
    ASSERT_FALSE(dialog->Agree()->isChecked());
    ClickButton(dialog->Button(InstallerLayout::Control::Next));
    Settle();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    QApplication::processEvents(QEventLoop::AllEvents, 200);
    EXPECT_TRUE(Opened().isEmpty());
    EXPECT_EQ(server.Requests().size(), 0);
    EXPECT_EQ(Recorded(), QStringLiteral("<none>"));
    EXPECT_TRUE(messages.empty());
}

TEST_F(InstallerDlgTest, CheckedNextWithTheCountServerDownStillCompletes) {
    PlaceSetup();
    auto dialog = Open(ClosedPortAddress());
    ClickButton(dialog->Button(InstallerLayout::Control::Next));
    ASSERT_TRUE(WaitFor([&] { return !messages.empty(); }));
    EXPECT_EQ(Opened().size(), 1);
    EXPECT_EQ(messages[0].icon, QMessageBox::Information);
    EXPECT_EQ(messages[0].caption, QStringLiteral("NimbusKit"));
    EXPECT_EQ(messages[0].text, QStringLiteral("설치가 정상적으로 완료 되었습니다."));
    EXPECT_FALSE(messages[0].ownerVisible); // the wizard has ended before the message
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(Recorded(), QStringLiteral("20100804"));
}

TEST_F(InstallerDlgTest, ASetupThatIsMissingOrDoesNotOpenIsReportedAndNothingElseHappens) {
    {
        auto dialog = Open(server.BaseUrl()); // no setup beside it
        ClickButton(dialog->Button(InstallerLayout::Control::Next));
        Settle();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].icon, QMessageBox::Warning);
        EXPECT_EQ(messages[0].caption, QStringLiteral("NimbusKit"));
        EXPECT_EQ(messages[0].text, QStringLiteral("설치 프로그램을 찾을 수 없습니다."));
        EXPECT_TRUE(Opened().isEmpty());
    }
    PlaceSetup();
    auto dialog = Open(server.BaseUrl(), 3); // the opener starts, then fails
    ClickButton(dialog->Button(InstallerLayout::Control::Next));
    // The opener's end is awaited without blocking: the wizard is there and busy.
    EXPECT_TRUE(dialog->Busy());
    EXPECT_FALSE(dialog->Button(InstallerLayout::Control::Next)->isEnabled());
    ASSERT_TRUE(WaitFor([&] { return messages.size() == 2; }));
    EXPECT_EQ(Opened().size(), 1);
    EXPECT_EQ(messages[1].icon, QMessageBox::Warning);
    EXPECT_EQ(messages[1].text, QStringLiteral("설치 프로그램을 실행할 수 없습니다."));
    EXPECT_TRUE(messages[1].ownerVisible); // the wizard stays open for another try or Cancel
    EXPECT_FALSE(dialog->Busy());
    EXPECT_TRUE(dialog->Button(InstallerLayout::Control::Cancel)->isEnabled());

    QApplication::processEvents(QEventLoop::AllEvents, 200);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(messages.size(), 2u); // no completion after the failure
    EXPECT_EQ(server.Requests().size(), 0);
    EXPECT_EQ(Recorded(), QStringLiteral("<none>"));
}

TEST_F(InstallerDlgTest, TwoRunsCountTwiceAndKeepOneVersion) {
    PlaceSetup();
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        messages.clear();
        auto dialog = Open(server.BaseUrl());
        ClickButton(dialog->Button(InstallerLayout::Control::Next));
        // The count runs without blocking: the window is still there, busy.
        EXPECT_TRUE(dialog->isVisible());
        ASSERT_TRUE(WaitFor([&] { return !messages.empty(); }));
        EXPECT_EQ(messages[0].text, QStringLiteral("설치가 정상적으로 완료 되었습니다."));
        EXPECT_EQ(server.RequestCount(kCountTarget), run);
        EXPECT_EQ(Opened().size(), run);
    }
    EXPECT_EQ(server.RequestedTargets(), (QStringList{kCountTarget, kCountTarget}));
    EXPECT_EQ(Recorded(), QStringLiteral("20100804"));
}

TEST_F(InstallerDlgTest, TheDemoServiceRecordsTheWizardsCount) {
    PlaceSetup();
    QTemporaryDir logs;
    ASSERT_TRUE(logs.isValid());
    demo::DemoServiceOptions options;
    options.servicePort = 0;
    options.countPort = 0;
    options.countLogPath = logs.filePath(QStringLiteral("counts.log"));
    demo::DemoService service;
    QString error;
    ASSERT_TRUE(service.Start(options, &error)) << error.toStdString();
    auto dialog = Open(QStringLiteral("http://127.0.0.1:%1").arg(service.CountPort()));
    ClickButton(dialog->Button(InstallerLayout::Control::Next));
    ASSERT_TRUE(WaitFor([&] { return !messages.empty(); }));
    EXPECT_EQ(messages[0].icon, QMessageBox::Information);
    EXPECT_EQ(service.CountTotal(), 1);
    EXPECT_EQ(ReadBytes(options.countLogPath).count('\n'), 1);
    service.Stop();
}

TEST_F(InstallerDlgTest, WhileCountingNothingCanStartItAgainOrEndIt) {
    PlaceSetup();
    server.SetRoute(kCountTarget, demo::HttpResponse::Stall());
    auto dialog = Open(server.BaseUrl());
    dialog->SetCountTimeout(400);
    ClickButton(dialog->Button(InstallerLayout::Control::Next));
    ASSERT_TRUE(dialog->Busy());
    ClickButton(dialog->Button(InstallerLayout::Control::Next));
    ClickButton(dialog->Button(InstallerLayout::Control::Cancel));
    Click(dialog.get(), QPoint(570, 10)); // the painted close box
    dialog->close();
    Settle();
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_TRUE(WaitFor([&] { return !messages.empty(); }));
    EXPECT_EQ(Opened().size(), 1);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(server.RequestCount(kCountTarget), 1);
    EXPECT_EQ(Recorded(), QStringLiteral("20100804"));
}

TEST_F(InstallerDlgTest, EnterAndEscNeitherPressNextNorEndTheWizard) {
    PlaceSetup();
    auto dialog = Open(server.BaseUrl());
    CInstallerButton* next = dialog->Button(InstallerLayout::Control::Next);
    next->setFocus();
    for (QWidget* target :
         {static_cast<QWidget*>(dialog.get()), static_cast<QWidget*>(dialog->Terms()),
          static_cast<QWidget*>(dialog->Agree()), static_cast<QWidget*>(next)})
        for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            TypeKey(target, key);
    Settle();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(Opened().isEmpty());
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(dialog->Agree()->isChecked());
    // The keyboard still works otherwise: Space on the box unchecks it.
    TypeKey(dialog->Agree(), Qt::Key_Space);
    EXPECT_FALSE(dialog->Agree()->isChecked());
}

TEST_F(InstallerDlgTest, BackDoesNothingCancelAndTheCloseBoxEnd) {
    PlaceSetup();
    {
        auto dialog = Open(server.BaseUrl());
        ClickButton(dialog->Button(InstallerLayout::Control::Back));
        Settle();
        EXPECT_TRUE(dialog->isVisible());
        ClickButton(dialog->Button(InstallerLayout::Control::Cancel));
        Settle();
        EXPECT_FALSE(dialog->isVisible());
    }
    {
        auto dialog = Open(server.BaseUrl());
        Click(dialog.get(), QPoint(580, 12)); // just right of the close box: no close
        Settle();
        EXPECT_TRUE(dialog->isVisible());
        Click(dialog.get(), QPoint(564, 5));
        Settle();
        EXPECT_FALSE(dialog->isVisible());
    }
    {
        auto dialog = Open(server.BaseUrl());
        Click(dialog.get(), QPoint(538, 12));
        Settle();
        EXPECT_TRUE(dialog->windowState() & Qt::WindowMinimized);
    }
    EXPECT_TRUE(Opened().isEmpty());
    EXPECT_EQ(server.Requests().size(), 0);
    EXPECT_EQ(Recorded(), QStringLiteral("<none>"));
}

TEST_F(InstallerDlgTest, DraggingThePictureMovesTheWindow) {
    auto dialog = Open(server.BaseUrl());
    // Offscreen there is no window system to run the move: the window
    // follows the pointer by hand. The painted maximise box only moves.
    for (const QPoint grab : {QPoint(200, 12), QPoint(553, 12), QPoint(300, 300)}) {
        SCOPED_TRACE(grab.x());
        const QPoint before = dialog->pos();
        Mouse(dialog.get(), QEvent::MouseButtonPress, grab, Qt::LeftButton);
        Mouse(dialog.get(), QEvent::MouseMove, grab + QPoint(40, 25), Qt::LeftButton);
        Mouse(dialog.get(), QEvent::MouseButtonRelease, grab + QPoint(40, 25), Qt::NoButton);
        Settle();
        EXPECT_EQ(dialog->pos(), before + QPoint(40, 25));
        EXPECT_TRUE(dialog->isVisible());
    }
}

TEST_F(InstallerDlgTest, TheRealMessageBoxIsModalAndEndsOnOk) {
    // The shipped message function: a modal box owned by the wizard. Here a
    // timer reads it and presses OK, as a user would.
    PlaceSetup();
    auto dialog = Open(server.BaseUrl(), 3);
    dialog->SetShowMessage(&CInstallerDlg::ShowMessageBox);
    QString text, caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QWidget* owner = nullptr;
    QTimer poll;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box) {
            text = box->text();
            caption = box->windowTitle();
            icon = box->icon();
            owner = box->parentWidget();
            box->button(QMessageBox::Ok)->click();
        } else if (clock.elapsed() > 5000 && QApplication::activeModalWidget()) {
            QApplication::activeModalWidget()->close(); // never hang the suite
        }
    });
    poll.start(20);
    ClickButton(dialog->Button(InstallerLayout::Control::Next));
    ASSERT_TRUE(WaitFor([&] { return !text.isEmpty(); }));
    poll.stop();
    EXPECT_EQ(text, QStringLiteral("설치 프로그램을 실행할 수 없습니다."));
    EXPECT_EQ(caption, QStringLiteral("NimbusKit"));
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(owner, dialog.get());
    EXPECT_TRUE(dialog->isVisible());
}

TEST(InstallerButton, ShowsItsHoverAndPressedPictures) {
    QWidget parent;
    auto* button =
        new CInstallerButton(InstallerLayout::Control::Next, QStringLiteral("다음"), true, &parent);
    button->setGeometry(InstallerLayout::kNextRect);
    parent.resize(600, 400);
    parent.show();
    Settle();
    EXPECT_EQ(button->CurrentPicture(), CInstallerButton::Picture::Normal);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), button->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(button, &enter);
    EXPECT_EQ(button->CurrentPicture(), CInstallerButton::Picture::Hovered);
    button->setDown(true);
    EXPECT_EQ(button->CurrentPicture(), CInstallerButton::Picture::Pressed);
    button->setDown(false);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button, &leave);
    EXPECT_EQ(button->CurrentPicture(), CInstallerButton::Picture::Normal);

    const QSize size = InstallerLayout::kNextRect.size();
    const QImage normal = CInstallerButton::DrawPicture(size, QStringLiteral("다음"), true,
                                                        CInstallerButton::Picture::Normal)
                              .toImage();
    const QImage hovered = CInstallerButton::DrawPicture(size, QStringLiteral("다음"), true,
                                                         CInstallerButton::Picture::Hovered)
                               .toImage();
    EXPECT_EQ(normal.size(), size);
    EXPECT_NE(normal, hovered);
}
