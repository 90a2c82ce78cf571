#pragma once

#include "catalogue/NameFinder.h"

#include <QAbstractProxyModel>

#include <utility>
#include <vector>

class ChannelListModel;

// The channel list as the find field narrows it: the rows whose name
// matches the query, in the list's order. The user may also hide the rows
// whose channel failed on every address and those the list marks as
// geo-blocked; that is judged when the list arrives or the choice changes,
// not while the user looks (a channel failing under the pointer stays).
// Without a query or hiding every row shows as it is. A query that grows searches only the rows
// already shown, so each key typed into a tab of 100,000 channels reads fewer names, and a key
// taken back shows the rows it had before.
class ChannelFilterModel : public QAbstractProxyModel {
    Q_OBJECT
public:
    explicit ChannelFilterModel(ChannelListModel* source, QObject* parent = nullptr);

    // Narrows the rows to the names the query matches; empty shows all.
    void SetQuery(const QString& query);
    const QString& Query() const { return query_; }
    // A query narrows the rows (hiding alone does not count).
    bool IsNarrowed() const { return !finder_.IsEmpty(); }

    struct Hiding {
        bool failed = false;
        bool geoBlocked = false;
        bool Any() const { return failed || geoBlocked; }
        bool operator==(const Hiding& other) const {
            return failed == other.failed && geoBlocked == other.geoBlocked;
        }
    };
    void SetHiding(Hiding hiding);

    // Where the query matches in a shown row's name (nothing when not narrowed).
    NameFinder::Match MatchIn(int row) const;

    // The list's row of a shown row, or -1; the shown row of a list row, or -1.
    int ListRow(int row) const;
    int ShownRow(int listRow) const;

    QModelIndex index(int row, int column,
                      const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;

private:
    void Collect(int first, int last, std::vector<int>& into) const;
    bool Hides(int row) const;
    // Shows the rows the query and the hiding keep, read from the whole list.
    void Recollect();
    void ConnectSource();

    ChannelListModel* source_;
    QString query_;
    NameFinder finder_{QString()};
    Hiding hiding_;
    // Some rows are left out (a query or hiding): shown_ holds the rest.
    bool narrowed_ = false;
    // The list rows shown while narrowed, ascending.
    std::vector<int> shown_;
    // The shorter queries typed before this one, with their rows: taking a
    // key back shows them again without reading the list. Any change of
    // the list forgets them.
    std::vector<std::pair<QString, std::vector<int>>> earlier_;
    // Rows the list is about to insert at its end while narrowed: added
    // after, as the matching ones arrive.
    bool appending_ = false;
};
