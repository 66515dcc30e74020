#pragma once

#include <QHash>
#include <QLocale>
#include <QString>
#include <QtGlobal>

namespace qm {

/// A last-change time as text, split into its date and time parts.
struct DateTimeText
{
    QString date; // the locale's short date form; empty when the time cannot be converted
    QString time; // the long time form without its time-zone field; empty at exactly midnight

    bool isEmpty() const { return date.isEmpty(); }
    /// "date time", the date alone at exactly midnight, empty when the time cannot be converted.
    QString joined() const;
};

/// The locale's long time format with its time-zone field taken out; seconds stay.
/// "h:mm:ss AP t" gives "h:mm:ss AP", "H:mm:ss (t)" gives "H:mm:ss".
QString timeFormatWithoutZone(const QString &format);

/// Formats last-change times (seconds since the epoch) in the local time zone with the
/// locale it was made with. A catalogue of a million files holds few distinct days and at
/// most 86,400 distinct times of day, so each is formatted once and kept.
class DateTimeFormatter
{
public:
    DateTimeFormatter(); // QLocale()
    explicit DateTimeFormatter(const QLocale &locale);

    DateTimeText parts(qint64 secondsSinceEpoch);
    /// DateTimeText::joined() of parts().
    QString text(qint64 secondsSinceEpoch);
    /// The catalogue column: date, three blanks and time; "   00:00:00" stands in for the
    /// time at midnight; a time that cannot be converted gives emptyColumnText().
    QString columnText(qint64 secondsSinceEpoch);
    /// What a file without a known time shows in the catalogue column.
    static QString emptyColumnText();

private:
    QLocale m_locale;
    QString m_timeFormat;
    QHash<qint64, QString> m_dates; // key: packed year, month, day
    QHash<int, QString> m_times; // key: second of the day
    qint64 m_lastDayKey = -1;
    QString m_lastDate;
};

/// The time in ISO 8601 with its offset from UTC in the local time zone:
/// "2026-12-07T14:05:09+01:00". A leap second shows as the second before it; an offset that
/// is not a whole number of minutes (local mean time before 1900) is rounded to one, the wall
/// clock moving with it, so the instant stays exact. Years outside 0..9999 carry a sign
/// ("+10000-01-01T00:00:00+00:00"). Empty when the time cannot be converted.
QString isoDateTime(qint64 secondsSinceEpoch);

} // namespace qm
