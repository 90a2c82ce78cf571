#include "catalogue/CChannelListView.h"

#include "catalogue/ChannelFilterModel.h"
#include "catalogue/ChannelListModel.h"
#include "catalogue/ListScrollBarStyle.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
#include <functional>
#include <utility>

namespace {
const QColor kGold(255, 204, 51);
constexpr int kRowHeight = 16;
constexpr int kColumnWidths[] = {70, 171, 70, 70};
constexpr int kFindHeight = 20;

// Draws a name with the part the find field matched marked, gold on dark
// turned dark on gold, so the eye finds why the row is shown.
class MatchDelegate : public QStyledItemDelegate {
public:
    MatchDelegate(const ChannelFilterModel* filter, QObject* parent)
        : QStyledItemDelegate(parent), filter_(filter) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const NameFinder::Match match = index.column() == ChannelRecord::Name
                                            ? filter_->MatchIn(index.row())
                                            : NameFinder::Match{};
        if (!match.found() || match.length == 0) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QString text = item.text;
        item.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : nullptr;
        if (style)
            style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
        const QRect box = option.rect.adjusted(3, 0, -3, 0);
        const QFontMetrics metrics(item.font);
        const int start = std::min<int>(match.start, static_cast<int>(text.size()));
        const int length = std::min<int>(match.length, static_cast<int>(text.size()) - start);
        const QString before = text.left(start);
        const QString found = text.mid(start, length);
        const int x = box.left() + metrics.horizontalAdvance(before);
        const int width = metrics.horizontalAdvance(found);
        painter->save();
        painter->setClipRect(option.rect);
        painter->setFont(item.font);
        const bool selected = option.state & QStyle::State_Selected;
        // The row's own colour (a dimmed row stays dimmed while narrowed).
        const QColor textColour = selected ? item.palette.color(QPalette::HighlightedText)
                                           : item.palette.color(QPalette::Text);
        painter->setPen(textColour);
        painter->drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
        const QRect mark(x, box.top() + 1, width, box.height() - 2);
        painter->fillRect(mark, kGold);
        painter->setPen(Qt::black);
        painter->drawText(QRect(x, box.top(), width + 2, box.height()),
                          Qt::AlignLeft | Qt::AlignVCenter, found);
        painter->restore();
    }

private:
    const ChannelFilterModel* filter_;
};

// The find field: typing is its own; Up and Down move the list's
// selection, so a name found is chosen without leaving the field.
class FindLine : public QLineEdit {
public:
    FindLine(QWidget* parent, std::function<void(int)> step, std::function<void()> directory)
        : QLineEdit(parent), step_(std::move(step)), directory_(std::move(directory)) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && (event->modifiers() & Qt::ControlModifier)) {
            directory_();
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
            step_(event->key() == Qt::Key_Up ? -1 : 1);
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
        // A typing key the field leaves alone (Enter after it has played,
        // Page Up) would go on to the list and the window, where Enter means
        // full screen: typing keys end here.
        if (!(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            event->accept();
    }

private:
    std::function<void(int)> step_;
    std::function<void()> directory_;
};

constexpr int kDirectoryButtonWidth = 120;

} // namespace

CChannelListView::CChannelListView(ChannelListModel* model, QWidget* parent)
    : QTableView(parent), model_(model), filter_(new ChannelFilterModel(model, this)) {
    setObjectName(QStringLiteral("channelList"));
    setAccessibleName(QStringLiteral("채널목록"));
    // The headers are hidden and their sizes given before the model comes:
    // sizing them from their text would load the font before the window is
    // up, which its first paint does anyway.
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(kRowHeight);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    horizontalHeader()->setMinimumSectionSize(0);
    setModel(filter_);
    setItemDelegate(new MatchDelegate(filter_, this));
    setFrameShape(QFrame::NoFrame);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setFocusPolicy(Qt::NoFocus); // keys belong to the window
    setTabKeyNavigation(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setContextMenuPolicy(Qt::NoContextMenu);
    for (int column = 0; column < 4; ++column)
        setColumnWidth(column, kColumnWidths[column]);

    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::black);
    p.setColor(QPalette::Window, Qt::black);
    p.setColor(QPalette::Text, kGold);
    p.setColor(QPalette::Highlight, QColor(90, 70, 20));
    p.setColor(QPalette::HighlightedText, QColor(255, 230, 150));
    setPalette(p);
    auto* barStyle = new ListScrollBarStyle;
    barStyle->setParent(this);
    verticalScrollBar()->setStyle(barStyle);
    horizontalScrollBar()->setStyle(barStyle);
}

int CChannelListView::ListRowAt(const QPoint& pos) const {
    const QModelIndex hit = indexAt(pos);
    return hit.isValid() ? filter_->ListRow(hit.row()) : -1;
}

void CChannelListView::SelectListRow(int row) {
    const int shown = filter_->ShownRow(row);
    if (shown < 0) {
        clearSelection();
        return;
    }
    selectRow(shown);
    scrollTo(filter_->index(shown, ChannelRecord::Name));
}

QList<int> CChannelListView::SelectedListRows() const {
    QList<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.append(filter_->ListRow(index.row()));
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CChannelListView::Narrow(const QString& text) {
    // The rows selected stay selected when still shown, and come back when
    // every row shows again.
    QList<int> selected = SelectedListRows();
    if (selected.isEmpty())
        selected = hiddenSelection_;
    const int current = filter_->ListRow(currentIndex().row());
    filter_->SetQuery(text);
    QItemSelection keep;
    for (int row : selected) {
        const int shown = filter_->ShownRow(row);
        if (shown >= 0)
            keep.select(filter_->index(shown, 0),
                        filter_->index(shown, filter_->columnCount() - 1));
    }
    if (!keep.isEmpty())
        selectionModel()->select(keep, QItemSelectionModel::ClearAndSelect);
    // A selection the query hides comes back with the rows it is on.
    hiddenSelection_ = keep.isEmpty() ? selected : QList<int>();
    const int shownCurrent = filter_->ShownRow(current);
    if (shownCurrent >= 0) {
        selectionModel()->setCurrentIndex(filter_->index(shownCurrent, ChannelRecord::Name),
                                          QItemSelectionModel::NoUpdate);
        scrollTo(filter_->index(shownCurrent, ChannelRecord::Name), PositionAtCenter);
    } else if (!selected.isEmpty() && filter_->ShownRow(selected.first()) >= 0) {
        scrollTo(filter_->index(filter_->ShownRow(selected.first()), ChannelRecord::Name),
                 PositionAtCenter);
    }
}

void CChannelListView::StepSelection(int by) {
    const int count = filter_->rowCount();
    if (count == 0)
        return;
    const QList<int> selected = SelectedListRows();
    const int from = selected.isEmpty() ? -1 : filter_->ShownRow(selected.first());
    const int to = from < 0 ? (by > 0 ? 0 : count - 1) : std::clamp(from + by, 0, count - 1);
    selectRow(to);
    scrollTo(filter_->index(to, ChannelRecord::Name));
    emit rowClicked(filter_->ListRow(to));
}

int CChannelListView::RowToPlay() const {
    const QList<int> selected = SelectedListRows();
    for (int row : selected)
        if (row >= 0)
            return row;
    return filter_->ListRow(0);
}

void CChannelListView::MakeFind() {
    // Made when first needed: a hidden line edit and button made with the
    // list cost every start some 0.4 MB, though most starts never find.
    if (findField_)
        return;
    findField_ = new FindLine(
        this, [this](int by) { StepSelection(by); }, [this] { RequestDirectorySearch(); });
    directoryButton_ = new QPushButton(QStringLiteral("디렉터리에서 찾기"), this);
    findField_->setStyleSheet(QStringLiteral(
        "QLineEdit { background: rgb(20,16,6); color: rgb(255,204,51); border: 1px solid "
        "#5a4614; padding: 0 4px; selection-background-color: #5a4614; }"));
    directoryButton_->setStyleSheet(QStringLiteral(
        "QPushButton { background: rgb(40,32,12); color: rgb(255,204,51); border: 1px "
        "solid #5a4614; padding: 0 4px; } QPushButton:disabled { color: "
        "rgb(128,102,26); }"));
    findField_->setObjectName(QStringLiteral("findField"));
    findField_->setAccessibleName(QStringLiteral("채널 찾기"));
    findField_->setPlaceholderText(QStringLiteral("채널 찾기"));
    findField_->hide();
    directoryButton_->setObjectName(QStringLiteral("directorySearch"));
    directoryButton_->setAccessibleName(QStringLiteral("디렉터리에서 찾기"));
    directoryButton_->setToolTip(
        QStringLiteral("라디오 디렉터리에서 이 이름을 찾습니다 (Ctrl+Enter)"));
    directoryButton_->setFocusPolicy(Qt::NoFocus); // the keys stay in the field
    directoryButton_->hide();
    connect(directoryButton_, &QPushButton::clicked, this,
            &CChannelListView::RequestDirectorySearch);
    // The committed text, typed or from the input method, narrows at once.
    connect(findField_, &QLineEdit::textChanged, this, &CChannelListView::Narrow);
    connect(findField_, &QLineEdit::returnPressed, this, [this] {
        const int row = RowToPlay();
        if (row >= 0)
            emit findPlayRequested(row);
    });
}

QLineEdit* CChannelListView::FindField() {
    MakeFind();
    return findField_;
}

QPushButton* CChannelListView::DirectoryButton() {
    MakeFind();
    return directoryButton_;
}

void CChannelListView::OpenFind() {
    MakeFind();
    if (findField_->isHidden()) {
        findField_->show();
        directoryButton_->setVisible(directoryOffered_ && directoryOffered_());
        ShowDirectorySearchState(QStringLiteral("디렉터리에서 찾기"), false);
        PlaceFind();
        setViewportMargins(0, kFindHeight, 0, 0);
    }
    findField_->raise();
    directoryButton_->raise();
    findField_->setFocus(Qt::ShortcutFocusReason);
    findField_->selectAll();
}

bool CChannelListView::CloseFind() {
    if (!findField_ || findField_->isHidden())
        return false;
    findField_->clear(); // every row again, the selection kept
    // The window takes the keys before the field hides: a hidden field
    // with the focus would pass it on to the list as a Tab, which moves
    // the selection.
    emit findClosed();
    findField_->hide();
    directoryButton_->hide();
    setViewportMargins(0, 0, 0, 0);
    return true;
}

bool CChannelListView::IsFindOpen() const {
    return findField_ && !findField_->isHidden();
}

void CChannelListView::updateGeometries() {
    QTableView::updateGeometries();
    // The table lays out its hidden headers' margins; the find field keeps
    // its line above the rows.
    if (findField_ && !findField_->isHidden() && viewport()->geometry().top() != kFindHeight)
        setViewportMargins(0, kFindHeight, 0, 0);
}

void CChannelListView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    PlaceFind();
}

void CChannelListView::PlaceFind() {
    if (!findField_)
        return;
    const int button = directoryButton_->isHidden() ? 0 : kDirectoryButtonWidth;
    findField_->setGeometry(0, 0, width() - button, kFindHeight);
    directoryButton_->setGeometry(width() - button, 0, button, kFindHeight);
}

void CChannelListView::RequestDirectorySearch() {
    if (!directoryButton_ || directoryButton_->isHidden() || !directoryButton_->isEnabled())
        return;
    const QString text = findField_->text().trimmed();
    if (!text.isEmpty())
        emit directorySearchRequested(text);
}

void CChannelListView::ShowDirectorySearchState(const QString& state, bool busy) {
    MakeFind();
    directoryButton_->setText(state);
    directoryButton_->setEnabled(!busy);
    // A screen reader hears how the search went, not only the button's name.
    directoryButton_->setAccessibleDescription(state);
}

void CChannelListView::mousePressEvent(QMouseEvent* event) {
    const QModelIndex hit = indexAt(event->position().toPoint());
    if (event->button() == Qt::RightButton) {
        // The menu acts on the row under the pointer, chosen as a left
        // click would choose it, so what it deletes or copies is the row
        // the user sees marked; below the last row nothing is chosen.
        if (hit.isValid())
            selectRow(hit.row());
        else
            clearSelection();
        emit rowClicked(ListRowAt(event->position().toPoint()));
        emit menuRequested(event->globalPosition().toPoint());
        return;
    }
    QTableView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        emit rowClicked(ListRowAt(event->position().toPoint()));
}

void CChannelListView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    emit rowDoubleClicked(ListRowAt(event->position().toPoint()));
    event->accept();
}

void CChannelListView::SetDownloadProgress(bool active, qint64 received, qint64 total) {
    downloading_ = active;
    received_ = received;
    total_ = total;
    viewport()->update();
}

QString CChannelListView::DownloadText() const {
    if (!downloading_)
        return {};
    if (total_ > 0) {
        const qint64 percent = std::clamp<qint64>(received_ * 100 / total_, 0, 100);
        return QStringLiteral("채널 목록을 받고 있습니다... %1%").arg(percent);
    }
    return QStringLiteral("채널 목록을 받고 있습니다...");
}

void CChannelListView::SetNotice(const QString& text) {
    if (text == notice_)
        return;
    notice_ = text;
    // A screen reader reads the list's description with its name.
    setAccessibleDescription(text);
    viewport()->update();
}

void CChannelListView::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    if (!downloading_ && notice_.isEmpty())
        return;
    QPainter painter(viewport());
    const QRect line(0, 0, viewport()->width(), kRowHeight + 4);
    if (!notice_.isEmpty()) {
        // Below the download line while a new try downloads.
        const QRect box(0, downloading_ ? line.bottom() + 1 : 0, viewport()->width(),
                        viewport()->height());
        painter.fillRect(box, Qt::black);
        painter.setPen(kGold);
        painter.drawText(box.adjusted(8, 6, -8, -6),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, notice_);
    }
    if (!downloading_)
        return;
    painter.fillRect(line, QColor(20, 16, 6));
    if (total_ > 0) {
        QRect bar = line.adjusted(0, line.height() - 3, 0, 0);
        bar.setWidth(
            static_cast<int>(bar.width() * std::clamp<qint64>(received_, 0, total_) / total_));
        painter.fillRect(bar, kGold);
    }
    painter.setPen(kGold);
    painter.drawText(line.adjusted(6, 0, -6, -2), Qt::AlignLeft | Qt::AlignVCenter, DownloadText());
}
