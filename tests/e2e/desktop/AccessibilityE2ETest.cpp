// The offline first start as a screen reader meets it: the program in its
// own process with its accessibility on, on a private session bus and its
// AT-SPI bus, its objects read over D-Bus as an assistive technology reads
// them. The
// tab's source is a playlist on 127.0.0.1 that cannot be fetched, or one that
// answers with no channel; nothing is kept.

#include "app/SettingsTable.h"
#include "catalogue/CatalogueTabs.h"
#include "catalogue/ChannelSource.h"
#include "catalogue/SourceSettings.h"

#include "TestFolders.h"
#include "demo/LoopbackHttpServer.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QMap>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

const char* const kAccessible = "org.a11y.atspi.Accessible";

bool WaitUntil(const std::function<bool()>& done, int ms) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (done())
            return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
        QThread::msleep(100);
    }
    return done();
}

// A process the test started, killed at the end if it still runs.
struct Child {
    QProcess process;
    ~Child() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
};

// The accessibility bus as a desktop has it: at-spi's launcher, started by
// the (private) session bus when the program asks for it. Its socket goes to
// a folder of the test's own rather than the user's runtime folder.
struct AccessibilityBus {
    QTemporaryDir runtime;
    QString address;

    bool Start() {
        QDBusConnection session = QDBusConnection::sessionBus();
        if (!session.isConnected() || !runtime.isValid())
            return false;
        qDBusRegisterMetaType<QMap<QString, QString>>();
        QDBusMessage update = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("UpdateActivationEnvironment"));
        update << QVariant::fromValue(
            QMap<QString, QString>{{QStringLiteral("XDG_RUNTIME_DIR"), runtime.path()}});
        if (session.call(update).type() != QDBusMessage::ReplyMessage)
            return false;
        const QDBusMessage reply = session.call(QDBusMessage::createMethodCall(
            QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
            QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress")));
        address = reply.arguments().value(0).toString();
        return address.startsWith(QStringLiteral("unix:path=") + runtime.path());
    }
};

// The session has one launcher, started by the first test that asks: every
// test of the run shares it.
const AccessibilityBus* SharedAccessibilityBus() {
    static AccessibilityBus bus;
    static const bool started = bus.Start();
    return started ? &bus : nullptr;
}

struct Node {
    QString service;
    QString path;
};

QDBusMessage Call(QDBusConnection& bus, const Node& node, const char* interface, const char* method,
                  const QVariantList& arguments = {}) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        node.service, node.path, QString::fromLatin1(interface), QString::fromLatin1(method));
    call.setArguments(arguments);
    return bus.call(call, QDBus::Block, 5000);
}

QString Text(QDBusConnection& bus, const Node& node, const char* property) {
    const QDBusMessage reply =
        Call(bus, node, "org.freedesktop.DBus.Properties", "Get",
             {QString::fromLatin1(kAccessible), QString::fromLatin1(property)});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return QString();
    return qvariant_cast<QDBusVariant>(reply.arguments().first()).variant().toString();
}

std::vector<Node> Children(QDBusConnection& bus, const Node& node) {
    std::vector<Node> children;
    const QDBusMessage reply = Call(bus, node, kAccessible, "GetChildren");
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return children;
    const QDBusArgument list = reply.arguments().first().value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        QString service;
        QDBusObjectPath path;
        list.beginStructure();
        list >> service >> path;
        list.endStructure();
        children.push_back(Node{service, path.path()});
    }
    list.endArray();
    return children;
}

QString RoleName(QDBusConnection& bus, const Node& node) {
    const QDBusMessage reply = Call(bus, node, kAccessible, "GetRoleName");
    return reply.arguments().value(0).toString();
}

// The description of the table of this name, searched from the
// applications the registry knows; empty when there is none (yet).
QString TableDescription(QDBusConnection& bus, const QString& name) {
    std::vector<Node> pending =
        Children(bus, Node{QStringLiteral("org.a11y.atspi.Registry"),
                           QStringLiteral("/org/a11y/atspi/accessible/root")});
    for (int visited = 0; !pending.empty() && visited < 3000; ++visited) {
        const Node node = pending.back();
        pending.pop_back();
        if (Text(bus, node, "Name") == name && RoleName(bus, node) == QStringLiteral("table"))
            return Text(bus, node, "Description");
        const std::vector<Node> children = Children(bus, node);
        pending.insert(pending.end(), children.begin(), children.end());
    }
    return QString();
}

// The program started on the remembered TV tab, whose source is a playlist
// at `address`, with a screen reader's connection to the AT-SPI bus.
struct ProgramOnTvTab {
    ScopedXdgHome home; // the program inherits this throwaway home
    Child program;
    QDBusConnection bus{QString()};

    ProgramOnTvTab(const AccessibilityBus& a11y, const QString& address) {
        EXPECT_TRUE(SourceSettings().Set(Category::Tv,
                                         ChannelSource{ChannelSource::Kind::Playlist, address}));
        Settings::WriteText(Settings::Menu, QStringLiteral("1"));
        Settings::WriteText(Settings::SubMenu, QStringLiteral("1"));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
        program.process.setProcessEnvironment(environment);
        program.process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.process.start(QStringLiteral(WAVEORBIT_PROGRAM), {});
        EXPECT_TRUE(program.process.waitForStarted(10000));
        bus = QDBusConnection::connectToBus(a11y.address, QStringLiteral("screen-reader"));
        EXPECT_TRUE(bus.isConnected());
    }
    ~ProgramOnTvTab() { QDBusConnection::disconnectFromBus(QStringLiteral("screen-reader")); }
};

// What a screen reader hears of the channel list.
QString ChannelListDescription(const AccessibilityBus& a11y, const QString& address,
                               const QString& expected) {
    ProgramOnTvTab run(a11y, address);
    QString heard;
    WaitUntil(
        [&] {
            heard = TableDescription(run.bus, QStringLiteral("채널목록"));
            return heard == expected;
        },
        30000);
    return heard;
}

// An object as a screen reader meets it.
struct Heard {
    Node node;
    QString role;
    QString name;
};

// Every object of the program's window, searched from the applications the
// registry knows; the table's cells are left for TableParts.
std::vector<Heard> Everything(QDBusConnection& bus) {
    std::vector<Heard> heard;
    std::vector<Node> pending =
        Children(bus, Node{QStringLiteral("org.a11y.atspi.Registry"),
                           QStringLiteral("/org/a11y/atspi/accessible/root")});
    for (int visited = 0; !pending.empty() && visited < 3000; ++visited) {
        const Node node = pending.back();
        pending.pop_back();
        heard.push_back(Heard{node, RoleName(bus, node), Text(bus, node, "Name")});
        if (heard.back().role == QStringLiteral("table"))
            continue;
        const std::vector<Node> children = Children(bus, node);
        pending.insert(pending.end(), children.begin(), children.end());
    }
    return heard;
}

std::vector<Heard> TableParts(QDBusConnection& bus, const Node& table) {
    std::vector<Heard> parts;
    for (const Node& child : Children(bus, table))
        parts.push_back(Heard{child, RoleName(bus, child), Text(bus, child, "Name")});
    return parts;
}

QStringList NamesOf(const std::vector<Heard>& heard, const QString& role) {
    QStringList names;
    for (const Heard& h : heard)
        if (h.role == role)
            names << h.name;
    return names;
}

} // namespace

TEST(AccessibilityE2E, AnOfflineFirstStartTellsAScreenReaderWhyTheListIsEmpty) {
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        << "run under dbus-run-session";
    const AccessibilityBus* shared = SharedAccessibilityBus();
    ASSERT_TRUE(shared) << "no AT-SPI bus (at-spi2-core) on the session bus";
    const AccessibilityBus& a11y = *shared;

    // A port nobody listens on any more: the list cannot be fetched.
    QString closed;
    {
        demo::LoopbackHttpServer server;
        ASSERT_TRUE(server.Listen());
        closed = server.Url(QStringLiteral("/kr.m3u"));
    }
    const QString unreachable = CatalogueTabs::NoticeText(CatalogueTabs::Notice::Unreachable);
    EXPECT_EQ(ChannelListDescription(a11y, closed, unreachable), unreachable);

    // A source that answers, with no channel in its list.
    demo::LoopbackHttpServer empty;
    ASSERT_TRUE(empty.Listen());
    empty.SetRoute(QStringLiteral("/kr.m3u"), demo::HttpResponse::Ok("#EXTM3U\n"));
    const QString noChannel = CatalogueTabs::NoticeText(CatalogueTabs::Notice::NoChannel);
    EXPECT_EQ(ChannelListDescription(a11y, empty.Url(QStringLiteral("/kr.m3u")), noChannel),
              noChannel);
    EXPECT_EQ(empty.RequestCount(QStringLiteral("/kr.m3u")), 1);
}

TEST(AccessibilityE2E, AScreenReaderReadsTheListsColumnsRowsAndButtonsByWhatTheyShow) {
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        << "run under dbus-run-session";
    const AccessibilityBus* shared = SharedAccessibilityBus();
    ASSERT_TRUE(shared) << "no AT-SPI bus (at-spi2-core) on the session bus";
    const AccessibilityBus& a11y = *shared;
    demo::LoopbackHttpServer server;
    ASSERT_TRUE(server.Listen());
    server.SetRoute(
        QStringLiteral("/kr.m3u"),
        demo::HttpResponse::Ok(
            "#EXTM3U\n"
            "#EXTINF:-1 tvg-chno=\"9\" group-title=\"지상파\",KBS 1TV (1080p) [Geo-blocked]\n"
            "http://127.0.0.1:9/kbs1.m3u8\n"));
    ProgramOnTvTab run(a11y, server.Url(QStringLiteral("/kr.m3u")));

    // The registry may still list the program of an earlier test for a
    // while: the list looked for is the one that has rows.
    std::vector<Heard> window;
    std::vector<Heard> parts;
    const bool found = WaitUntil(
        [&] {
            window = Everything(run.bus);
            for (const Heard& h : window) {
                if (h.role != QStringLiteral("table") || h.name != QStringLiteral("채널목록"))
                    continue;
                parts = TableParts(run.bus, h.node);
                if (!NamesOf(parts, QStringLiteral("cell")).isEmpty())
                    return true;
            }
            return false;
        },
        30000);
    ASSERT_TRUE(found);

    // The hidden header reads in Korean; the address columns are no columns.
    EXPECT_EQ(NamesOf(parts, QStringLiteral("column header")),
              (QStringList{QStringLiteral("번호"), QStringLiteral("채널"), QStringLiteral("정보"),
                           QStringLiteral("연결")}));
    // Whichever cell the reader lands on, the row reads as one sentence, its
    // list notes as the marks the row shows, never its address.
    const QString sentence = QStringLiteral("KBS 1TV, 지상파, 지역제한, 1080p");
    EXPECT_EQ(NamesOf(parts, QStringLiteral("cell")),
              (QStringList{sentence, sentence, sentence, sentence}));

    // The two buttons that open and close the list panel each read as
    // themselves; the web sub-tabs read the labels their pictures show.
    const QStringList buttons = NamesOf(window, QStringLiteral("push button"));
    for (const char* name : {"채널 목록 닫기", "목록 숨기기", "최신음악", "MP3다운", "음악차트",
                             "뮤직비디오", "최신영화", "드라마", "동영상", "실시간 방송"})
        EXPECT_EQ(buttons.count(QString::fromUtf8(name)), 1) << name;
}
