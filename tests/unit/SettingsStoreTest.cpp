#include "app/SettingsStore.h"
#include "app/IniDocument.h"
#include "app/SettingsTable.h"

#include "TestFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

const QString kOptions = QString::fromUtf8(Settings::kKeyOptions);
const QString kProgram = QString::fromUtf8(Settings::kKeyProgram);

class SettingsStoreTest : public ::testing::Test {
protected:
    ScopedXdgHome home;
    QString machineIni() const {
        return home.configHome() + QStringLiteral("/waveorbit/machine.ini");
    }
    QString autostartEntry() const {
        return home.configHome() + QStringLiteral("/autostart/WAVEORBIT.desktop");
    }
};

} // namespace

TEST_F(SettingsStoreTest, MissingValuesReadAsTheCallersDefault) {
    QString text = QStringLiteral("junk");
    EXPECT_EQ(ReadSetting(SettingsRoot::MachineWide, kProgram, QStringLiteral("Sound"),
                          QStringLiteral("100"), &text),
              0);
    EXPECT_EQ(text, QStringLiteral("100"));
    EXPECT_EQ(Settings::ReadNumber(Settings::MainWidth), 832);
    EXPECT_EQ(Settings::ReadText(Settings::LocationForCatalogue), QStringLiteral("자동"));
    EXPECT_EQ(Settings::ReadText(Settings::LocationForDialog), QStringLiteral("서울"));
    EXPECT_FALSE(Settings::ReadFlag(Settings::StartWithSession));
    // Reading creates nothing.
    EXPECT_FALSE(QFile::exists(machineIni()));
}

TEST_F(SettingsStoreTest, TextRoundTripsExactly) {
    const QStringList samples = {
        QString(),
        QStringLiteral("  blanks at both ends  "),
        QStringLiteral("a=b;c#d[e]f\\g"),
        QStringLiteral("\"quoted\""),
        QStringLiteral("'single'"),
        QStringLiteral("서울 특별시"),
        QStringLiteral("tab\there"),
        QStringLiteral("line\nbreak\r\n"),
        QStringLiteral("\\"),
        QStringLiteral("\"\\x41\""),
        QStringLiteral("ends with backslash\\"),
    };
    int i = 0;
    for (const QString& sample : samples) {
        const QString name = QStringLiteral("V%1").arg(i++);
        ASSERT_EQ(WriteSetting(SettingsRoot::MachineWide, kOptions, name, sample), 1)
            << name.toStdString();
        QString back;
        EXPECT_EQ(
            ReadSetting(SettingsRoot::MachineWide, kOptions, name, QStringLiteral("dflt"), &back),
            1);
        EXPECT_EQ(back, sample) << name.toStdString();
    }
    // And the file stays readable by a person: a plain value is written as it is.
    Settings::WriteText(Settings::LocationForDialog, QStringLiteral("부산"));
    const QString file = QString::fromUtf8(ReadBytes(machineIni()));
    EXPECT_TRUE(file.contains(QStringLiteral("[SOFTWARE\\WAVEORBIT\\Options]\n")));
    EXPECT_TRUE(file.contains(QStringLiteral("\nLOCATION=부산\n")));
}

TEST_F(SettingsStoreTest, ValueNamesIgnoreCase) {
    Settings::WriteNumber(Settings::IndexWritten, 7);
    EXPECT_EQ(Settings::ReadNumber(Settings::IndexRead), 7);
    // A second write under the other spelling replaces the value, not adds one.
    Settings::WriteNumber(Settings::IndexRead, 9);
    EXPECT_EQ(Settings::ReadNumber(Settings::IndexWritten), 9);
    EXPECT_EQ(QString::fromUtf8(ReadBytes(machineIni()))
                  .count(QStringLiteral("ndex="), Qt::CaseInsensitive),
              1);
}

TEST_F(SettingsStoreTest, SwitchesAndNumbersFollowTheirReadRules) {
    // An empty text is on for "not 0" switches and off for "only 1" switches.
    Settings::WriteText(Settings::AutoPlay, QString());
    Settings::WriteText(Settings::Magnet, QString());
    EXPECT_TRUE(Settings::ReadFlag(Settings::AutoPlay));
    EXPECT_FALSE(Settings::ReadFlag(Settings::Magnet));
    Settings::WriteText(Settings::Tray, QStringLiteral("2"));
    EXPECT_FALSE(Settings::ReadFlag(Settings::Tray));
    Settings::WriteText(Settings::AutoClose, QStringLiteral("2"));
    EXPECT_TRUE(Settings::ReadFlag(Settings::AutoClose));
    EXPECT_FALSE(Settings::ReadFlagAs(Settings::AutoClose, Settings::ReadRule::OnlyOne));
    // A volume without digits is 0.
    Settings::WriteText(Settings::Sound, QStringLiteral("loud"));
    EXPECT_EQ(Settings::ReadNumber(Settings::Sound), 0);
    Settings::WriteFlag(Settings::OnTop, true);
    EXPECT_EQ(Settings::ReadText(Settings::OnTop), QStringLiteral("1"));
}

TEST_F(SettingsStoreTest, OverlongValuesReadAsTheDefault) {
    Settings::WriteText(Settings::LocationForDialog, QString(259, QLatin1Char('x')));
    EXPECT_EQ(Settings::ReadText(Settings::LocationForDialog).size(), 259);
    Settings::WriteText(Settings::LocationForDialog, QString(260, QLatin1Char('x')));
    EXPECT_EQ(Settings::ReadText(Settings::LocationForDialog), QStringLiteral("서울"));
    // Korean counts two bytes a character, as the legacy buffer holds it.
    Settings::WriteText(Settings::LocationForDialog, QString(130, QChar(0xC11C)));
    EXPECT_EQ(Settings::ReadText(Settings::LocationForDialog), QStringLiteral("서울"));
}

TEST_F(SettingsStoreTest, DeleteRemovesOnlyWhatExists) {
    EXPECT_EQ(DeleteSetting(SettingsRoot::MachineWide, kOptions, QStringLiteral("AUTOPLAY")), 0);
    Settings::WriteFlag(Settings::AutoPlay, true);
    Settings::WriteFlag(Settings::AutoHide, true);
    const QByteArray before = ReadBytes(machineIni());
    EXPECT_EQ(DeleteSetting(SettingsRoot::MachineWide, kOptions, QStringLiteral("NOPE")), 0);
    EXPECT_EQ(ReadBytes(machineIni()), before);
    EXPECT_EQ(DeleteSetting(SettingsRoot::MachineWide, kOptions, QStringLiteral("autoplay")), 1);
    EXPECT_EQ(Settings::ReadText(Settings::AutoPlay), QStringLiteral("0"));
    EXPECT_TRUE(Settings::ReadFlag(Settings::AutoHide));
}

TEST_F(SettingsStoreTest, HandEditedFilesKeepTheirOtherLines) {
    QDir().mkpath(home.configHome() + QStringLiteral("/waveorbit"));
    WriteBytes(machineIni(),
               "; my notes\r\n[software\\waveorbit]\r\nsound = 35 \r\n\r\n[Other]\r\nX=1\r\n");
    EXPECT_EQ(Settings::ReadNumber(Settings::Sound), 35);
    Settings::WriteNumber(Settings::MainX, 12);
    const QString file = QString::fromUtf8(ReadBytes(machineIni()));
    EXPECT_TRUE(file.startsWith(QStringLiteral("; my notes\n")));
    EXPECT_TRUE(file.contains(QStringLiteral("[Other]\nX=1\n")));
    EXPECT_EQ(Settings::ReadNumber(Settings::MainX), 12);
    EXPECT_EQ(Settings::ReadNumber(Settings::Sound), 35);
}

TEST_F(SettingsStoreTest, StartWithSessionIsAnAutostartEntry) {
    // Deleting a missing entry reports 0 and creates nothing.
    EXPECT_EQ(DeleteSetting(SettingsRoot::PerUser, kRunKeyPath, QStringLiteral("WAVEORBIT")), 0);
    EXPECT_FALSE(QFile::exists(autostartEntry()));

    const QString path = QStringLiteral("/opt/my apps/wave \"orbit\" 100%/waveorbit");
    ASSERT_TRUE(Settings::WriteText(Settings::StartWithSession, path));
    ASSERT_TRUE(QFile::exists(autostartEntry()));
    EXPECT_EQ(Settings::ReadText(Settings::StartWithSession), path);
    EXPECT_TRUE(Settings::ReadFlag(Settings::StartWithSession));
    const QString entry = QString::fromUtf8(ReadBytes(autostartEntry()));
    EXPECT_TRUE(entry.startsWith(QStringLiteral("[Desktop Entry]\n")));
    EXPECT_TRUE(entry.contains(
        QStringLiteral("Exec=\"/opt/my apps/wave \\\\\"orbit\\\\\" 100%%/waveorbit\"\n")))
        << entry.toStdString();
    // Per-user values of other keys go to user.ini, not the autostart folder.
    EXPECT_EQ(WriteSetting(SettingsRoot::PerUser, QStringLiteral("Software\\WAVEORBIT"),
                           QStringLiteral("X"), QStringLiteral("1")),
              1);
    EXPECT_TRUE(QFile::exists(home.configHome() + QStringLiteral("/waveorbit/user.ini")));

    EXPECT_EQ(DeleteSetting(SettingsRoot::PerUser, kRunKeyPath, QStringLiteral("waveorbit")), 1);
    EXPECT_FALSE(QFile::exists(autostartEntry()));
    EXPECT_FALSE(Settings::ReadFlag(Settings::StartWithSession));
}

TEST_F(SettingsStoreTest, TheTableNamesEveryValueOnce) {
    QStringList seen;
    for (const Settings::Value* value : Settings::All()) {
        const QString id = value->Key().toUpper() + QLatin1Char('\\') + value->Name().toUpper();
        seen << id;
    }
    // "index"/"INDEX" and the two LOCATION defaults are deliberate pairs.
    seen.removeDuplicates();
    EXPECT_EQ(seen.size() + 2, static_cast<qsizetype>(Settings::All().size()));
}

TEST(IniDocument, QuotingIsUsedOnlyWhereAPlainLineWouldNotSurvive) {
    EXPECT_EQ(IniDocument::EncodeValue(QStringLiteral("a=b;c")), QStringLiteral("a=b;c"));
    EXPECT_EQ(IniDocument::EncodeValue(QStringLiteral(" x")), QStringLiteral("\" x\""));
    EXPECT_EQ(IniDocument::EncodeValue(QStringLiteral("\"x")), QStringLiteral("\"\\\"x\""));
    // A hand-written value with a stray backslash inside quotes is kept as it stands.
    EXPECT_EQ(IniDocument::DecodeValue(QStringLiteral("\"a\\qb\"")), QStringLiteral("\"a\\qb\""));
    EXPECT_FALSE(IniDocument::IsStorableName(QStringLiteral("a=b")));
    EXPECT_FALSE(IniDocument::IsStorableName(QStringLiteral(" a")));
    EXPECT_FALSE(IniDocument::IsStorableName(QStringLiteral("[a")));
    IniDocument doc;
    EXPECT_FALSE(
        doc.SetValue(QStringLiteral("S"), QStringLiteral("bad\nname"), QStringLiteral("v")));
}
