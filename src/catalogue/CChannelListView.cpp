#include "catalogue/CChannelListView.h"

#include "catalogue/ChannelListModel.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {
const QColor kGold(255, 204, 51);
constexpr int kRowHeight = 16;
constexpr int kColumnWidths[] = {70, 171, 70, 70};
} // namespace

CChannelListView::CChannelListView(ChannelListModel* model, QWidget* parent)
    : QTableView(parent), model_(model) {
    setObjectName(QStringLiteral("channelList"));
    setAccessibleName(QStringLiteral("채널목록"));
    setModel(model_);
    setFrameShape(QFrame::NoFrame);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setFocusPolicy(Qt::NoFocus); // keys belong to the window
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setContextMenuPolicy(Qt::NoContextMenu);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(kRowHeight);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    horizontalHeader()->setMinimumSectionSize(0);
    for (int column = 0; column < 4; ++column)
        setColumnWidth(column, kColumnWidths[column]);

    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::black);
    p.setColor(QPalette::Window, Qt::black);
    p.setColor(QPalette::Text, kGold);
    p.setColor(QPalette::Highlight, QColor(90, 70, 20));
    p.setColor(QPalette::HighlightedText, QColor(255, 230, 150));
    setPalette(p);
    setStyleSheet(
        QStringLiteral("QTableView { background: black; color: rgb(255,204,51); border: none; }"
                       "QScrollBar:vertical { background: #111; width: 12px; }"
                       "QScrollBar::handle:vertical { background: #5a4614; min-height: 20px; }"
                       "QScrollBar::add-line, QScrollBar::sub-line { height: 0; }"
                       "QScrollBar:horizontal { background: #111; height: 12px; }"
                       "QScrollBar::handle:horizontal { background: #5a4614; min-width: 20px; }"));
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
        emit rowClicked(hit.isValid() ? hit.row() : -1);
        emit menuRequested(event->globalPosition().toPoint());
        return;
    }
    QTableView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        emit rowClicked(hit.isValid() ? hit.row() : -1);
}

void CChannelListView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    const QModelIndex hit = indexAt(event->position().toPoint());
    emit rowDoubleClicked(hit.isValid() ? hit.row() : -1);
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
