#pragma once

#include <QTableView>

#include <functional>

class ChannelFilterModel;
class ChannelListModel;
class QLineEdit;
class QPushButton;

// The channel list: a table without header, 16-pixel rows, black with gold
// text, the columns NUM 70, NAME 171, INFO 70, CONNECT 70 (the model has no
// column for the three data fields). It turns clicks into the window's current row: a left click
// or a double click sets it (-1 below the last row); a right click sets it
// too, then asks for the list's menu. While a catalogue downloads, a line
// at the top of the list says so; a tab left without its list says why in
// the list's place, also to a screen reader (the list's description).
// A find field over the list's top narrows the rows to the names that match
// what is typed; every row number the list speaks of, in and out, is the
// row of the whole list, whether narrowed or not.
class CChannelListView : public QTableView {
    Q_OBJECT
public:
    explicit CChannelListView(ChannelListModel* model, QWidget* parent = nullptr);

    ChannelListModel* Model() const { return model_; }
    ChannelFilterModel* Filter() const { return filter_; }

    // Selects a row of the whole list and scrolls to it; a row the find
    // field hides is not selected.
    void SelectListRow(int row);
    // The list rows selected, top first.
    QList<int> SelectedListRows() const;

    // The find field: opening it gives it the keys; closing it shows every
    // row again, keeps the selection and gives the keys back to the window.
    void OpenFind();
    bool CloseFind();
    bool IsFindOpen() const;
    // Made at the first call if the field has never opened.
    QLineEdit* FindField();
    // The row Enter in the find field plays: the selected one, else the
    // first shown; -1 when none shows.
    int RowToPlay() const;

    // Whether the open tab offers a search of the radio directory beside the
    // find field (asked whenever the field opens). The button, or Ctrl+Enter
    // in the field, asks for it; its text says how the search goes.
    void SetDirectorySearchOffer(std::function<bool()> offered) {
        directoryOffered_ = std::move(offered);
    }
    QPushButton* DirectoryButton();
    void ShowDirectorySearchState(const QString& state, bool busy);

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
    // Enter in the find field: play this list row.
    void findPlayRequested(int row);
    // The find field closed: the window takes the keys back.
    void findClosed();
    // Search the radio directory for this text.
    void directorySearchRequested(const QString& text);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;

private:
    int ListRowAt(const QPoint& pos) const;
    void Narrow(const QString& text);
    void StepSelection(int by);
    void PlaceFind();
    void RequestDirectorySearch();

    ChannelListModel* model_;
    ChannelFilterModel* filter_;
    void MakeFind();

    QLineEdit* findField_ = nullptr; // both made when the find field first opens
    QPushButton* directoryButton_ = nullptr;
    std::function<bool()> directoryOffered_;
    // The rows selected when a query hid them all.
    QList<int> hiddenSelection_;
    bool downloading_ = false;
    qint64 received_ = 0;
    qint64 total_ = -1;
    QString notice_;
};
