#include "dialogs/CGuideDlg.h"

#include "dialogs/SkinnedControls.h"
#include "skin/CMinsButton.h"

#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>

namespace {

constexpr PictureId kBackground = PictureId::GuideBackground;
constexpr int kOkId = 1031;
// Inside the wells the background draws (list 14,40 372x166; description 14,212 372x50).
const QRect kListArea(16, 42, 368, 162);
const QRect kDescriptionArea(16, 214, 368, 46);
// Where the frame's caption text starts, after the name and its divider.
const QRect kCaptionArea(105, 7, 262, 16);

const QString kWellStyle = QStringLiteral("background: rgb(24, 24, 27); color: rgb(214, 210, 198); "
                                          "border: none; selection-background-color: "
                                          "rgb(120, 96, 24); selection-color: rgb(255, 243, 190);");

} // namespace

QString CGuideDlg::CaptionOf(const QString& channelName) {
    return channelName + QStringLiteral(" 편성표");
}

QString CGuideDlg::NoGuideText() {
    return QStringLiteral("이 채널의 편성표가 없습니다.");
}

CGuideDlg::CGuideDlg(const QString& channelName, const GuideData* guide, const QString& key,
                     std::function<qint64()> now, QWidget* parent)
    : CSkinnedDialog(kBackground, QSize(400, 300), parent),
      rows_(GuideRowsOf(guide, key, now ? now() : QDateTime::currentSecsSinceEpoch())) {
    const QString caption = CaptionOf(channelName);
    setWindowTitle(caption);
    close_ = AddCloseBox(375, 5);

    // The frame's caption is left blank in the picture: the channel's name goes there.
    caption_ = new QLabel(caption, this);
    QFont bold = font();
    bold.setBold(true);
    caption_->setFont(bold);
    caption_->setStyleSheet(QStringLiteral("color: white;"));
    caption_->setGeometry(kCaptionArea);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("guideList"));
    list_->setAccessibleName(QStringLiteral("편성표"));
    list_->setFrameShape(QFrame::NoFrame);
    // The scroll bar as the channel list draws its own.
    list_->setStyleSheet(
        QStringLiteral("QListWidget { ") + kWellStyle +
        QStringLiteral(" outline: none; }"
                       "QScrollBar:vertical { background: #111; width: 12px; }"
                       "QScrollBar::handle:vertical { background: #5a4614; min-height: 20px; }"
                       "QScrollBar::add-line, QScrollBar::sub-line { height: 0; }"));
    list_->setGeometry(kListArea);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setTextElideMode(Qt::ElideRight);
    for (const GuideRow& row : rows_.rows) {
        auto* item = new QListWidgetItem(row.text, list_);
        if (row.heading) {
            // A day's heading: read, never chosen; the arrows pass over it.
            item->setFlags(Qt::NoItemFlags);
            item->setForeground(SkinnedControls::kCaption);
            item->setData(Qt::AccessibleTextRole, row.text);
        } else if (row.now) {
            QFont marked = list_->font();
            marked.setBold(true);
            item->setFont(marked);
            item->setForeground(SkinnedControls::kCaption);
            item->setData(Qt::AccessibleTextRole, row.text + QStringLiteral(", 방송 중"));
        }
    }

    description_ = new QPlainTextEdit(this);
    description_->setObjectName(QStringLiteral("guideDescription"));
    description_->setAccessibleName(QStringLiteral("프로그램 설명"));
    description_->setReadOnly(true);
    description_->setTabChangesFocus(true);
    description_->setFrameShape(QFrame::NoFrame);
    description_->setStyleSheet(QStringLiteral("QPlainTextEdit { ") + kWellStyle +
                                QStringLiteral(" }"));
    description_->setGeometry(kDescriptionArea);

    empty_ = new QLabel(NoGuideText(), this);
    empty_->setObjectName(QStringLiteral("guideNone"));
    empty_->setAlignment(Qt::AlignCenter);
    empty_->setWordWrap(true);
    // Reachable by Tab so a screen reader reads it on opening.
    empty_->setFocusPolicy(Qt::StrongFocus);
    empty_->setAccessibleName(NoGuideText());
    SkinnedControls::StyleCaption(empty_);
    empty_->setGeometry(kListArea);

    ok_ = new CMinsButton(kOkId, QStringLiteral("확인"), this);
    ok_->SetImages(PictureId::DialogOk, PictureId::DialogOkHover, PictureId::DialogOkHover);
    PlaceButton(ok_, 178, 269, 44, 22);
    connect(ok_, &QAbstractButton::clicked, this, &QDialog::reject);

    const bool any = !rows_.Empty();
    list_->setVisible(any);
    description_->setVisible(any);
    empty_->setVisible(!any);
    if (!any) {
        empty_->setFocus();
        return;
    }
    connect(list_, &QListWidget::currentRowChanged, this, &CGuideDlg::ShowDescription);
    list_->setCurrentRow(rows_.openRow);
    setTabOrder(list_, description_);
    list_->setFocus();
}

void CGuideDlg::ShowDescription(int row) {
    const int count = static_cast<int>(rows_.rows.size());
    if (row < 0 || row >= count)
        return;
    // A day's heading is passed over in the direction of travel (or back,
    // at either end of the list).
    if (rows_.rows[static_cast<size_t>(row)].heading) {
        const int next = row + (row > shownRow_ ? 1 : -1);
        list_->setCurrentRow(next >= 0 && next < count ? next : shownRow_);
        return;
    }
    shownRow_ = row;
    const GuideRow& shown = rows_.rows[static_cast<size_t>(row)];
    description_->setPlainText(shown.description.isEmpty()
                                   ? QStringLiteral("이 프로그램의 설명이 없습니다.")
                                   : shown.description);
}

void CGuideDlg::showEvent(QShowEvent* event) {
    CSkinnedDialog::showEvent(event);
    // Now that the list has its size, the chosen programme comes into view.
    if (QListWidgetItem* current = list_->currentItem())
        list_->scrollToItem(current, QAbstractItemView::PositionAtCenter);
}

bool CGuideDlg::eventFilter(QObject* watched, QEvent* event) {
    // The frame swallows Enter and Escape; here both close the dialog.
    if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (widget && (widget == this || isAncestorOf(widget)) &&
            (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)) {
            reject();
            return true;
        }
    }
    return CSkinnedDialog::eventFilter(watched, event);
}
