#include "catalogue/ChannelFilterModel.h"

#include "catalogue/ChannelListModel.h"

#include <algorithm>

ChannelFilterModel::ChannelFilterModel(ChannelListModel* source, QObject* parent)
    : QAbstractProxyModel(parent), source_(source) {
    QAbstractProxyModel::setSourceModel(source_);
    ConnectSource();
}

void ChannelFilterModel::ConnectSource() {
    // Unnarrowed, the rows are the list's own and every change passes
    // through as it is. Narrowed, rows added at the end are read as they
    // come (a tab still arriving); any other change reads the list again.
    connect(source_, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(source_, &QAbstractItemModel::modelReset, this, [this] {
        if (narrowed_) {
            shown_.clear();
            Collect(0, source_->rowCount() - 1, shown_);
        }
        endResetModel();
    });
    connect(source_, &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this](const QModelIndex&, int first, int last) {
                earlier_.clear();
                appending_ = narrowed_ && first == source_->rowCount();
                if (!narrowed_)
                    beginInsertRows(QModelIndex(), first, last);
                else if (!appending_)
                    beginResetModel();
            });
    connect(source_, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) {
                if (!narrowed_) {
                    endInsertRows();
                    return;
                }
                if (!appending_) {
                    shown_.clear();
                    Collect(0, source_->rowCount() - 1, shown_);
                    endResetModel();
                    return;
                }
                appending_ = false;
                std::vector<int> added;
                Collect(first, last, added);
                if (added.empty())
                    return;
                const int at = static_cast<int>(shown_.size());
                beginInsertRows(QModelIndex(), at, at + static_cast<int>(added.size()) - 1);
                shown_.insert(shown_.end(), added.begin(), added.end());
                endInsertRows();
            });
    connect(source_, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex&, int first, int last) {
                earlier_.clear();
                if (narrowed_)
                    beginResetModel();
                else
                    beginRemoveRows(QModelIndex(), first, last);
            });
    connect(source_, &QAbstractItemModel::rowsRemoved, this, [this] {
        if (!narrowed_) {
            endRemoveRows();
            return;
        }
        shown_.clear();
        Collect(0, source_->rowCount() - 1, shown_);
        endResetModel();
    });
    connect(source_, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight,
                   const QList<int>& roles) {
                if (!narrowed_) {
                    emit dataChanged(index(topLeft.row(), topLeft.column()),
                                     index(bottomRight.row(), bottomRight.column()), roles);
                    return;
                }
                const auto from = std::lower_bound(shown_.begin(), shown_.end(), topLeft.row());
                const auto to = std::upper_bound(from, shown_.end(), bottomRight.row());
                if (from == to)
                    return;
                emit dataChanged(
                    index(static_cast<int>(from - shown_.begin()), topLeft.column()),
                    index(static_cast<int>(to - shown_.begin()) - 1, bottomRight.column()), roles);
            });
    connect(source_, &QAbstractItemModel::layoutAboutToBeChanged, this, [this] {
        earlier_.clear();
        beginResetModel();
    });
    connect(source_, &QAbstractItemModel::layoutChanged, this, [this] {
        if (narrowed_) {
            shown_.clear();
            Collect(0, source_->rowCount() - 1, shown_);
        }
        endResetModel();
    });
}

void ChannelFilterModel::Collect(int first, int last, std::vector<int>& into) const {
    const bool query = !finder_.IsEmpty();
    for (int row = first; row <= last; ++row)
        if ((!query || finder_.Find(source_->Name(row)).found()) && !Hides(row))
            into.push_back(row);
}

bool ChannelFilterModel::Hides(int row) const {
    return (hiding_.failed && source_->FailedAt(row) > 0) ||
           (hiding_.geoBlocked && source_->IsGeoBlocked(row));
}

void ChannelFilterModel::Recollect() {
    earlier_.clear();
    beginResetModel();
    narrowed_ = !finder_.IsEmpty() || hiding_.Any();
    shown_.clear();
    if (narrowed_)
        Collect(0, source_->rowCount() - 1, shown_);
    else
        shown_.shrink_to_fit();
    endResetModel();
}

void ChannelFilterModel::SetHiding(Hiding hiding) {
    if (hiding == hiding_)
        return;
    hiding_ = hiding;
    Recollect();
}

void ChannelFilterModel::SetQuery(const QString& query) {
    if (query == query_)
        return;
    NameFinder finder(query);
    if (finder.IsEmpty()) {
        query_.clear();
        finder_ = std::move(finder);
        Recollect();
        return;
    }
    // A query that only grows matches no name the shorter one missed: the
    // last syllable still being typed matches more than it does once the
    // next character follows it, so reading the rows shown is enough.
    std::vector<int> next;
    if (!finder_.IsEmpty() && query.startsWith(query_)) {
        earlier_.emplace_back(query_, shown_);
    } else {
        while (!earlier_.empty() && !query.startsWith(earlier_.back().first))
            earlier_.pop_back();
    }
    finder_ = std::move(finder);
    if (!earlier_.empty() && earlier_.back().first == query) {
        next = std::move(earlier_.back().second);
        earlier_.pop_back();
    } else if (!earlier_.empty()) {
        const std::vector<int>& from = earlier_.back().second;
        next.reserve(from.size());
        for (int row : from)
            if (finder_.Find(source_->Name(row)).found())
                next.push_back(row);
    } else {
        Collect(0, source_->rowCount() - 1, next);
    }
    beginResetModel();
    query_ = query;
    narrowed_ = true;
    shown_.swap(next);
    endResetModel();
}

NameFinder::Match ChannelFilterModel::MatchIn(int row) const {
    const int listRow = ListRow(row);
    if (finder_.IsEmpty() || listRow < 0)
        return {};
    return finder_.Find(source_->Name(listRow));
}

int ChannelFilterModel::ListRow(int row) const {
    if (row < 0 || row >= rowCount())
        return -1;
    return narrowed_ ? shown_[static_cast<size_t>(row)] : row;
}

int ChannelFilterModel::ShownRow(int listRow) const {
    if (listRow < 0 || listRow >= source_->rowCount())
        return -1;
    if (!narrowed_)
        return listRow;
    const auto at = std::lower_bound(shown_.begin(), shown_.end(), listRow);
    return at != shown_.end() && *at == listRow ? static_cast<int>(at - shown_.begin()) : -1;
}

QModelIndex ChannelFilterModel::index(int row, int column, const QModelIndex& parent) const {
    if (parent.isValid() || row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    return createIndex(row, column);
}

QModelIndex ChannelFilterModel::parent(const QModelIndex&) const {
    return {};
}

int ChannelFilterModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid())
        return 0;
    return narrowed_ ? static_cast<int>(shown_.size()) : source_->rowCount();
}

int ChannelFilterModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : source_->columnCount();
}

QModelIndex ChannelFilterModel::mapToSource(const QModelIndex& proxyIndex) const {
    if (!proxyIndex.isValid())
        return {};
    return source_->index(ListRow(proxyIndex.row()), proxyIndex.column());
}

QModelIndex ChannelFilterModel::mapFromSource(const QModelIndex& sourceIndex) const {
    if (!sourceIndex.isValid())
        return {};
    return index(ShownRow(sourceIndex.row()), sourceIndex.column());
}
