#include "catalogue/ChannelListModel.h"

#include "app/LegacyText.h"
#include "catalogue/ChannelName.h"

#include <QColor>
#include <QDateTime>
#include <QStringList>
#include <QTextDocument>
#include <QThreadPool>

#include <memory>

namespace {
const QColor kText(255, 204, 51);
// The gold at half strength: still readable, plainly not like the others.
const QColor kDimmedText(128, 102, 26);
const QString kPartSeparator = QStringLiteral(" · ");

QString FailureTime(qint64 at) {
    return QDateTime::fromSecsSinceEpoch(at).toString(QStringLiteral("MM/dd HH:mm"));
}
const QColor kBackground(0, 0, 0);
} // namespace

ChannelListModel::ChannelListModel(QObject* parent) : QAbstractTableModel(parent) {}

int ChannelListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ChannelListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kShownColumns;
}

QVariant ChannelListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !IsRow(index.row()))
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return rows_[static_cast<size_t>(index.row())].fields[static_cast<size_t>(index.column())];
    case Qt::AccessibleTextRole:
        // The list moves by rows: whichever cell a screen reader lands on
        // reads the whole row.
        return RowSentence(index.row());
    case Qt::ForegroundRole:
        return FailedAt(index.row()) > 0 ? kDimmedText : kText;
    case Qt::ToolTipRole: {
        // Why the row is dimmed, then what the guide says is on.
        QStringList lines;
        if (const qint64 failed = FailedAt(index.row()); failed > 0)
            lines << QStringLiteral("%1에 시도한 주소가 모두 연결되지 않았습니다.")
                         .arg(FailureTime(failed));
        if (toolTip_) {
            const QString guide = toolTip_(rows_[static_cast<size_t>(index.row())]);
            if (!guide.isEmpty())
                lines << guide;
        }
        const QString tip = lines.join(QLatin1Char('\n'));
        if (tip.isEmpty())
            return {};
        // A guide's text is never taken as markup (no picture, no link).
        if (!Qt::mightBeRichText(tip))
            return tip;
        return QStringLiteral("<p style='white-space:pre'>") +
               tip.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")) +
               QStringLiteral("</p>");
    }
    case Qt::BackgroundRole:
        return kBackground;
    case Qt::TextAlignmentRole:
        return index.column() == ChannelRecord::Connect
                   ? QVariant(Qt::AlignCenter)
                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant ChannelListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    // The header is never drawn; its names are for screen readers, which ask
    // for either role.
    static const char* const kNames[ChannelRecord::FieldCount] = {
        "번호", "채널", "정보", "연결", "주소", "웹사이트", "웹 주소"};
    if (orientation != Qt::Horizontal || section < 0 || section >= ChannelRecord::FieldCount)
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return QString::fromUtf8(kNames[section]);
    return {};
}

QString ChannelListModel::RowSentence(int row) const {
    if (!IsRow(row))
        return {};
    const ChannelRecord& record = rows_[static_cast<size_t>(row)];
    // INFO's region, group and marks are drawn joined by a middle dot; read
    // aloud they are parts of the sentence like the others, not a symbol.
    QStringList parts;
    for (const int field : {ChannelRecord::Name, ChannelRecord::Info, ChannelRecord::Connect}) {
        const QString& text = record.fields[static_cast<size_t>(field)];
        for (const QString& part : text.split(kPartSeparator)) {
            const QString trimmed = part.trimmed();
            if (!trimmed.isEmpty())
                parts << trimmed;
        }
    }
    const qint64 failed = FailedAt(row);
    if (failed > 0)
        parts << QStringLiteral("%1 연결 실패").arg(FailureTime(failed));
    return parts.join(QStringLiteral(", "));
}

void ChannelListModel::SetFailureLookup(FailureLookup lookup) {
    failedAt_ = std::move(lookup);
    FailuresChanged();
}

qint64 ChannelListModel::FailedAt(int row) const {
    if (!failedAt_ || !IsRow(row))
        return 0;
    return failedAt_(rows_[static_cast<size_t>(row)]);
}

void ChannelListModel::FailuresChanged() {
    if (rows_.empty())
        return;
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                     {Qt::ForegroundRole, Qt::ToolTipRole, Qt::AccessibleTextRole});
}

bool ChannelListModel::IsGeoBlocked(int row) const {
    return IsRow(row) && rows_[static_cast<size_t>(row)]
                             .info()
                             .split(kPartSeparator)
                             .contains(ChannelName::GeoBlockedMark());
}

namespace {

// Freeing tens of thousands of rows (seven strings each) holds the window
// up for tens of milliseconds: a long list is freed on a worker thread.
void FreeRows(std::vector<ChannelRecord> rows) {
    constexpr size_t kFreeHereUpTo = 2000;
    if (rows.size() <= kFreeHereUpTo)
        return;
    auto old = std::make_shared<std::vector<ChannelRecord>>(std::move(rows));
    QThreadPool::globalInstance()->start([old]() mutable { old.reset(); });
}

} // namespace

void ChannelListModel::Clear() {
    if (rows_.empty())
        return;
    beginResetModel();
    std::vector<ChannelRecord> old;
    old.swap(rows_);
    endResetModel();
    FreeRows(std::move(old));
}

void ChannelListModel::ReplaceRows(std::vector<ChannelRecord> records) {
    beginResetModel();
    rows_.swap(records);
    endResetModel();
    FreeRows(std::move(records));
}

void ChannelListModel::AppendRows(std::vector<ChannelRecord> records) {
    if (records.empty())
        return;
    const int first = static_cast<int>(rows_.size());
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(records.size()) - 1);
    if (rows_.empty()) {
        rows_ = std::move(records);
    } else {
        rows_.insert(rows_.end(), std::make_move_iterator(records.begin()),
                     std::make_move_iterator(records.end()));
    }
    endInsertRows();
}

void ChannelListModel::InsertAtTop(const ChannelRecord& record) {
    beginInsertRows(QModelIndex(), 0, 0);
    rows_.insert(rows_.begin(), record);
    endInsertRows();
}

void ChannelListModel::InsertEachAtTop(const std::vector<ChannelRecord>& records) {
    if (records.empty())
        return;
    beginInsertRows(QModelIndex(), 0, static_cast<int>(records.size()) - 1);
    rows_.insert(rows_.begin(), records.rbegin(), records.rend());
    endInsertRows();
}

bool ChannelListModel::RemoveRow(int row) {
    if (!IsRow(row))
        return false;
    beginRemoveRows(QModelIndex(), row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
    return true;
}

QString ChannelListModel::CellText(int row, int column) const {
    if (!IsRow(row) || column < 0 || column >= ChannelRecord::FieldCount)
        return {};
    const QString& text = rows_[static_cast<size_t>(row)].fields[static_cast<size_t>(column)];
    return LegacyText::CutToBytes(text, kCellBytes, !LegacyText::FitsCp949(text));
}

ChannelRecord ChannelListModel::Row(int row) const {
    ChannelRecord record;
    for (int column = 0; column < ChannelRecord::FieldCount; ++column)
        record.fields[static_cast<size_t>(column)] = CellText(row, column);
    if (IsRow(row)) {
        record.spareAddresses = rows_[static_cast<size_t>(row)].spareAddresses;
        record.fromList = rows_[static_cast<size_t>(row)].fromList;
    }
    return record;
}

void ChannelListModel::SetConnectText(int row, const QString& text) {
    if (!IsRow(row))
        return;
    rows_[static_cast<size_t>(row)].fields[ChannelRecord::Connect] = text;
    // Every cell of the row reads the row's sentence, which names the state.
    emit dataChanged(index(row, 0), index(row, kShownColumns - 1),
                     {Qt::DisplayRole, Qt::AccessibleTextRole});
}

std::vector<ChannelRecord> ChannelListModel::Rows() const {
    return rows_;
}
