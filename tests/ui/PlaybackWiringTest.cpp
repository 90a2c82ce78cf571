// The main window with a stand-in player: what the window shows and keeps
// when the connection watch and the volume report to it (the rules of the
// watch and the volume themselves are unit-tested).

#include "mainwindow/PlaybackWiring.h"
#include "app/Paths.h"
#include "app/SettingsTable.h"
#include "catalogue/CChannelListView.h"
#include "catalogue/CatalogueTabs.h"
#include "catalogue/ChannelFilterModel.h"
#include "catalogue/ChannelListModel.h"
#include "demo/DemoCatalogues.h"
#include "mainwindow/CPlayerDlg.h"
#include "mainwindow/ChannelPanel.h"
#include "mainwindow/Prompter.h"
#include "mainwindow/SkinStrips.h"
#include "mainwindow/WindowLayout.h"
#include "playback/PlayerWidget.h"
#include "skin/CMinsButton.h"
#include "skin/SkinInventory.h"

#include "RecordingPlayer.h"
#include "TestFolders.h"

#include <QApplication>
#include <QTableView>
#include <QTest>

#include <QApplication>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using FakePlayerWidget = RecordingPlayer<PlayerWidget>;

struct Started {
    std::unique_ptr<CPlayerDlg> window;
    FakePlayerWidget* player = nullptr; // owned by the window
    QStringList messages;
    QStringList questions;
};

// A window on the given category, with the demo catalogues in its data
// folder and no service to talk to.
std::unique_ptr<Started> StartWindow(Category category) {
    demo::CatalogueOptions catalogueOptions;
    QString error;
    EXPECT_TRUE(demo::WriteDemoCatalogues(Paths::DataFolder(), catalogueOptions, &error))
        << error.toStdString();
    Settings::WriteText(Settings::Menu, QStringLiteral("1"));
    Settings::WriteNumber(Settings::SubMenu, StoredNumberOf(category));

    auto started = std::make_unique<Started>();
    started->window = std::make_unique<CPlayerDlg>();
    started->window->Channels().Catalogue().SetServiceBaseAddress(
        QStringLiteral("http://127.0.0.1:1"));
    started->player = new FakePlayerWidget;
    started->window->UsePlayer(started->player);
    Started* s = started.get();
    started->window->Prompts().SetMessageHandler(
        [s](const QString& text) { s->messages.append(text); });
    started->window->Prompts().SetQuestionHandler([s](const QString&, const QString& text) {
        s->questions.append(text);
        return false;
    });
    started->window->OnInitDialog();
    started->window->show();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    return started;
}

// A row that plays when double-clicked: no region question, no web page.
int PlainRow(const CPlayerDlg& window) {
    const ChannelListModel* model = window.ListModel();
    for (int row = 0; row < model->rowCount(); ++row) {
        const ChannelRecord record = model->Row(row);
        if (!record.name().contains(QStringLiteral("MBC")) &&
            !record.name().contains(QStringLiteral("SBS")) &&
            model->CellText(row, 5) != QStringLiteral("Y") && !model->CellText(row, 4).isEmpty())
            return row;
    }
    return -1;
}

void DoubleClickRow(CPlayerDlg& window, int row) {
    QTableView* view = window.ListView();
    const QRect cell = view->visualRect(window.ListView()->Filter()->index(row, 1));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
}

QImage Rgb(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage Screen(CPlayerDlg& window) {
    return Rgb(window.grab().toImage());
}

// The window shows exactly this skin picture at this client rectangle.
bool ShowsPicture(CPlayerDlg& window, const Box& where, PictureId pictureId) {
    const QImage picture = Rgb(QImage(SkinPath(pictureId)));
    return !picture.isNull() && Screen(window).copy(where.ToRect()) == picture;
}

int CountColour(const QImage& image, const QRect& area, QRgb colour) {
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
                ++count;
    return count;
}

constexpr QRgb kStatusColour = qRgb(255, 204, 51);

TEST(PlaybackWiring, DoubleClickedTvChannelConnectsAndShowsThePicture) {
    ScopedXdgHome home;
    auto s = StartWindow(Category::Tv);
    CPlayerDlg& window = *s->window;
    const int row = PlainRow(window);
    ASSERT_GE(row, 0);
    const Box lamp = window.Layout().Current().statusLamp;
    EXPECT_TRUE(ShowsPicture(window, lamp, PictureId::LampUnlit));
    EXPECT_FALSE(window.Player()->isVisible());

    s->player->current = PlayerStatus::Opening();
    DoubleClickRow(window, row);
    ASSERT_EQ(s->player->urls, QStringList{window.ListModel()->CellText(row, 4)});
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return window.Session().StatusText().contains("연결중"); }, 3000));
    EXPECT_EQ(window.ListModel()->CellText(row, 3), QStringLiteral("연결중"));
    EXPECT_FALSE(window.Session().IsPlaying());

    s->player->current = PlayerStatus::Playing();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Session().IsPlaying(); }, 3000));
    EXPECT_EQ(window.Session().StatusText(), QStringLiteral("방송연결이 성공하였습니다."));
    EXPECT_EQ(window.ListModel()->CellText(row, 3), QStringLiteral("연결성공"));
    EXPECT_EQ(Settings::ReadNumber(Settings::IndexRead), row);
    QApplication::processEvents();
    EXPECT_TRUE(ShowsPicture(window, lamp, PictureId::LampLit));
    // A TV channel has a picture: the player covers the video area.
    EXPECT_TRUE(window.Player()->isVisible());
    EXPECT_EQ(window.Player()->geometry(), window.Layout().Current().videoArea.ToRect());

    // The clock follows, with the channel's name.
    const QString name = window.ListModel()->CellText(row, 1);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window.Session().StatusText() != "방송연결이 성공하였습니다."; }, 3000));
    EXPECT_EQ(window.Session().StatusText(), name + QStringLiteral(" : 00:00:01"));

    // Stop: lamp out, picture gone, the stop line.
    window.Button(ControlId::Stop)->click();
    QApplication::processEvents();
    EXPECT_FALSE(window.Session().IsPlaying());
    EXPECT_FALSE(window.Player()->isVisible());
    EXPECT_EQ(window.Session().StatusText(), QStringLiteral("현재 방송연결이 정지되었습니다."));
    EXPECT_TRUE(ShowsPicture(window, lamp, PictureId::LampUnlit));
    EXPECT_GE(s->player->closes, 2); // before the address, and the stop
}

TEST(PlaybackWiring, FailedConnectionKeepsTheLampOutAndMarksTheRow) {
    ScopedXdgHome home;
    auto s = StartWindow(Category::Tv);
    CPlayerDlg& window = *s->window;
    const int row = PlainRow(window);
    ASSERT_GE(row, 0);
    s->player->current = PlayerStatus::Idle(); // the address could not be opened
    window.Playback()->Watch().PlayRow(row);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return window.Session().StatusText().contains("실패"); }, 3000));
    EXPECT_EQ(window.Session().StatusText(), QStringLiteral("방송연결이 실패 하였습니다."));
    EXPECT_EQ(window.ListModel()->CellText(row, 3), QStringLiteral("연결실패"));
    EXPECT_FALSE(window.Session().IsPlaying());
    EXPECT_TRUE(s->messages.isEmpty());
    EXPECT_TRUE(s->questions.isEmpty());
    QApplication::processEvents();
    EXPECT_TRUE(ShowsPicture(window, window.Layout().Current().statusLamp, PictureId::LampUnlit));
    // The status line is drawn in its colour inside its box.
    const QImage screen = Screen(window);
    EXPECT_GT(CountColour(screen, window.Layout().Current().statusText.ToRect(), kStatusColour),
              10);
}

TEST(PlaybackWiring, RadioKeepsTheLogoAndALongNameIsCutNotWrapped) {
    ScopedXdgHome home;
    auto s = StartWindow(Category::Radio);
    CPlayerDlg& window = *s->window;
    ASSERT_EQ(window.Session().Category(), Category::Radio);
    ASSERT_GT(window.ListModel()->rowCount(), 0);
    const QImage idleVideo = Screen(window).copy(window.Layout().Current().videoArea.ToRect());

    const QString longName = QStringLiteral("아주 긴 이름의 데모 라디오 채널 ") + QString(40, 'W');
    window.Playback()->Watch().PlayAddress(QStringLiteral("http://127.0.0.1:1/radio.mp3"));
    s->player->current = PlayerStatus::Playing();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Session().IsPlaying(); }, 3000));
    // Opened by address before any row played: no cell, no position.
    EXPECT_EQ(Settings::ReadText(Settings::IndexRead), QStringLiteral("0"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window.Session().StatusText().startsWith("사용자방송"); }, 3000));
    QApplication::processEvents();
    // No picture for radio: the player stays hidden, the logo stays.
    EXPECT_FALSE(window.Player()->isVisible());
    EXPECT_EQ(Screen(window).copy(window.Layout().Current().videoArea.ToRect()), idleVideo);

    // A row with a very long name: the clock falls off the box's right edge.
    std::vector<ChannelRecord> rows(1);
    rows[0].fields[ChannelRecord::Name] = longName;
    rows[0].fields[ChannelRecord::Url] = QStringLiteral("http://127.0.0.1:1/long.mp3");
    window.ListModel()->Clear();
    window.ListModel()->AppendRows(rows);
    window.Playback()->Watch().PlayRow(0);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return window.Session().StatusText().startsWith(longName); }, 4000));
    QApplication::processEvents();
    const QImage screen = Screen(window);
    const Box text = window.Layout().Current().statusText;
    EXPECT_GT(CountColour(screen, text.ToRect(), kStatusColour), 10);
    // Nothing right of the box and no second line below it.
    EXPECT_EQ(CountColour(screen, QRect(text.right, text.top, 9, text.Height()), kStatusColour), 0);
    EXPECT_EQ(CountColour(screen, QRect(text.left, text.bottom, text.Width(), 4), kStatusColour),
              0);
}

TEST(PlaybackWiring, VolumeKeysAreaAndMuteReachThePlayerAndTheBar) {
    ScopedXdgHome home;
    Settings::WriteText(Settings::Sound, QStringLiteral("60"));
    auto s = StartWindow(Category::Tv);
    CPlayerDlg& window = *s->window;
    FakePlayerWidget& player = *s->player;
    ASSERT_FALSE(player.volumes.empty());
    EXPECT_EQ(player.volumes.back(), 60); // start-up volume
    EXPECT_EQ(window.Session().Volume(), 60);
    EXPECT_EQ(window.Session().IndicatorOffset(), 20);

    window.Playback()->Volume().Up();
    EXPECT_EQ(window.Session().Volume(), 65);
    EXPECT_EQ(player.volumes.back(), 65);
    EXPECT_EQ(window.Session().CaptionText(), QStringLiteral("소리크기 : 65%"));
    EXPECT_EQ(window.Session().IndicatorOffset(), 52 - 65 / 2);

    // The wheel: one notch steps, two notches at once do nothing.
    const auto wheel = [&window](int delta) {
        QWheelEvent event(QPointF(10, 10), window.mapToGlobal(QPointF(10, 10)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&window, &event);
    };
    wheel(-120);
    EXPECT_EQ(window.Session().Volume(), 60);
    wheel(240);
    EXPECT_EQ(window.Session().Volume(), 60);

    // Press and drag in the volume area.
    const Box area = window.Layout().Current().volumeArea;
    const QPoint inArea(area.left + 10, area.top + 8);
    QTest::mousePress(&window, Qt::LeftButton, Qt::NoModifier, inArea);
    EXPECT_EQ(window.Session().Volume(), 14); // 2 x 10 - 6
    EXPECT_EQ(player.volumes.back(), 14);
    QMouseEvent drag(QEvent::MouseMove, QPointF(area.left + 40, area.top + 8),
                     window.mapToGlobal(QPointF(area.left + 40, area.top + 8)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drag);
    EXPECT_EQ(window.Session().Volume(), 74);
    EXPECT_EQ(window.Session().IndicatorOffset(), 10);
    QTest::mouseRelease(&window, Qt::LeftButton, Qt::NoModifier,
                        QPoint(area.left + 40, area.top + 8));
    // After the release a move does not drag.
    QMouseEvent hover(QEvent::MouseMove, QPointF(area.left + 20, area.top + 8),
                      window.mapToGlobal(QPointF(area.left + 20, area.top + 8)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &hover);
    EXPECT_EQ(window.Session().Volume(), 74);

    // The bar shows the picture's columns from the offset on.
    QApplication::processEvents();
    const QImage bar = Rgb(QImage(SkinPath(PictureId::VolumeBar)));
    const QImage shown = Screen(window).copy(area.left, window.Layout().Current().B - 34 + 11,
                                             area.Width(), bar.height());
    EXPECT_EQ(shown, bar.copy(10, 0, area.Width(), bar.height()));

    // Mute: the player is silenced, the button and the caption say so.
    window.Button(ControlId::Mute)->click();
    EXPECT_EQ(player.volumes.back(), 0);
    EXPECT_TRUE(window.Session().IsMuted());
    EXPECT_EQ(window.Session().CaptionText(), QStringLiteral("소리크기 : 없음"));
    window.Button(ControlId::Mute)->click();
    EXPECT_EQ(player.volumes.back(), 74);
    EXPECT_FALSE(window.Session().IsMuted());

    // The caption line goes after three seconds.
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.Session().CaptionText().isEmpty(); }, 5000));

    // The level is kept at exit, the mute state is not.
    window.Playback()->Volume().ToggleMute();
    window.close();
    EXPECT_EQ(Settings::ReadNumber(Settings::Sound), 74);
}

} // namespace
