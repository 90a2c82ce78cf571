#include "guide/GuideTime.h"

#include <QDateTime>
#include <QTimeZone>

#include <algorithm>
#include <array>

namespace GuideTime {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int Number(QByteArrayView text, qsizetype from, qsizetype count) {
    int value = 0;
    for (qsizetype i = from; i < from + count; ++i)
        value = value * 10 + (text[i] - '0');
    return value;
}

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
qint64 DaysFromCivil(int year, int month, int day) {
    year -= month <= 2 ? 1 : 0;
    const int era = year / 400; // years here are never negative
    const int yearOfEra = year - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return static_cast<qint64>(era) * 146097 + dayOfEra - 719468;
}

int DaysInMonth(int year, int month) {
    static constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[static_cast<size_t>(month - 1)];
}

struct NamedZone {
    const char* name;
    int minutes; // east of UTC
};

// Abbreviations guides write in practice. Where one is ambiguous (CST, IST)
// the reading of the guides that use it most is taken.
constexpr NamedZone kNamedZones[] = {
    {"UTC", 0},     {"GMT", 0},     {"UT", 0},     {"Z", 0},      {"WET", 0},    {"WEST", 60},
    {"BST", 60},    {"CET", 60},    {"CEST", 120}, {"MET", 60},   {"MEST", 120}, {"EET", 120},
    {"EEST", 180},  {"MSK", 180},   {"IST", 330},  {"ICT", 420},  {"WIB", 420},  {"HKT", 480},
    {"SGT", 480},   {"AWST", 480},  {"PHT", 480},  {"KST", 540},  {"JST", 540},  {"ACST", 570},
    {"AEST", 600},  {"AEDT", 660},  {"NZST", 720}, {"NZDT", 780}, {"EST", -300}, {"EDT", -240},
    {"CST", -360},  {"CDT", -300},  {"MST", -420}, {"MDT", -360}, {"PST", -480}, {"PDT", -420},
    {"AKST", -540}, {"AKDT", -480}, {"HST", -600}, {"AST", -240}, {"ADT", -180}, {"NST", -210},
    {"BRT", -180},  {"ART", -180},
};

std::optional<int> NamedZoneMinutes(QByteArrayView name) {
    for (const NamedZone& zone : kNamedZones) {
        if (name.compare(QByteArrayView(zone.name), Qt::CaseInsensitive) == 0)
            return zone.minutes;
    }
    return std::nullopt;
}

} // namespace

std::optional<Parsed> Parse(QByteArrayView text) {
    text = text.trimmed();
    qsizetype digits = 0;
    while (digits < text.size() && IsDigit(text[digits]))
        ++digits;
    if (digits < 4 || digits > 14 || digits % 2 != 0)
        return std::nullopt;
    const int year = Number(text, 0, 4);
    const int month = digits >= 6 ? Number(text, 4, 2) : 1;
    const int day = digits >= 8 ? Number(text, 6, 2) : 1;
    const int hour = digits >= 10 ? Number(text, 8, 2) : 0;
    const int minute = digits >= 12 ? Number(text, 10, 2) : 0;
    int second = digits >= 14 ? Number(text, 12, 2) : 0;
    if (year < 1970 || year > 2200 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month) || hour > 23 || minute > 59 || second > 60)
        return std::nullopt;
    second = qMin(second, 59); // a leap second is read as the second before it

    Parsed parsed;
    const qint64 local =
        DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
    QByteArrayView zone = text.sliced(digits).trimmed();
    int offsetMinutes = 0;
    if (zone.isEmpty()) {
        offsetMinutes = 0;
    } else if (zone[0] == '+' || zone[0] == '-') {
        QByteArray compact = zone.sliced(1).toByteArray();
        compact.replace(':', "");
        if ((compact.size() != 4 && compact.size() != 2) ||
            !std::all_of(compact.cbegin(), compact.cend(), IsDigit))
            return std::nullopt;
        const int hours = Number(compact, 0, 2);
        const int minutes = compact.size() == 4 ? Number(compact, 2, 2) : 0;
        if (hours > 14 || minutes > 59)
            return std::nullopt;
        offsetMinutes = (hours * 60 + minutes) * (zone[0] == '-' ? -1 : 1);
    } else if (const std::optional<int> named = NamedZoneMinutes(zone)) {
        offsetMinutes = *named;
    } else {
        // An IANA name ("Asia/Seoul") through the system's zone data; its
        // offset is the one in force at that moment.
        const QTimeZone tz = zone.contains('/') ? QTimeZone(zone.toByteArray()) : QTimeZone();
        if (tz.isValid()) {
            offsetMinutes =
                tz.offsetFromUtc(QDateTime::fromSecsSinceEpoch(local - 43200, QTimeZone::utc())) /
                60;
            // Near a change the offset at the true moment decides.
            offsetMinutes = tz.offsetFromUtc(QDateTime::fromSecsSinceEpoch(
                                local - offsetMinutes * 60, QTimeZone::utc())) /
                            60;
        } else {
            parsed.unknownZone = true;
        }
    }
    parsed.utcSeconds = local - static_cast<qint64>(offsetMinutes) * 60;
    return parsed;
}

} // namespace GuideTime
