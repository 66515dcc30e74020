#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QString>

namespace qm::test {

/// The page count that poppler's pdfinfo reads, or -1.
inline int pdfPageCount(const QString &pdf)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), { pdf });
    if (!info.waitForFinished(120000) || info.exitStatus() != QProcess::NormalExit
        || info.exitCode() != 0)
        return -1;
    static const QRegularExpression pages(QStringLiteral(R"(^Pages:\s+(\d+)\s*$)"),
                                          QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = pages.match(QString::fromUtf8(info.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace qm::test
