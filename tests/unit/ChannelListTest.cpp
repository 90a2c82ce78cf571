#include "catalogue/ChannelListModel.h"
#include "catalogue/RegionChoice.h"

#include <QColor>
#include <QDateTime>

#include <gtest/gtest.h>

namespace {

ChannelRecord Row(const QString& name, const QString& website = QStringLiteral("N")) {
    ChannelRecord r;
    r.fields = {QStringLiteral("1"),
                name,
                QStringLiteral("정보"),
                QStringLiteral("연결대기"),
                QStringLiteral("http://127.0.0.1/s"),
                website,
                QStringLiteral("http://127.0.0.1/page")};
    return r;
}

} // namespace

TEST(ChannelListModel, KeepsRowsInListOrderAndHandsCellsBackCut) {
    ChannelListModel model;
    model.AppendRows({Row(QStringLiteral("A")), Row(QStringLiteral("B"))});
    model.AppendRows({Row(QStringLiteral("C"))});
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.columnCount(), 4); // the data fields are kept, not shown
    EXPECT_EQ(model.CellText(2, ChannelRecord::Name), QStringLiteral("C"));
    // The user tab inserts each line at the top: the file's last line ends on top.
    model.Clear();
    model.InsertEachAtTop(
        {Row(QStringLiteral("A")), Row(QStringLiteral("B")), Row(QStringLiteral("C"))});
    EXPECT_EQ(model.CellText(0, ChannelRecord::Name), QStringLiteral("C"));
    EXPECT_EQ(model.CellText(2, ChannelRecord::Name), QStringLiteral("A"));
    model.InsertAtTop(Row(QStringLiteral("D")));
    EXPECT_EQ(model.CellText(0, ChannelRecord::Name), QStringLiteral("D"));
    EXPECT_TRUE(model.RemoveRow(1));
    EXPECT_FALSE(model.RemoveRow(-1));
    EXPECT_FALSE(model.RemoveRow(3));
    EXPECT_EQ(model.rowCount(), 3);
    // Rows that do not exist read as empty cells.
    EXPECT_EQ(model.Row(-1), ChannelRecord());
    EXPECT_EQ(model.Row(99), ChannelRecord());
    // A long cell comes back as its first 259 bytes, whole characters only.
    model.AppendRows({Row(QString(200, QChar(0xAC00)))});
    EXPECT_EQ(model.CellText(3, ChannelRecord::Name), QString(129, QChar(0xAC00)));
    model.SetConnectText(0, QStringLiteral("연결중"));
    EXPECT_EQ(model.CellText(0, ChannelRecord::Connect), QStringLiteral("연결중"));
}

TEST(ChannelListModel, LooksLikeTheSkin) {
    ChannelListModel model;
    model.AppendRows({Row(QStringLiteral("A"))});
    EXPECT_EQ(model.data(model.index(0, 1), Qt::ForegroundRole).value<QColor>(),
              QColor(255, 204, 51));
    EXPECT_EQ(model.data(model.index(0, 1), Qt::BackgroundRole).value<QColor>(), QColor(0, 0, 0));
    EXPECT_EQ(model.data(model.index(0, 3), Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
}

TEST(RegionChoice, DoubleClickRules) {
    using RegionChoice::RowAction;
    EXPECT_EQ(RegionChoice::ActionFor(Row(QStringLiteral("부산MBC"), QStringLiteral("Y")),
                                      QStringLiteral("0")),
              RowAction::OpenWebPage);
    EXPECT_EQ(RegionChoice::ActionFor(Row(QStringLiteral("부산MBC")), QStringLiteral("0")),
              RowAction::AskRegion);
    EXPECT_EQ(RegionChoice::ActionFor(Row(QStringLiteral("SBS 라디오")), QStringLiteral("0")),
              RowAction::AskRegion);
    EXPECT_EQ(RegionChoice::ActionFor(Row(QStringLiteral("부산MBC")), QStringLiteral("1")),
              RowAction::Play);
    EXPECT_EQ(RegionChoice::ActionFor(Row(QStringLiteral("부산MBC")), QString()), RowAction::Play);
    EXPECT_EQ(RegionChoice::ActionFor(Row(QStringLiteral("KBS1")), QStringLiteral("0")),
              RowAction::Play);
    EXPECT_EQ(RegionChoice::ActionFor(Row(QStringLiteral("mbc")), QStringLiteral("0")),
              RowAction::Play);
}

TEST(RegionChoice, PlaceListsAndPreselection) {
    EXPECT_EQ(RegionChoice::ModeFor(QStringLiteral("MBC SBS")), 1);
    EXPECT_EQ(RegionChoice::ModeFor(QStringLiteral("SBS")), 2);
    EXPECT_EQ(
        RegionChoice::MbcPlaces().join(QLatin1Char(',')),
        QStringLiteral(
            "강릉,광주,대구,대전,마산,목포,부산,삼척,서울,안동,여수,울산,원주,전주,제주,진주,청주,"
            "춘천,충주,포항"));
    EXPECT_EQ(RegionChoice::SbsPlaces().join(QLatin1Char(',')),
              QStringLiteral("강원,광주,대구,부산,서울,울산,전주,제주,청주"));
    EXPECT_EQ(RegionChoice::PreselectedIndex(RegionChoice::MbcPlaces(), QStringLiteral("서울")), 8);
    EXPECT_EQ(RegionChoice::PreselectedIndex(RegionChoice::MbcPlaces(), QStringLiteral("강원")),
              -1);
    EXPECT_EQ(RegionChoice::PreselectedIndex(RegionChoice::SbsPlaces(), QStringLiteral("강원")), 0);
    EXPECT_EQ(RegionChoice::PreselectedIndex(RegionChoice::SbsPlaces(), QStringLiteral("자동")),
              -1);
}

TEST(RegionChoice, ABoxStoresWhatItShowsOnceTheUserChose) {
    // The settings dialog's box starts with the automatic region.
    EXPECT_EQ(RegionChoice::SettingsPlaces().value(0), QStringLiteral("자동"));
    EXPECT_EQ(RegionChoice::SettingsPlaces().mid(1), RegionChoice::MbcPlaces());
    // Left alone, or showing no place (a stored region the box does not
    // list): the stored region is kept.
    EXPECT_EQ(RegionChoice::RegionToStore(false, 8, QStringLiteral("서울")), std::nullopt);
    EXPECT_EQ(RegionChoice::RegionToStore(true, -1, QString()), std::nullopt);
    // Chosen, even the place it showed already: stored as shown.
    EXPECT_EQ(RegionChoice::RegionToStore(true, 0, QStringLiteral("자동")), QStringLiteral("자동"));
    EXPECT_EQ(RegionChoice::RegionToStore(true, 8, QStringLiteral("서울")), QStringLiteral("서울"));
}

TEST(RegionChoice, RowAfterRegionChangeFollowsTheBroadcasterNotTheIndex) {
    // TV for 부산 (MBC 1, KBS 3, SBS 1, ETC 2) and for the empty region,
    // where every city's station is listed.
    const CatalogueFamilyBlocks busan = {{QStringLiteral("MBC"), 0, 1},
                                         {QStringLiteral("KBS"), 1, 3},
                                         {QStringLiteral("SBS"), 4, 1},
                                         {QStringLiteral("ETC"), 5, 2}};
    const CatalogueFamilyBlocks all = {{QStringLiteral("MBC"), 0, 20},
                                       {QStringLiteral("KBS"), 20, 3},
                                       {QStringLiteral("SBS"), 23, 9},
                                       {QStringLiteral("ETC"), 32, 2}};
    // SBS 부산 is row 4; after the change row 4 is an MBC station, and the
    // SBS block's first row plays instead.
    EXPECT_EQ(RegionChoice::RowAfterRegionChange(busan, 4, all, true), 23);
    // An MBC row goes to the MBC block's first row, wherever it is.
    EXPECT_EQ(RegionChoice::RowAfterRegionChange(all, 7, busan, true), 0);
    // Unfiltered families keep the same entry; so does an unchanged region.
    EXPECT_EQ(RegionChoice::RowAfterRegionChange(busan, 6, all, true), 33);
    EXPECT_EQ(RegionChoice::RowAfterRegionChange(busan, 2, all, true), 21);
    EXPECT_EQ(RegionChoice::RowAfterRegionChange(all, 25, all, false), 25);
    // A row in no family, or a family gone, plays nothing.
    EXPECT_EQ(RegionChoice::RowAfterRegionChange(busan, 9, all, true), -1);
    EXPECT_EQ(RegionChoice::RowAfterRegionChange(busan, 4, {{QStringLiteral("MBC"), 0, 1}}, true),
              -1);
}

TEST(ChannelListModel, AScreenReaderHearsARowAsOneSentenceThatFollowsItsState) {
    ChannelListModel model;
    ChannelRecord record = Row(QStringLiteral("KBS 1TV"));
    record.fields[ChannelRecord::Info] = QStringLiteral("서울 · 간헐");
    record.fields[ChannelRecord::Connect].clear();
    model.AppendRows({record});
    EXPECT_EQ(model.data(model.index(0, 3), Qt::AccessibleTextRole).toString(),
              QStringLiteral("KBS 1TV, 서울, 간헐"));
    model.SetConnectText(0, QStringLiteral("연결성공"));
    EXPECT_EQ(model.data(model.index(0, 0), Qt::AccessibleTextRole).toString(),
              QStringLiteral("KBS 1TV, 서울, 간헐, 연결성공"));
    // What is drawn stays the cell's own text.
    EXPECT_EQ(model.data(model.index(0, 1), Qt::DisplayRole).toString(), QStringLiteral("KBS 1TV"));

    // A channel that failed everywhere is dimmed, says when, and is read so.
    const QColor gold = model.data(model.index(0, 1), Qt::ForegroundRole).value<QColor>();
    constexpr qint64 kFailedAt = 1765000000;
    model.SetFailureLookup([](const ChannelRecord&) { return kFailedAt; });
    const QString when =
        QDateTime::fromSecsSinceEpoch(kFailedAt).toString(QStringLiteral("MM/dd HH:mm"));
    EXPECT_LT(model.data(model.index(0, 1), Qt::ForegroundRole).value<QColor>().value(),
              gold.value());
    EXPECT_TRUE(model.data(model.index(0, 1), Qt::ToolTipRole).toString().startsWith(when));
    EXPECT_EQ(model.RowSentence(0),
              QStringLiteral("KBS 1TV, 서울, 간헐, 연결성공, %1 연결 실패").arg(when));
}
