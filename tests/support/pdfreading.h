#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace qm::test {

/// Output of a poppler tool, or an empty text when it could not run.
inline QString popplerOutput(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    const bool ran
        = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit;
    return ran && process.exitCode() == 0 ? QString::fromUtf8(process.readAllStandardOutput())
                                          : QString();
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
