#include "guide/GuideRows.h"

#include "guide/GuideData.h"

#include <QDateTime>

namespace {

QString Clock(qint64 seconds, const QTimeZone& zone) {
    return QDateTime::fromSecsSinceEpoch(seconds, zone).toString(QStringLiteral("HH:mm"));
}

QString DayHeading(QDate day, bool today) {
    static const char* const kWeekdays[] = {"월", "화", "수", "목", "금", "토", "일"};
    return QStringLiteral("%1 %2월 %3일 (%4)")
        .arg(today ? QStringLiteral("오늘") : QStringLiteral("내일"))
        .arg(day.month())
        .arg(day.day())
        .arg(QString::fromUtf8(kWeekdays[day.dayOfWeek() - 1]));
}

} // namespace

QString GuideRowText(qint64 start, qint64 stop, const QString& title, const QTimeZone& zone) {
    return Clock(start, zone) + QChar(0x2013) + Clock(stop, zone) + QStringLiteral("  ") + title;
}

GuideRows GuideRowsOf(const GuideData* guide, const QString& key, qint64 now,
                      const QTimeZone& zone) {
    GuideRows out;
    if (!guide || !guide->Has(key))
        return out;
    const QDate today = QDateTime::fromSecsSinceEpoch(now, zone).date();
    qint64 listedUntil = 0; // the start of the last programme listed
    for (int offset = 0; offset < 2; ++offset) {
        const QDate day = today.addDays(offset);
        bool headed = false;
        for (const GuideData::Programme& programme : guide->Day(key, day, zone)) {
            if (out.firstRow >= 0 && programme.start <= listedUntil)
                continue; // listed under the day before
            if (!headed) {
                GuideRow heading;
                heading.text = DayHeading(day, offset == 0);
                heading.heading = true;
                out.rows.push_back(std::move(heading));
                headed = true;
            }
            GuideRow row;
            row.text = GuideRowText(programme.start, programme.stop, programme.title, zone);
            row.description = programme.description;
            row.start = programme.start;
            row.stop = programme.stop;
            row.now = programme.start <= now && now < programme.stop;
            const int index = static_cast<int>(out.rows.size());
            if (row.now)
                out.nowRow = index;
            if (out.firstRow < 0)
                out.firstRow = index;
            if (out.openRow < 0 && programme.start > now)
                out.openRow = index;
            listedUntil = programme.start;
            out.rows.push_back(std::move(row));
        }
    }
    if (out.nowRow >= 0)
        out.openRow = out.nowRow;
    else if (out.openRow < 0)
        out.openRow = out.firstRow;
    return out;
}
