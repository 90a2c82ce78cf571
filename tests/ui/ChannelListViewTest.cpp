#include "app/SettingsTable.h"
#include "catalogue/CChannelListView.h"
#include "catalogue/CRegionDlg.h"
#include "catalogue/ChannelFilterModel.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/ListScrollBarStyle.h"
#include "mainwindow/ListMenu.h"
#include "mainwindow/MainMenu.h"

#include "TestFolders.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

ChannelRecord Row(const QString& name) {
    ChannelRecord r;
    r.fields = {QStringLiteral("1"),
                name,
                QStringLiteral("정보"),
                QStringLiteral("연결대기"),
                QStringLiteral("http://127.0.0.1/s"),
                QStringLiteral("N"),
                QString()};
    return r;
}

class ChannelListViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<ChannelRecord> rows;
        for (int i = 0; i < 8; ++i)
            rows.push_back(Row(QStringLiteral("채널 %1").arg(i)));
        model.AppendRows(rows);
        view.resize(400, 300);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    QPoint RowPoint(int row) const {
        return view.visualRect(view.Filter()->index(row, 1)).center();
    }

    ChannelListModel model;
    CChannelListView view{&model};
};

} // namespace

TEST_F(ChannelListViewTest, RowsAreSixteenPixelsAndOnlyFourColumnsShow) {
    EXPECT_EQ(view.rowHeight(0), 16);
    EXPECT_EQ(view.columnWidth(0), 70);
    EXPECT_EQ(view.columnWidth(1), 171);
    EXPECT_EQ(view.columnWidth(2), 70);
    EXPECT_EQ(view.columnWidth(3), 70);
    EXPECT_EQ(model.columnCount(), 4);
    EXPECT_FALSE(view.horizontalHeader()->isVisible());
}

TEST_F(ChannelListViewTest, ClicksSetTheRowRightClicksChooseItAndAskForTheMenu) {
    QSignalSpy clicked(&view, &CChannelListView::rowClicked);
    QSignalSpy doubleClicked(&view, &CChannelListView::rowDoubleClicked);
    QSignalSpy menu(&view, &CChannelListView::menuRequested);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, RowPoint(2));
    QTest::mouseClick(view.viewport(), Qt::RightButton, {}, RowPoint(5));
    ASSERT_EQ(clicked.count(), 2);
    EXPECT_EQ(clicked.at(0).at(0).toInt(), 2);
    // The menu acts on the row under the right click, marked as chosen.
    EXPECT_EQ(clicked.at(1).at(0).toInt(), 5);
    EXPECT_EQ(menu.count(), 1);
    EXPECT_EQ(view.selectionModel()->selectedRows(), QModelIndexList{view.model()->index(5, 0)});
    // Below the last row is -1.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(50, 16 * 8 + 40));
    EXPECT_EQ(clicked.last().at(0).toInt(), -1);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, RowPoint(3));
    ASSERT_GE(doubleClicked.count(), 1);
    EXPECT_EQ(doubleClicked.last().at(0).toInt(), 3);
}

TEST_F(ChannelListViewTest, ShowsTheDownloadLine) {
    view.SetDownloadProgress(true, 50, 200);
    EXPECT_EQ(view.DownloadText(), QStringLiteral("채널 목록을 받고 있습니다... 25%"));
    const QImage shot = view.viewport()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(2, 18), QColor(255, 204, 51)); // the progress bar's start
    view.SetDownloadProgress(false);
    EXPECT_TRUE(view.DownloadText().isEmpty());
}

TEST_F(ChannelListViewTest, ScrollBarsAreAGrooveWithAHandleAndNoArrows) {
    view.resize(300, 60); // 8 rows of 16 pixels do not fit
    view.show();
    QScrollBar* bar = view.verticalScrollBar();
    ASSERT_TRUE(QTest::qWaitFor([bar] { return bar->isVisible() && bar->height() < 60; }));
    EXPECT_EQ(bar->width(), ListScrollBarStyle::kExtent);
    const auto paint = [bar] {
        QImage image(bar->size(), QImage::Format_RGB32);
        bar->render(&image);
        return image;
    };
    // The handle runs from the very top at the start to the very bottom at
    // the end: no arrow buttons take room at either end.
    QImage top = paint();
    EXPECT_EQ(QColor(top.pixel(5, 0)), QColor(0x5a, 0x46, 0x14));
    EXPECT_EQ(QColor(top.pixel(5, bar->height() - 1)), QColor(0x11, 0x11, 0x11));
    bar->setValue(bar->maximum());
    QImage bottom = paint();
    EXPECT_EQ(QColor(bottom.pixel(5, 0)), QColor(0x11, 0x11, 0x11));
    EXPECT_EQ(QColor(bottom.pixel(5, bar->height() - 1)), QColor(0x5a, 0x46, 0x14));
}

TEST(ListMenu, DeleteAndPlaylistCommandsOnlyOnTheUserTabTheGuideOnlyForAGuideRow) {
    for (bool userTab : {false, true}) {
        const bool guideRow = !userTab;
        std::unique_ptr<QMenu> menu(CreateListMenu(nullptr, userTab, guideRow));
        QStringList texts;
        for (QAction* action : menu->actions()) {
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
            const std::optional<CommandId> id = CommandOfAction(action);
            const bool userOnly = id == CommandId(ListCommand::DeleteSelected) ||
                                  id == CommandId(ListCommand::DeleteAll) ||
                                  id == CommandId(ListCommand::ImportPlaylist) ||
                                  id == CommandId(ListCommand::ExportPlaylist);
            const bool guide = id == CommandId(ListCommand::Guide);
            EXPECT_EQ(action->isEnabled(), guide ? guideRow : !userOnly || userTab)
                << action->text().toStdString();
        }
        EXPECT_EQ(
            texts.join(QLatin1Char('|')),
            QStringLiteral(
                "재생하기|정지하기|찾기\tCtrl+F|편성표\tG|-|마이채널 추가|선택항목 삭제|전체삭제|-|"
                "재생목록 가져오기…|재생목록 내보내기…|-|끝내기\tAlt+F4"));
    }
}

TEST(CRegionDlg, ModesListsAndPreselection) {
    ScopedXdgHome home;
    {
        CRegionDlg sbs(QStringLiteral("SBS 라디오"));
        EXPECT_EQ(sbs.Mode(), 2);
        EXPECT_EQ(sbs.VisibleCombo()->count(), 9);
        EXPECT_FALSE(sbs.CityCombo()->isVisibleTo(&sbs));
        // No stored region: "서울" is preselected in both lists.
        EXPECT_EQ(sbs.VisibleCombo()->currentText(), QStringLiteral("서울"));
        EXPECT_EQ(sbs.size(), QSize(380, 200));
    }
    Settings::WriteText(Settings::LocationForDialog, QStringLiteral("강원"));
    CRegionDlg mbc(QStringLiteral("부산MBC"));
    EXPECT_EQ(mbc.Mode(), 1);
    EXPECT_EQ(mbc.VisibleCombo()->count(), 20);
    EXPECT_EQ(mbc.VisibleCombo()->currentIndex(), -1);
    EXPECT_EQ(mbc.RegionCombo()->currentText(), QStringLiteral("강원"));
    // Confirming with no selection keeps the stored region.
    mbc.Confirm();
    EXPECT_TRUE(mbc.Confirmed());
    EXPECT_EQ(Settings::ReadText(Settings::LocationForDialog), QStringLiteral("강원"));
    EXPECT_EQ(Settings::ReadText(Settings::LocationHide), QStringLiteral("0"));
}

TEST(CRegionDlg, TheBoxStopsTheQuestionAndTheCloseBoxStoresNothing) {
    ScopedXdgHome home;
    {
        CRegionDlg dlg(QStringLiteral("대구MBC"));
        dlg.VisibleCombo()->setCurrentText(QStringLiteral("대구"));
        dlg.DoNotAskAgain()->setChecked(true);
        dlg.reject(); // the close box
        EXPECT_FALSE(dlg.Confirmed());
        EXPECT_EQ(Settings::ReadText(Settings::LocationHide), QStringLiteral("0"));
        EXPECT_EQ(Settings::ReadText(Settings::LocationForDialog), QStringLiteral("서울"));
    }
    CRegionDlg dlg(QStringLiteral("대구MBC"));
    dlg.VisibleCombo()->setCurrentText(QStringLiteral("대구"));
    dlg.DoNotAskAgain()->setChecked(true);
    // Enter and Esc leave it open.
    dlg.show();
    QTest::keyClick(&dlg, Qt::Key_Return);
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_TRUE(dlg.isVisible());
    dlg.Confirm();
    EXPECT_EQ(Settings::ReadText(Settings::LocationHide), QStringLiteral("1"));
    EXPECT_EQ(Settings::ReadText(Settings::LocationForDialog), QStringLiteral("대구"));
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}
