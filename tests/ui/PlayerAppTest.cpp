// The program as a process: what it does without a display, with arguments,
// and two copies at once.
#include "TestFolders.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace {

QString Program() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/waveorbit");
}

QProcessEnvironment BaseEnvironment(const ScopedXdgHome& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.configHome());
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.dataHome());
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    return env;
}

#define REQUIRE_PROGRAM()                                                                          \
    if (!QFileInfo::exists(Program()))                                                             \
    GTEST_SKIP() << "build the waveorbit target first"

TEST(PlayerApp, WithoutADisplayItSaysWhatIsNeeded) {
    REQUIRE_PROGRAM();
    ScopedXdgHome home;
    QProcessEnvironment env = BaseEnvironment(home);
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(Program(), {});
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit); // no crash
    EXPECT_NE(process.exitCode(), 0);
    const QString said = QString::fromUtf8(process.readAllStandardError());
    EXPECT_TRUE(said.contains(QStringLiteral("graphical session"))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("xvfb-run"))) << said.toStdString();
}

TEST(PlayerApp, TwoCopiesRunSideBySideAndIgnoreArguments) {
    REQUIRE_PROGRAM();
    ScopedXdgHome home;
    QProcessEnvironment env = BaseEnvironment(home);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("WAVEORBIT_BENCH_FIRST_PAINT"), QStringLiteral("1"));
    QProcess first, second;
    for (QProcess* p : {&first, &second}) {
        p->setProcessEnvironment(env);
        p->start(Program(), {QStringLiteral("--help"), QStringLiteral("http://127.0.0.1:1/x")});
    }
    for (QProcess* p : {&first, &second}) {
        ASSERT_TRUE(p->waitForFinished(30000));
        EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p->exitCode(), 0);
        EXPECT_TRUE(p->readAllStandardError().contains("first-paint-ms "));
    }
}

} // namespace
