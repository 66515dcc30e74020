#include "saving/dataformats.h"

#include "platform/datetext.h"

#include <QByteArrayView>

using namespace Qt::StringLiterals;

namespace qm {

QString dataName(const QByteArray &rawName, const QString &displayName)
{
    if (QByteArrayView(rawName).isValidUtf8())
        return QString::fromUtf8(rawName);
    return displayName;
}

QString csvHeader(QChar separator)
{
    return u"Name"_s + separator + u"Size"_s + separator + u"Modified"_s;
}

void appendCsvCell(QString &out, QStringView text, QChar separator)
{
    const bool formula = !text.isEmpty()
        && (text.front() == u'=' || text.front() == u'+' || text.front() == u'-'
            || text.front() == u'@' || text.front() == u'\t' || text.front() == u'\r');
    bool quoted = false;
    for (const QChar c : text) {
        if (c == separator || c == u'"' || c == u'\r' || c == u'\n') {
            quoted = true;
            break;
        }
    }
    if (!quoted && !formula) {
        out += text;
        return;
    }
    if (quoted)
        out += u'"';
    if (formula)
        out += u'\'';
    for (const QChar c : text) {
        if (c == u'"')
            out += u'"';
        out += c;
    }
    if (quoted)
        out += u'"';
}

void appendCsvRow(QString &out, const QString &name, const std::optional<FileStat> &stat,
                  QChar separator)
{
    appendCsvCell(out, name, separator);
    out += separator;
    if (stat)
        out += QString::number(stat->size);
    out += separator;
    if (stat)
        appendCsvCell(out, isoDateTime(stat->modified), separator);
}

void appendJsonString(QString &out, QStringView text)
{
    static constexpr char16_t hex[] = u"0123456789abcdef";
    out += u'"';
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case u'"':
            out += u"\\\"";
            break;
        case u'\\':
            out += u"\\\\";
            break;
        case u'\n':
            out += u"\\n";
            break;
        case u'\r':
            out += u"\\r";
            break;
        case u'\t':
            out += u"\\t";
            break;
        default:
            // Below a blank, and the two separators that end a line in JavaScript.
            if (u < 0x20 || u == 0x2028 || u == 0x2029) {
                out += u"\\u";
                for (int shift = 12; shift >= 0; shift -= 4)
                    out += QChar(hex[(u >> shift) & 0xF]);
            } else {
                out += c;
            }
        }
    }
    out += u'"';
}

void appendJsonObject(QString &out, const QByteArray &rawName, const QString &displayName,
                      const std::optional<FileStat> &stat)
{
    const bool exact = QByteArrayView(rawName).isValidUtf8();
    out += u"{\"name\":";
    appendJsonString(out, exact ? QString::fromUtf8(rawName) : displayName);
    if (!exact) {
        out += u",\"bytes\":\"";
        out += QLatin1StringView(rawName.toBase64());
        out += u'"';
    }
    out += u",\"size\":";
    if (stat)
        out += QString::number(stat->size);
    else
        out += u"null";
    out += u",\"modified\":";
    const QString when = stat ? isoDateTime(stat->modified) : QString();
    if (when.isEmpty())
        out += u"null";
    else
        appendJsonString(out, when);
    out += u'}';
}

} // namespace qm
