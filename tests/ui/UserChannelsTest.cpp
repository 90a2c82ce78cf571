// The user tab: copying catalogue rows, the add-channel dialog, deleting one
// row and all of them, always checked on screen and in user.dat.
#include "app/Endpoints.h"
#include "app/LegacyText.h"
#include "app/SettingsTable.h"
#include "catalogue/CUserChannelFile.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/RegionChoice.h"
#include "mainwindow/CPlayerDlg.h"
#include "mainwindow/ChannelPanel.h"
#include "mainwindow/Prompter.h"
#include "skin/CMinsButton.h"
#include "userchannels/CAddChannelDlg.h"

#include "RecordNames.h"
#include "TestFolders.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <memory>
#include <sys/resource.h>

namespace {

ChannelRecord Row(const QString& num, const QString& name, const QString& website = "N",
                  const QString& webUrl = QString()) {
    ChannelRecord r;
    r.fields = {num,
                name,
                QStringLiteral("정보"),
                QStringLiteral("연결대기"),
                QStringLiteral("http://127.0.0.1:9/") + name,
                website,
                webUrl};
    return r;
}

// A started window on the user tab, messages collected instead of shown.
struct UserTab {
    ScopedXdgHome home;
    std::unique_ptr<CPlayerDlg> window;
    QStringList messages;

    explicit UserTab(const std::vector<ChannelRecord>& stored = {}) {
        Settings::WriteText(Settings::Menu, QStringLiteral("1"));
        Settings::WriteText(Settings::SubMenu, QStringLiteral("6"));
        // A catalogue in place, so no tab ever waits on a download.
        QDir().mkpath(Folder());
        WriteBytes(QDir(Folder()).filePath(QStringLiteral("world.ini")), "[COUNT]\n");
        if (!stored.empty()) {
            EXPECT_TRUE(File().AppendAll(stored));
        }
        window = std::make_unique<CPlayerDlg>();
        window->Prompts().SetMessageHandler([this](const QString& text) { messages << text; });
        window->OnInitDialog();
    }
    QString Folder() const { return home.dataHome() + QStringLiteral("/waveorbit/"); }
    CUserChannelFile File() const { return CUserChannelFile(Folder()); }
    ChannelListModel& List() const { return *window->ListModel(); }
    QStringList Shown() const { return Names(List().Rows()); }
    QStringList Stored() const { return Names(File().Load()); }
    QByteArray Bytes() const { return ReadBytes(File().FilePath()); }
};

// Runs `action` on the add-channel dialog once it is open (it runs modally).
void WhenDialogOpens(std::function<void(CAddChannelDlg*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<CAddChannelDlg*>(w);
            if (dialog && dialog->isVisible()) {
                timer->stop();
                timer->deleteLater();
                action(dialog);
                return;
            }
        }
    });
    timer->start();
}

void Type(CAddChannelDlg* d, const QString& name, const QString& info, const QString& address) {
    d->NameEdit()->setText(name);
    d->InfoEdit()->setText(info);
    d->AddressEdit()->setText(address);
}

TEST(UserChannelList, ShowsNewestOnTopAndDeletesKeepingTheStoredOrder) {
    UserTab tab({Row("1", "A"), Row("2", "B"), Row("3", "C")});
    EXPECT_EQ(tab.window->Session().ShownCategory(), Category::User);
    EXPECT_EQ(tab.Shown(), (QStringList{"C", "B", "A"}));

    tab.window->Channels().OnListClick(1); // B
    tab.window->Commands().Run(ListCommand::DeleteSelected);
    EXPECT_EQ(tab.Shown(), (QStringList{"C", "A"}));
    EXPECT_EQ(tab.Stored(), (QStringList{"A", "C"}));
    // The clicked row is gone; a second delete must not take its neighbour.
    EXPECT_EQ(tab.window->Session().CurrentRow(), -1);
    tab.window->Commands().Run(ListCommand::DeleteSelected);
    EXPECT_EQ(tab.Stored(), (QStringList{"A", "C"}));

    // Opening the tab again reads the file: still C above A, every time.
    for (int i = 0; i < 2; ++i) {
        tab.window->Channels().OpenCategoryTab(Category::User);
        EXPECT_EQ(tab.Shown(), (QStringList{"C", "A"}));
    }
    // The second delete had no row, and said so.
    EXPECT_EQ(tab.messages, QStringList{QStringLiteral("목록에서 채널을 먼저 선택해주세요.")});
}

TEST(UserChannelList, DeletesOnlyOnTheUserTab) {
    UserTab tab({Row("1", "A"), Row("2", "B")});
    const QByteArray before = tab.Bytes();
    tab.window->Channels().OpenCategoryTab(Category::World);
    tab.List().AppendRows({Row("1", "W1"), Row("2", "W2")});
    tab.window->Channels().OnListClick(0);
    tab.window->Commands().Run(ListCommand::DeleteSelected);
    tab.window->Commands().Run(ListCommand::DeleteAll);
    // The catalogue's rows are never written over the user's file.
    EXPECT_EQ(tab.Bytes(), before);
    EXPECT_EQ(tab.Shown(), (QStringList{"W1", "W2"}));
}

TEST(UserChannelList, FailedRewriteKeepsTheOldFileAndTheRow) {
    UserTab tab({Row("1", "A"), Row("2", "B"), Row("3", "C")});
    const QByteArray before = tab.Bytes();
    // The write breaks off after a few bytes, as when the program dies or
    // the disk fills in the middle of it.
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit small = old;
    small.rlim_cur = 16;
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    tab.window->Channels().OnListClick(1);
    tab.window->Commands().Run(ListCommand::DeleteSelected);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(tab.Bytes(), before);
    EXPECT_EQ(tab.Shown(), (QStringList{"C", "B", "A"}));
    EXPECT_EQ(tab.messages, QStringList{CAddChannelDlg::WriteFailedMessage()});
    EXPECT_EQ(QDir(tab.Folder()).entryList({QStringLiteral("user.dat*")}, QDir::Files),
              QStringList{QStringLiteral("user.dat")});
}

TEST(UserChannelList, DeleteAllThenAddLeavesOneLine) {
    UserTab tab({Row("1", "A"), Row("2", "B")});
    tab.window->Channels().OnListClick(0);
    tab.window->Commands().Run(ListCommand::DeleteAll);
    EXPECT_EQ(tab.List().rowCount(), 0);
    EXPECT_FALSE(QFile::exists(tab.File().FilePath()));
    EXPECT_EQ(tab.window->Session().CurrentRow(), -1);

    WhenDialogOpens([](CAddChannelDlg* d) {
        Type(d, QStringLiteral("새 채널"), QStringLiteral("뉴스"),
             QStringLiteral("http://127.0.0.1:9/live"));
        QTest::mouseClick(d->OkButton(), Qt::LeftButton);
    });
    tab.window->Commands().Run(ListCommand::AddToMyChannels);
    const QByteArray bytes = tab.Bytes();
    EXPECT_EQ(bytes.count("\r\n"), 1);
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    ASSERT_EQ(tab.File().Load().size(), 1u);
    const ChannelRecord stored = tab.File().Load().front();
    EXPECT_EQ(stored.fields, (std::array<QString, 7>{"일반등록", "새 채널", "뉴스", "연결대기",
                                                     "http://127.0.0.1:9/live", "N",
                                                     Endpoints::HomePageAddress()}));
    ASSERT_EQ(tab.List().rowCount(), 1);
    EXPECT_EQ(tab.List().Row(0), stored);
}

TEST(UserChannelList, CopiesTheClickedCatalogueRow) {
    UserTab tab;
    tab.window->Channels().OpenCategoryTab(Category::World);
    tab.List().AppendRows(
        {Row("1", "NEWS"), Row("2", "웹 채널", "Y", "http://127.0.0.1:9/page"), Row("3", "A#B")});

    // No row clicked yet: nothing is copied, and the user is told why.
    tab.window->Commands().Run(ListCommand::AddToMyChannels);
    EXPECT_TRUE(tab.File().Load().empty());
    tab.window->Channels().OnListClick(7); // below the last row
    tab.window->Commands().Run(ListCommand::AddToMyChannels);
    EXPECT_TRUE(tab.File().Load().empty());
    EXPECT_EQ(tab.messages.size(), 2);

    tab.window->Channels().OnListClick(1);
    tab.window->Commands().Run(ListCommand::AddToMyChannels);
    tab.window->Channels().OnListClick(2);
    tab.window->Commands().Run(ListCommand::AddToMyChannels);
    EXPECT_EQ(tab.Shown(), (QStringList{"NEWS", "웹 채널", "A#B"})); // the catalogue as it was
    const auto stored = tab.File().Load();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0], Row("2", "웹 채널", "Y", "http://127.0.0.1:9/page"));
    // A "#" of a catalogue cannot split the line: it is kept as "＃".
    EXPECT_EQ(stored[1].name(), QStringLiteral("A＃B"));
    EXPECT_EQ(stored[1].url(), QStringLiteral("http://127.0.0.1:9/A＃B"));

    // On the user tab the copied web channel opens its page instead of playing.
    tab.window->Channels().OpenCategoryTab(Category::User);
    EXPECT_EQ(tab.Shown(), (QStringList{"A＃B", "웹 채널"}));
    const ChannelRecord web = tab.List().Row(1);
    EXPECT_EQ(RegionChoice::ActionFor(web, QStringLiteral("0")),
              RegionChoice::RowAction::OpenWebPage);
    EXPECT_EQ(web.webUrl(), QStringLiteral("http://127.0.0.1:9/page"));
}

TEST(AddChannelDialog, OkAddsOnTopEvenWhenEmpty) {
    UserTab tab({Row("1", "A")});
    tab.window->Channels().OnListClick(0);
    WhenDialogOpens([](CAddChannelDlg* d) {
        EXPECT_TRUE(d->NameEdit()->text().isEmpty()); // every run starts empty
        QTest::mouseClick(d->OkButton(), Qt::LeftButton);
    });
    tab.window->Commands().Run(ListCommand::AddToMyChannels);
    EXPECT_EQ(tab.Shown(), (QStringList{"", "A"}));
    // The clicked row is still the one the index names.
    EXPECT_EQ(tab.window->Session().CurrentRow(), 1);
    const QList<QByteArray> lines = tab.Bytes().split('\n');
    ASSERT_EQ(lines.size(), 3); // two lines and the end
    EXPECT_EQ(lines[1], LegacyText::EncodeCp949(QStringLiteral("일반등록###연결대기##N#") +
                                                    Endpoints::HomePageAddress() + "\r",
                                                nullptr));
}

TEST(AddChannelDialog, CancelCloseEnterAndEscStoreNothing) {
    UserTab tab({Row("1", "A")});
    const QByteArray before = tab.Bytes();
    for (int way = 0; way < 2; ++way) {
        bool keysIgnored = false;
        WhenDialogOpens([way, &keysIgnored](CAddChannelDlg* d) {
            Type(d, QStringLiteral("X"), QStringLiteral("Y"),
                 QStringLiteral("http://127.0.0.1:9/"));
            d->NameEdit()->setFocus();
            QTest::keyClick(d->NameEdit(), Qt::Key_Return);
            QTest::keyClick(d->AddressEdit(), Qt::Key_Enter);
            QTest::keyClick(d->InfoEdit(), Qt::Key_Escape);
            keysIgnored = d->isVisible() && d->NameEdit()->text() == QStringLiteral("X");
            QTest::mouseClick(way == 0 ? d->CancelButton() : d->CloseBox(), Qt::LeftButton);
        });
        tab.window->Commands().Run(ListCommand::AddToMyChannels);
        EXPECT_TRUE(keysIgnored) << way;
        EXPECT_EQ(tab.Bytes(), before) << way;
        EXPECT_EQ(tab.Shown(), QStringList{"A"}) << way;
    }
}

TEST(AddChannelDialog, RefusesTheSeparatorNamingItsFieldAndCutsLongNames) {
    UserTab tab;
    WhenDialogOpens([&tab](CAddChannelDlg* d) {
        // Told which field holds the "#", that field takes the focus, the
        // dialog stays open and nothing is stored: the user mends the text.
        QTest::keyClicks(d->NameEdit(), QStringLiteral("A"));
        QTest::keyClicks(d->AddressEdit(), QStringLiteral("http://127.0.0.1:9/#live"));
        QTest::mouseClick(d->OkButton(), Qt::LeftButton);
        EXPECT_EQ(d->focusWidget(), d->AddressEdit());
        QTest::keyClicks(d->NameEdit(), QStringLiteral("#B"));
        QTest::mouseClick(d->OkButton(), Qt::LeftButton);
        EXPECT_EQ(d->focusWidget(), d->NameEdit());
        Type(d, QStringLiteral("A"), QStringLiteral("뉴스#1"),
             QStringLiteral("http://127.0.0.1:9/"));
        QTest::mouseClick(d->OkButton(), Qt::LeftButton);
        EXPECT_EQ(d->focusWidget(), d->InfoEdit());
        EXPECT_EQ(
            tab.messages,
            (QStringList{QStringLiteral("채널 주소에는 # 문자를 사용할 수 없습니다."),
                         QStringLiteral("채널 이름, 채널 주소에는 # 문자를 사용할 수 없습니다."),
                         QStringLiteral("채널 정보에는 # 문자를 사용할 수 없습니다.")}));
        EXPECT_TRUE(d->isVisible());
        EXPECT_TRUE(tab.File().Load().empty());
        // 150 Korean letters are 300 bytes in the file's code page.
        Type(d, QString(150, QChar(0xAC00)), QString(), QString());
        QTest::mouseClick(d->OkButton(), Qt::LeftButton);
    });
    tab.window->Commands().Run(ListCommand::AddToMyChannels);
    ASSERT_EQ(tab.File().Load().size(), 1u);
    const QString name = tab.File().Load().front().name();
    // 259 bytes would end inside a letter: 129 whole letters, 258 bytes.
    EXPECT_EQ(name, QString(129, QChar(0xAC00)));
    EXPECT_EQ(LegacyText::EncodeCp949(name, nullptr).size(), 258);
    EXPECT_EQ(tab.List().Row(0).name(), name);
}

TEST(AddChannelDialog, LayoutAndColours) {
    ScopedXdgHome home;
    ChannelListModel list;
    CAddChannelDlg dialog(&list, home.dataHome());
    EXPECT_EQ(dialog.size(), QSize(400, 300));
    EXPECT_EQ(dialog.CloseBox()->geometry(), QRect(375, 5, 15, 15));
    EXPECT_EQ(dialog.OkButton()->geometry(), QRect(143, 253, 44, 22));
    EXPECT_EQ(dialog.CancelButton()->geometry(), QRect(190, 253, 44, 22));
    EXPECT_EQ(dialog.NameEdit()->geometry(), QRect(38, 109, 326, 12));
    EXPECT_EQ(dialog.InfoEdit()->geometry(), QRect(38, 167, 326, 12));
    EXPECT_EQ(dialog.AddressEdit()->geometry(), QRect(38, 224, 326, 12));
    dialog.NameEdit()->setText(QStringLiteral("MMMMMMMM"));
    const QImage edit = dialog.NameEdit()->grab().toImage();
    int gold = 0, grey = 0;
    for (int y = 0; y < edit.height(); ++y)
        for (int x = 0; x < edit.width(); ++x) {
            const QColor c = edit.pixelColor(x, y);
            gold += c.red() > 200 && c.green() > 150 && c.blue() < 120; // text, smoothed
            grey += c == QColor(51, 51, 51);
        }
    EXPECT_GT(gold, 10);
    EXPECT_GT(grey, edit.width() * edit.height() / 2);
    EXPECT_FALSE(dialog.Confirmed());
}

} // namespace
