#pragma once

#include <QString>
#include <QTimeZone>

#include <vector>

class GuideData;

// One channel's programmes of today and tomorrow as the guide dialog lists
// them, in the desktop's local time: a heading per day, then a row per
// programme ("21:00–22:00  뉴스9"), the one on now marked.
struct GuideRow {
    QString text;        // the heading or "hh:mm–hh:mm  title"
    QString description; // the programme's; empty for a heading
    qint64 start = 0;    // UTC seconds; 0 for a heading
    qint64 stop = 0;
    bool heading = false;
    bool now = false; // on at the given moment
};

struct GuideRows {
    std::vector<GuideRow> rows;
    int nowRow = -1;   // the row on now, or -1
    int firstRow = -1; // the first programme row, or -1 when there is none
    // The row a view opens on: the one on now, else the next to start, else the first.
    int openRow = -1;

    bool Empty() const { return firstRow < 0; }
};

// Nothing for a null guide or a channel it does not know. A programme that
// runs over midnight is listed once, under the day it starts on (or today,
// when it started before).
GuideRows GuideRowsOf(const GuideData* guide, const QString& key, qint64 now,
                      const QTimeZone& zone = QTimeZone::systemTimeZone());

// "21:00–22:00  뉴스9".
QString GuideRowText(qint64 start, qint64 stop, const QString& title, const QTimeZone& zone);
