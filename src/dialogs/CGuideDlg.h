#pragma once

#include "guide/GuideRows.h"
#include "skin/CSkinnedDialog.h"

#include <QString>

#include <functional>

class GuideData;
class QLabel;
class QListWidget;
class QPlainTextEdit;

// One channel's programme guide: today's and tomorrow's programmes in the
// desktop's local time, the one on now marked and chosen, and the chosen
// programme's description under the list. Arrows move through the
// programmes, Tab goes between the list and the description, Enter and
// Escape close. A channel without a guide gets a line that says so.
class CGuideDlg : public CSkinnedDialog {
    Q_OBJECT
public:
    // The guide is read only here (its rows are copied); it may be null.
    // `now` gives UTC seconds (tests set it); the system clock without one.
    CGuideDlg(const QString& channelName, const GuideData* guide, const QString& key,
              std::function<qint64()> now = {}, QWidget* parent = nullptr);

    // "KBS1 편성표": the caption and the window's title.
    static QString CaptionOf(const QString& channelName);
    static QString NoGuideText();

    const GuideRows& Rows() const { return rows_; }
    QListWidget* List() const { return list_; }
    QPlainTextEdit* Description() const { return description_; }
    // The line shown instead of the list for a channel without a guide.
    QLabel* NoGuideLabel() const { return empty_; }
    CMinsButton* OkButton() const { return ok_; }
    CMinsButton* CloseBox() const { return close_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowDescription(int row);

    GuideRows rows_;
    int shownRow_ = -1; // the programme whose description is shown
    QLabel* caption_ = nullptr;
    QListWidget* list_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
    QLabel* empty_ = nullptr;
    CMinsButton* ok_ = nullptr;
    CMinsButton* close_ = nullptr;
};
