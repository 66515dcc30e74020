#include "platform/datetext.h"

#include <QDate>
#include <QTime>

#include <ctime>
#include <limits>

using namespace Qt::StringLiterals;

namespace qm {

QString DateTimeText::joined() const
{
    if (time.isEmpty())
        return date;
    return date + QLatin1Char(' ') + time;
}

QString timeFormatWithoutZone(const QString &format)
{
    QString out;
    out.reserve(format.size());
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == u'\'') {
            quoted = !quoted;
            out += c;
            continue;
        }
        if (quoted || c != u't') {
            out += c;
            continue;
        }
        while (i + 1 < format.size() && format.at(i + 1) == u't')
            ++i;
        // Take the blanks that joined the zone to its neighbour with it, and brackets that
        // held nothing else.
        if (out.endsWith(u'(') && i + 1 < format.size() && format.at(i + 1) == u')') {
            out.chop(1);
            ++i;
        }
        if (!out.isEmpty() && out.back().isSpace()) {
            while (!out.isEmpty() && out.back().isSpace())
                out.chop(1);
        } else {
            while (i + 1 < format.size() && format.at(i + 1).isSpace())
                ++i;
        }
    }
    return out.trimmed();
}

DateTimeFormatter::DateTimeFormatter()
    : DateTimeFormatter(QLocale())
{
}

DateTimeFormatter::DateTimeFormatter(const QLocale &locale)
    : m_locale(locale)
    , m_timeFormat(timeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat)))
{
}

DateTimeText DateTimeFormatter::parts(qint64 secondsSinceEpoch)
{
    DateTimeText result;
    if (secondsSinceEpoch < std::numeric_limits<time_t>::min()
        || secondsSinceEpoch > std::numeric_limits<time_t>::max())
        return result;
    const time_t seconds = static_cast<time_t>(secondsSinceEpoch);
    struct tm local = {};
    if (!localtime_r(&seconds, &local))
        return result;

    const qint64 year = qint64(local.tm_year) + 1900;
    const qint64 dayKey = (year << 9) | (qint64(local.tm_mon) << 5) | qint64(local.tm_mday);
    if (dayKey != m_lastDayKey || m_lastDate.isNull()) {
        auto found = m_dates.constFind(dayKey);
        if (found == m_dates.constEnd()) {
            // The calendar has no year 0: the year before 1 is -1.
            const qint64 calendarYear = year <= 0 ? year - 1 : year;
            QDate date;
            if (calendarYear >= std::numeric_limits<int>::min()
                && calendarYear <= std::numeric_limits<int>::max())
                date = QDate(int(calendarYear), local.tm_mon + 1, local.tm_mday);
            const QString text
                = date.isValid() ? m_locale.toString(date, QLocale::ShortFormat) : QString();
            found = m_dates.insert(dayKey, text);
        }
        m_lastDayKey = dayKey;
        m_lastDate = *found;
    }
    if (m_lastDate.isEmpty())
        return result;
    result.date = m_lastDate;

    // A leap second shows as the second before it.
    const int second = qMin(local.tm_sec, 59);
    const int secondOfDay = local.tm_hour * 3600 + local.tm_min * 60 + second;
    if (secondOfDay == 0)
        return result;
    auto found = m_times.constFind(secondOfDay);
    if (found == m_times.constEnd())
        found = m_times.insert(
            secondOfDay,
            m_locale.toString(QTime(local.tm_hour, local.tm_min, second), m_timeFormat));
    result.time = *found;
    return result;
}

QString DateTimeFormatter::text(qint64 secondsSinceEpoch)
{
    return parts(secondsSinceEpoch).joined();
}

QString DateTimeFormatter::columnText(qint64 secondsSinceEpoch)
{
    const DateTimeText p = parts(secondsSinceEpoch);
    if (p.isEmpty())
        return emptyColumnText();
    static const QString midnight = u"00:00:00"_s;
    const QString &time = p.time.isEmpty() ? midnight : p.time;
    QString out;
    out.reserve(p.date.size() + 3 + time.size());
    out += p.date;
    out += u"   ";
    out += time;
    return out;
}

QString isoDateTime(qint64 secondsSinceEpoch)
{
    if (secondsSinceEpoch < std::numeric_limits<time_t>::min()
        || secondsSinceEpoch > std::numeric_limits<time_t>::max())
        return QString();
    time_t seconds = static_cast<time_t>(secondsSinceEpoch);
    struct tm wall = {};
    if (!localtime_r(&seconds, &wall))
        return QString();
    long offset = wall.tm_gmtoff;
    if (offset % 60 != 0) {
        offset = (offset < 0 ? offset - 30 : offset + 30) / 60 * 60;
        if (__builtin_add_overflow(seconds, time_t(offset), &seconds) || !gmtime_r(&seconds, &wall))
            return QString();
    }

    char text[64];
    char *out = text;
    const auto digits = [&out](qint64 value, int width) {
        char reversed[24];
        int n = 0;
        do {
            reversed[n++] = char('0' + value % 10);
            value /= 10;
        } while (value > 0);
        while (n < width)
            reversed[n++] = '0';
        while (n > 0)
            *out++ = reversed[--n];
    };
    const qint64 year = qint64(wall.tm_year) + 1900;
    if (year < 0 || year > 9999)
        *out++ = year < 0 ? '-' : '+';
    digits(year < 0 ? -year : year, 4);
    *out++ = '-';
    digits(wall.tm_mon + 1, 2);
    *out++ = '-';
    digits(wall.tm_mday, 2);
    *out++ = 'T';
    digits(wall.tm_hour, 2);
    *out++ = ':';
    digits(wall.tm_min, 2);
    *out++ = ':';
    digits(qMin(wall.tm_sec, 59), 2);
    *out++ = offset < 0 ? '-' : '+';
    const long minutes = (offset < 0 ? -offset : offset) / 60;
    digits(minutes / 60, 2);
    *out++ = ':';
    digits(minutes % 60, 2);
    return QString::fromLatin1(text, out - text);
}

QString DateTimeFormatter::emptyColumnText()
{
    return u"  /  /     00:00:00"_s;
}

} // namespace qm
