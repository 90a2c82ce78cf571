// The programme guide's dialog and the guide rows of the channel-list page.
#include "app/SettingsTable.h"
#include "dialogs/CGuideDlg.h"
#include "dialogs/CSettingsDlg.h"
#include "dialogs/CSourcesPage.h"
#include "guide/GuideReader.h"

#include "TestFolders.h"
#include "WidgetInput.h"

#include <QBuffer>
#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Today in the desktop's zone, at a clock time, as UTC seconds.
qint64 Today(int hour, int minute = 0, int days = 0) {
    return QDateTime(QDate::currentDate().addDays(days), QTime(hour, minute),
                     QTimeZone::systemTimeZone())
        .toSecsSinceEpoch();
}

QByteArray XmltvTime(qint64 utc) {
    return QDateTime::fromSecsSinceEpoch(utc, QTimeZone::utc())
               .toString(QStringLiteral("yyyyMMddHHmmss"))
               .toLatin1() +
           " +0000";
}

// One channel ("kbs") with three programmes tonight and one tomorrow morning.
std::shared_ptr<const GuideData> TinyGuide(qint64 now) {
    const struct {
        qint64 start, stop;
        const char* title;
        const char* description;
    } programmes[] = {{Today(20), Today(21), "가요무대", "옛 노래"},
                      {Today(21), Today(22), "뉴스9", "오늘의 소식"},
                      {Today(22), Today(23), "다큐", ""},
                      {Today(9, 0, 1), Today(10, 0, 1), "아침마당", "아침 이야기"}};
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><tv>"
                     "<channel id=\"KBS1TV.kr\"><display-name>KBS1</display-name></channel>";
    for (const auto& p : programmes) {
        xml += "<programme channel=\"KBS1TV.kr\" start=\"" + XmltvTime(p.start) + "\" stop=\"" +
               XmltvTime(p.stop) + "\"><title>" + p.title + "</title>";
        if (*p.description)
            xml += QByteArray("<desc>") + p.description + "</desc>";
        xml += "</programme>";
    }
    xml += "</tv>";
    QBuffer buffer(&xml);
    buffer.open(QIODevice::ReadOnly);
    GuideReadOptions options;
    options.now = now;
    return ReadGuide(&buffer, {{QStringLiteral("kbs"), QStringLiteral("KBS1TV.kr"), {}, {}, 0}},
                     options)
        .data;
}

QStringList Texts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

} // namespace

TEST(GuideDlg, ListsTodayAndTomorrowWithTheProgrammeOnNowChosen) {
    const qint64 now = Today(21, 30);
    const auto guide = TinyGuide(now);
    ASSERT_NE(guide, nullptr);
    CGuideDlg dialog(QStringLiteral("KBS1"), guide.get(), QStringLiteral("kbs"),
                     [now] { return now; });
    dialog.show();
    Settle();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("KBS1 편성표"));
    EXPECT_EQ(dialog.size(), QSize(400, 300));
    const QStringList texts = Texts(dialog.List());
    ASSERT_EQ(texts.size(), 6) << texts.join('|').toStdString();
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("오늘 ")));
    EXPECT_EQ(texts.mid(1, 3), (QStringList{QStringLiteral("20:00–21:00  가요무대"),
                                            QStringLiteral("21:00–22:00  뉴스9"),
                                            QStringLiteral("22:00–23:00  다큐")}));
    EXPECT_TRUE(texts[4].startsWith(QStringLiteral("내일 ")));
    EXPECT_EQ(texts[5], QStringLiteral("09:00–10:00  아침마당"));
    EXPECT_EQ(dialog.List()->currentRow(), 2);
    EXPECT_TRUE(dialog.List()->currentItem()->font().bold());
    EXPECT_FALSE(dialog.List()->item(1)->font().bold());
    EXPECT_EQ(dialog.Description()->toPlainText(), QStringLiteral("오늘의 소식"));
    EXPECT_EQ(dialog.List()->accessibleName(), QStringLiteral("편성표"));
    EXPECT_EQ(dialog.Description()->accessibleName(), QStringLiteral("프로그램 설명"));
    EXPECT_FALSE(dialog.NoGuideLabel()->isVisible());
}

TEST(GuideDlg, KeysMoveThroughTheProgrammesAndClose) {
    const qint64 now = Today(21, 30);
    const auto guide = TinyGuide(now);
    ASSERT_NE(guide, nullptr);
    for (int closer : {Qt::Key_Escape, Qt::Key_Return}) {
        CGuideDlg dialog(QStringLiteral("KBS1"), guide.get(), QStringLiteral("kbs"),
                         [now] { return now; });
        dialog.show();
        Settle();
        QListWidget* list = dialog.List();
        TypeKey(list, Qt::Key_Down);
        EXPECT_EQ(list->currentRow(), 3);
        EXPECT_EQ(dialog.Description()->toPlainText(),
                  QStringLiteral("이 프로그램의 설명이 없습니다."));
        // The day's heading is passed over.
        TypeKey(list, Qt::Key_Down);
        EXPECT_EQ(list->currentRow(), 5);
        EXPECT_EQ(dialog.Description()->toPlainText(), QStringLiteral("아침 이야기"));
        TypeKey(list, Qt::Key_Up);
        EXPECT_EQ(list->currentRow(), 3);
        list->setFocus();
        TypeKey(list, Qt::Key_Tab);
        EXPECT_TRUE(dialog.Description()->hasFocus());
        PressKey(dialog.Description(), closer);
        Settle();
        EXPECT_FALSE(dialog.isVisible()) << closer;
    }
}

TEST(GuideDlg, AChannelWithoutAGuideSaysSo) {
    const qint64 now = Today(21, 30);
    const auto guide = TinyGuide(now);
    for (const GuideData* data : {static_cast<const GuideData*>(nullptr), guide.get()}) {
        CGuideDlg dialog(QStringLiteral("MBC"), data, QStringLiteral("mbc"), [now] { return now; });
        dialog.show();
        Settle();
        EXPECT_TRUE(dialog.NoGuideLabel()->isVisible());
        EXPECT_EQ(dialog.NoGuideLabel()->text(), QStringLiteral("이 채널의 편성표가 없습니다."));
        EXPECT_FALSE(dialog.List()->isVisible());
        EXPECT_FALSE(dialog.Description()->isVisible());
    }
}

// The guide addresses are kept per tab and stored only by OK, and only
// where they changed.
TEST(GuideRows, TheAddressesAreStoredByOkWithoutLoss) {
    ScopedXdgHome home;
    const QString machineIni = home.configHome() + QStringLiteral("/waveorbit/machine.ini");
    Settings::WriteText(Settings::GuideWorld, QStringLiteral(" http://127.0.0.1:1/w.xml , b.xml"));
    SourceSettings().Set(
        Category::World,
        ChannelSource{ChannelSource::Kind::Playlist, QStringLiteral("http://127.0.0.1:1/w.m3u")});
    {
        CSourcesPage page;
        page.ShowTab(Category::World);
        EXPECT_TRUE(page.GuideEdit()->isVisibleTo(&page));
        EXPECT_EQ(page.GuideEdit()->text(), QStringLiteral(" http://127.0.0.1:1/w.xml , b.xml"));
        page.ShowTab(Category::Radio);
        EXPECT_FALSE(page.GuideEdit()->isVisibleTo(&page));
        EXPECT_EQ(page.GuideStatus(), nullptr);
        page.ShowTab(Category::World);
        const QByteArray before = ReadBytes(machineIni);
        EXPECT_FALSE(page.GuidesChanged());
        EXPECT_FALSE(page.Apply().Any());
        EXPECT_EQ(ReadBytes(machineIni), before);
    }
    {
        // Through the settings dialog's OK, which tells the window.
        CSettingsDlg dialog;
        int told = 0;
        QObject::connect(&dialog, &CSettingsDlg::guidesChanged, [&told] { ++told; });
        dialog.SelectPage(4);
        CSourcesPage& page = *dialog.Sources();
        page.ShowTab(Category::Tv);
        page.KindBox()->setCurrentIndex(0); // the service brings no guide
        EXPECT_FALSE(page.GuideEdit()->isVisibleTo(&page));
        page.KindBox()->setCurrentIndex(1);
        EXPECT_TRUE(page.GuideEdit()->isVisibleTo(&page));
        page.AddressEdit()->setText(QStringLiteral("http://127.0.0.1:1/kr.m3u"));
        page.GuideEdit()->setText(QStringLiteral(" http://127.0.0.1:1/tv.xml.gz "));
        page.ShowTab(Category::Game);
        EXPECT_EQ(page.GuideEdit()->text(), QString());
        page.ShowTab(Category::Tv);
        EXPECT_EQ(page.GuideEdit()->text(), QStringLiteral(" http://127.0.0.1:1/tv.xml.gz "));
        EXPECT_TRUE(page.GuidesChanged());
        dialog.OnOk();
        EXPECT_EQ(told, 1);
    }
    EXPECT_EQ(Settings::ReadText(Settings::GuideTv),
              QStringLiteral("http://127.0.0.1:1/tv.xml.gz"));
    EXPECT_EQ(Settings::ReadText(Settings::GuideWorld),
              QStringLiteral(" http://127.0.0.1:1/w.xml , b.xml"));
    EXPECT_EQ(Settings::ReadText(Settings::GuideGame), QString());
}

TEST(GuideRows, StatusLinesAndTheRefreshButtonTellTheTruth) {
    ScopedXdgHome home;
    SourceSettings().Set(Category::Tv, ChannelSource{ChannelSource::Kind::Playlist,
                                                     QStringLiteral("http://127.0.0.1:1/kr.m3u")});
    GuideBook::Source source;
    source.address = QStringLiteral("http://127.0.0.1:1/tv.xml");
    source.failure = QStringLiteral("편성표를 받지 못했습니다 (응답 없음)");
    std::vector<Category> refreshed;
    std::function<void()> done;
    CSourcesPage page;
    page.SetGuideStatus([&](Category) { return std::vector<GuideBook::Source>{source}; },
                        [&](Category category, std::function<void()> finished) {
                            refreshed.push_back(category);
                            source.busy = true;
                            done = std::move(finished);
                        });
    ASSERT_NE(page.GuideStatus(), nullptr);
    EXPECT_TRUE(page.GuideStatus()->isVisibleTo(&page));
    EXPECT_EQ(page.GuideStatus()->accessibleDescription(), source.StatusText());
    EXPECT_TRUE(page.GuideStatus()->accessibleDescription().startsWith(source.failure));

    page.GuideRefreshButton()->click();
    EXPECT_EQ(refreshed, std::vector<Category>{Category::Tv});
    EXPECT_EQ(page.GuideStatus()->accessibleDescription(), QStringLiteral("읽는 중"));
    EXPECT_FALSE(page.GuideRefreshButton()->isEnabled());

    source.busy = false;
    source.failure.clear();
    source.report.fault = GuideReport::Fault::NotXmltv;
    ASSERT_TRUE(done);
    done();
    EXPECT_EQ(page.GuideStatus()->accessibleDescription(), source.StatusText());
    EXPECT_NE(page.GuideStatus()->accessibleDescription(), QStringLiteral("읽는 중"));
    EXPECT_TRUE(page.GuideRefreshButton()->isEnabled());

    // A tab without a guide shows no status.
    page.ShowTab(Category::Radio);
    EXPECT_FALSE(page.GuideStatus()->isVisibleTo(&page));
    EXPECT_FALSE(page.GuideRefreshButton()->isVisibleTo(&page));
}
