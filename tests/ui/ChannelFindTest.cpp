#include "catalogue/CChannelListView.h"
#include "catalogue/ChannelFilterModel.h"
#include "catalogue/ChannelListModel.h"

#include <QItemSelectionModel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

ChannelRecord Named(const QString& name) {
    ChannelRecord r;
    r.fields[ChannelRecord::Name] = name;
    return r;
}

std::vector<ChannelRecord> Names(const QStringList& names) {
    std::vector<ChannelRecord> rows;
    for (const QString& name : names)
        rows.push_back(Named(name));
    return rows;
}

QStringList Shown(const ChannelFilterModel& filter) {
    QStringList names;
    for (int row = 0; row < filter.rowCount(); ++row)
        names << filter.index(row, ChannelRecord::Name).data().toString();
    return names;
}

const QStringList kNames = {QStringLiteral("KBS 1TV"),  QStringLiteral("국악방송"),
                            QStringLiteral("아리랑"),   QStringLiteral("Arirang Radio"),
                            QStringLiteral("국민방송"), QStringLiteral("EBS 1")};

} // namespace

TEST(ChannelFilterModel, NarrowsByInitialsMixedTextAndLatinAndMapsRowsBack) {
    ChannelListModel model;
    model.AppendRows(Names(kNames));
    ChannelFilterModel filter(&model);
    EXPECT_EQ(Shown(filter), kNames);

    filter.SetQuery(QStringLiteral("ㄱㅇ"));
    EXPECT_EQ(Shown(filter), QStringList{QStringLiteral("국악방송")});
    EXPECT_EQ(filter.ListRow(0), 1);
    EXPECT_EQ(filter.MatchIn(0).start, 0);
    EXPECT_EQ(filter.MatchIn(0).length, 2);

    filter.SetQuery(QStringLiteral("국"));
    EXPECT_EQ(Shown(filter), (QStringList{QStringLiteral("국악방송"), QStringLiteral("국민방송")}));
    // Growing the query reads only the rows shown and keeps the list's order.
    filter.SetQuery(QStringLiteral("국ㅁ"));
    EXPECT_EQ(Shown(filter), QStringList{QStringLiteral("국민방송")});
    EXPECT_EQ(filter.ListRow(0), 4);
    EXPECT_EQ(filter.ShownRow(4), 0);
    EXPECT_EQ(filter.ShownRow(1), -1);
    // A key taken back shows the rows it had before.
    filter.SetQuery(QStringLiteral("국"));
    EXPECT_EQ(Shown(filter), (QStringList{QStringLiteral("국악방송"), QStringLiteral("국민방송")}));
    // A shorter query reads the whole list again.
    filter.SetQuery(QStringLiteral("ㅇㄹㄹ"));
    EXPECT_EQ(Shown(filter), QStringList{QStringLiteral("아리랑")});

    filter.SetQuery(QStringLiteral("ari"));
    EXPECT_EQ(Shown(filter), QStringList{QStringLiteral("Arirang Radio")});
    filter.SetQuery(QStringLiteral("xyz"));
    EXPECT_EQ(filter.rowCount(), 0);
    filter.SetQuery(QString());
    EXPECT_EQ(Shown(filter), kNames);
    EXPECT_FALSE(filter.IsNarrowed());
}

TEST(ChannelFilterModel, FollowsTheListWhileNarrowed) {
    ChannelListModel model;
    model.AppendRows(Names(kNames));
    ChannelFilterModel filter(&model);
    filter.SetQuery(QStringLiteral("ㄱ"));
    ASSERT_EQ(filter.rowCount(), 2);

    // A tab still arriving: matching rows come in at the end.
    model.AppendRows(Names({QStringLiteral("MBC"), QStringLiteral("국방TV")}));
    EXPECT_EQ(Shown(filter), (QStringList{QStringLiteral("국악방송"), QStringLiteral("국민방송"),
                                          QStringLiteral("국방TV")}));
    EXPECT_EQ(filter.ListRow(2), 7);
    // Rows that arrived while a longer query was typed show when it is
    // taken back.
    filter.SetQuery(QStringLiteral("ㄱㅁ"));
    model.AppendRows(Names({QStringLiteral("국립극장")}));
    filter.SetQuery(QStringLiteral("ㄱ"));
    EXPECT_EQ(filter.rowCount(), 4);
    model.RemoveRow(8);

    // A change to a shown row reaches the view under its shown row.
    QSignalSpy changed(&filter, &QAbstractItemModel::dataChanged);
    model.SetConnectText(4, QStringLiteral("연결성공"));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).value<QModelIndex>().row(), 1);
    EXPECT_EQ(filter.index(1, ChannelRecord::Connect).data().toString(),
              QStringLiteral("연결성공"));
    model.SetConnectText(0, QStringLiteral("연결성공")); // hidden: nothing to redraw
    EXPECT_EQ(changed.count(), 1);

    // Rows put in at the top or removed move every row below.
    model.InsertAtTop(Named(QStringLiteral("국회방송")));
    EXPECT_EQ(filter.rowCount(), 4);
    EXPECT_EQ(filter.ListRow(1), 2);
    model.RemoveRow(2);
    EXPECT_EQ(Shown(filter), (QStringList{QStringLiteral("국회방송"), QStringLiteral("국민방송"),
                                          QStringLiteral("국방TV")}));
    model.ReplaceRows(Names({QStringLiteral("국악"), QStringLiteral("EBS")}));
    EXPECT_EQ(Shown(filter), QStringList{QStringLiteral("국악")});
}

class ChannelFindViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        model.AppendRows(Names(kNames));
        view.resize(400, 300);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    QPoint ShownPoint(int row) const {
        return view.visualRect(view.Filter()->index(row, ChannelRecord::Name)).center();
    }

    ChannelListModel model;
    CChannelListView view{&model};
};

TEST_F(ChannelFindViewTest, ClicksAndEnterSpeakOfListRowsAndClosingKeepsTheSelection) {
    view.OpenFind();
    ASSERT_TRUE(view.IsFindOpen());
    EXPECT_EQ(view.FindField()->accessibleName(), QStringLiteral("채널 찾기"));
    // The field sits above the rows, not over the first one.
    EXPECT_GE(view.viewport()->geometry().top(), view.FindField()->geometry().bottom());

    QSignalSpy clicked(&view, &CChannelListView::rowClicked);
    QSignalSpy play(&view, &CChannelListView::findPlayRequested);
    view.FindField()->setText(QStringLiteral("ㄱ"));
    ASSERT_EQ(view.Filter()->rowCount(), 2);
    // Enter with nothing selected plays the first row shown.
    QTest::keyClick(view.FindField(), Qt::Key_Return);
    ASSERT_EQ(play.count(), 1);
    EXPECT_EQ(play.at(0).at(0).toInt(), 1);

    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, ShownPoint(1));
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toInt(), 4);
    QTest::keyClick(view.FindField(), Qt::Key_Enter);
    EXPECT_EQ(play.at(1).at(0).toInt(), 4);
    // Up in the field moves the selection to the row above.
    QTest::keyClick(view.FindField(), Qt::Key_Up);
    EXPECT_EQ(view.SelectedListRows(), QList<int>{1});
    QTest::keyClick(view.FindField(), Qt::Key_Down);
    EXPECT_EQ(view.SelectedListRows(), QList<int>{4});

    QSignalSpy closed(&view, &CChannelListView::findClosed);
    EXPECT_TRUE(view.CloseFind());
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(view.CloseFind());
    EXPECT_EQ(view.Filter()->rowCount(), static_cast<int>(kNames.size()));
    EXPECT_EQ(view.SelectedListRows(), QList<int>{4});
    EXPECT_EQ(view.viewport()->geometry().top(), 0);

    // A row chosen by the window is chosen by its list row.
    view.SelectListRow(2);
    EXPECT_EQ(view.SelectedListRows(), QList<int>{2});
}

// The user's hiding leaves out failed and geo-blocked channels, with a query
// or without, and taking the query back keeps them out.
TEST(ChannelFilterModel, HidesFailedAndGeoBlockedChannelsWithOrWithoutAQuery) {
    ChannelListModel model;
    std::vector<ChannelRecord> rows = Names(kNames);
    rows[2].fields[ChannelRecord::Info] = QStringLiteral("서울 · 지역제한");
    model.AppendRows(std::move(rows));
    model.SetFailureLookup([](const ChannelRecord& record) -> qint64 {
        return record.name() == QStringLiteral("국민방송") ? 1765000000 : 0;
    });
    ChannelFilterModel filter(&model);
    filter.SetHiding({true, false});
    EXPECT_EQ(Shown(filter), (QStringList{kNames[0], kNames[1], kNames[2], kNames[3], kNames[5]}));
    EXPECT_FALSE(filter.IsNarrowed());
    filter.SetHiding({true, true});
    filter.SetQuery(QStringLiteral("ㄱ"));
    EXPECT_EQ(Shown(filter), QStringList{QStringLiteral("국악방송")});
    filter.SetQuery(QString());
    EXPECT_EQ(Shown(filter), (QStringList{kNames[0], kNames[1], kNames[3], kNames[5]}));
    filter.SetHiding({});
    EXPECT_EQ(Shown(filter), kNames);
}
