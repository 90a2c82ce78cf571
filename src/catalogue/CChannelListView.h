#pragma once

#include <QTableView>

class ChannelListModel;

// The channel list: a table without header, 16-pixel rows, black with gold
// text, the columns NUM 70, NAME 171, INFO 70, CONNECT 70 (the model has no
// column for the three data fields). It turns clicks into the window's current row: a left click
// or a double click sets it (-1 below the last row); a right click sets it
// too, then asks for the list's menu. While a catalogue downloads, a line
// at the top of the list says so; a tab left without its list says why in
// the list's place, also to a screen reader (the list's description).
class CChannelListView : public QTableView {
    Q_OBJECT
public:
    explicit CChannelListView(ChannelListModel* model, QWidget* parent = nullptr);

    ChannelListModel* Model() const { return model_; }

    // The download line: shown while active, with the percentage when the
    // size is known (total > 0).
    void SetDownloadProgress(bool active, qint64 received = 0, qint64 total = -1);
    bool IsShowingDownload() const { return downloading_; }
    QString DownloadText() const;

    // The line shown in the list's place; empty hides it.
    void SetNotice(const QString& text);
    const QString& Notice() const { return notice_; }

signals:
    // A left or right click: the row under the pointer, -1 below the last row.
    void rowClicked(int row);
    void rowDoubleClicked(int row);
    // A right click: the list's menu at this screen position.
    void menuRequested(const QPoint& globalPos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    ChannelListModel* model_;
    bool downloading_ = false;
    qint64 received_ = 0;
    qint64 total_ = -1;
    QString notice_;
};
