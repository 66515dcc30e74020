#pragma once

#include <QList>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace qm::test {

/// A word of a PDF as poppler reads it, in points from its page's top-left corner.
struct PdfWord
{
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    QString text; // as poppler writes it: &, < and > stay escaped
};

/// Output of a poppler tool, or an empty text when it could not run.
inline QString popplerOutput(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

/// Every word of \a pdf with its box (pdftotext -bbox).
inline QList<PdfWord> pdfWords(const QString &pdf)
{
    const QString html = popplerOutput(QStringLiteral("pdftotext"),
                                       { QStringLiteral("-bbox"), pdf, QStringLiteral("-") });
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<PdfWord> words;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        words.append({ m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                       m.captured(4).toDouble(), m.captured(5) });
    }
    return words;
}

/// The text of each page (pdftotext -layout), one entry per page.
inline QStringList pdfPageTexts(const QString &pdf)
{
    QStringList pages = popplerOutput(QStringLiteral("pdftotext"),
                                      { QStringLiteral("-layout"), pdf, QStringLiteral("-") })
                            .split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast(); // after the last page's form feed
    return pages;
}

/// The page count that pdfinfo reads, or -1.
inline int pdfPageCount(const QString &pdf)
{
    static const QRegularExpression pages(QStringLiteral(R"(^Pages:\s+(\d+)\s*$)"),
                                          QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m
        = pages.match(popplerOutput(QStringLiteral("pdfinfo"), { pdf }));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace qm::test
