#include "printing/pdfcheck.h"

#include <QFile>

#include <cctype>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

// One cross-reference entry: ten digits of offset, five of generation, its kind, two of end.
constexpr qsizetype EntrySize = 20;

bool isSpace(char c)
{
    return c == ' ' || c == '\r' || c == '\n' || c == '\t' || c == '\f' || c == '\0';
}

// Reads a whole number at \a at, moving past it; nothing when no digit stands there.
std::optional<qint64> number(QByteArrayView bytes, qsizetype &at)
{
    qint64 value = 0;
    const qsizetype start = at;
    while (at < bytes.size() && at - start < 18 && std::isdigit(uchar(bytes[at])))
        value = value * 10 + (bytes[at++] - '0');
    if (at == start)
        return std::nullopt;
    return value;
}

void skipSpace(QByteArrayView bytes, qsizetype &at)
{
    while (at < bytes.size() && isSpace(bytes[at]))
        ++at;
}

bool startsWithAt(QByteArrayView bytes, qsizetype at, QByteArrayView word)
{
    return at >= 0 && at <= bytes.size() && bytes.sliced(at).startsWith(word);
}

QString incomplete(const QString &detail)
{
    return u"The PDF file was not written completely (%1)."_s.arg(detail);
}

} // namespace

std::optional<QString> pdfDefect(QByteArrayView bytes)
{
    if (!bytes.startsWith("%PDF-"))
        return incomplete(u"it does not start as a PDF file"_s);

    // The end: "startxref", the table's offset, "%%EOF", and nothing but blanks after it.
    qsizetype end = bytes.size();
    while (end > 0 && isSpace(bytes[end - 1]))
        --end;
    if (!bytes.first(end).endsWith("%%EOF"))
        return incomplete(u"its end is missing"_s);
    const qsizetype startxref = bytes.first(end).lastIndexOf("startxref");
    if (startxref < 0)
        return incomplete(u"its end is missing"_s);
    qsizetype at = startxref + 9;
    skipSpace(bytes, at);
    const std::optional<qint64> tableAt = number(bytes, at);
    if (!tableAt || !startsWithAt(bytes, qsizetype(*tableAt), "xref"))
        return incomplete(u"its table of contents is not where its end says"_s);

    // The table: each object must start where it says, or bytes were lost before it.
    at = qsizetype(*tableAt) + 4;
    for (;;) {
        skipSpace(bytes, at);
        if (startsWithAt(bytes, at, "trailer"))
            return std::nullopt;
        const std::optional<qint64> first = number(bytes, at);
        skipSpace(bytes, at);
        const std::optional<qint64> count = number(bytes, at);
        skipSpace(bytes, at);
        if (!first || !count || *count > (bytes.size() - at) / EntrySize)
            return incomplete(u"its table of contents is cut short"_s);
        for (qint64 i = 0; i < *count; ++i, at += EntrySize) {
            const QByteArrayView entry = bytes.sliced(at, EntrySize);
            if (entry[17] != 'n')
                continue; // a free entry
            qsizetype digits = 0;
            const std::optional<qint64> offset = number(entry, digits);
            digits = 11;
            const std::optional<qint64> generation = number(entry, digits);
            if (!offset || !generation || *offset >= bytes.size())
                return incomplete(u"object %1 lies beyond its end"_s.arg(*first + i));
            const QByteArray object
                = QByteArray::number(*first + i) + ' ' + QByteArray::number(*generation) + " obj";
            if (!startsWithAt(bytes, qsizetype(*offset), object))
                return incomplete(u"object %1 is not where its table says"_s.arg(*first + i));
        }
    }
}

std::optional<QString> pdfFileDefect(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return u"The PDF file cannot be read back: %1."_s.arg(file.errorString());
    const qint64 size = file.size();
    if (size == 0)
        return incomplete(u"it is empty"_s);
    const uchar *mapped = file.map(0, size);
    if (mapped)
        return pdfDefect(QByteArrayView(mapped, size));
    return pdfDefect(file.readAll());
}

} // namespace qm
