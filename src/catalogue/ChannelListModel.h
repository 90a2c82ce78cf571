#pragma once

#include "catalogue/ChannelRecord.h"

#include <QAbstractTableModel>

#include <functional>

#include <vector>

// The rows of the channel list: one ChannelRecord a row, NUM, NAME, INFO and
// CONNECT as columns; URL, WEBSITE and WEBURL are kept in the rows but are no
// columns, so neither the view nor a screen reader ever shows them. Black
// background, gold text, the CONNECT column centred. A screen reader reads
// the headers by their Korean names and any cell as its row's sentence.
class ChannelListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kCellBytes = 259;
    static constexpr int kShownColumns = ChannelRecord::Url;

    explicit ChannelListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void Clear();
    // Appends rows at the end, in order (catalogue tabs).
    void AppendRows(std::vector<ChannelRecord> records);
    // Puts these rows in place of the current ones in one model reset (a
    // refreshed list of tens of thousands: one signal, not a clear and an insert).
    void ReplaceRows(std::vector<ChannelRecord> records);
    // Inserts one row at the top (the user tab shows the newest line first).
    void InsertAtTop(const ChannelRecord& record);
    // Inserts every record at the top in turn: the last one ends on top.
    void InsertEachAtTop(const std::vector<ChannelRecord>& records);
    bool RemoveRow(int row);

    bool IsRow(int row) const { return row >= 0 && row < static_cast<int>(rows_.size()); }
    // A row's record, each cell as the list hands it back (at most 259 bytes),
    // with its spare addresses whole; an empty record for a row that does not exist.
    ChannelRecord Row(int row) const;
    // A row's name as held, without a copy (find as you type reads every row).
    const QString& Name(int row) const { return rows_[static_cast<size_t>(row)].name(); }
    // A cell as the list hands it back: at most 259 bytes, never a split character.
    QString CellText(int row, int column) const;
    void SetConnectText(int row, const QString& text);
    // What a screen reader says for a row: NAME, INFO's parts (region, group,
    // marks as written) and CONNECT, comma-separated, the empty ones left out
    // ("KBS 1TV, 서울, 지역제한, 1080p").
    QString RowSentence(int row) const;
    // Every row, top first.
    std::vector<ChannelRecord> Rows() const;

    // When a row's channel failed on every address in its last try (seconds
    // since the epoch, 0 for not): such a row is drawn dimmed, with the time
    // in its tooltip and its sentence, until it plays again.
    using FailureLookup = std::function<qint64(const ChannelRecord&)>;
    void SetFailureLookup(FailureLookup lookup);
    qint64 FailedAt(int row) const;
    // The failures changed: every row is drawn again.
    void FailuresChanged();
    // The list marked the row's channel as blocked outside its country.
    bool IsGeoBlocked(int row) const;

    // A row's tooltip (Qt::ToolTipRole), asked for when the pointer rests
    // on it: the programme guide's now and next. Plain text; text that
    // could read as markup is shown escaped.
    using ToolTipProvider = std::function<QString(const ChannelRecord& record)>;
    void SetToolTipProvider(ToolTipProvider provider) { toolTip_ = std::move(provider); }

private:
    std::vector<ChannelRecord> rows_;
    FailureLookup failedAt_;
    ToolTipProvider toolTip_;
};
