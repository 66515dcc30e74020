#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace qm {

/// What is wrong with the PDF \a bytes as a whole, or nothing when it is complete: it starts
/// as a PDF, ends with its trailer, and every object stands at the place its cross-reference
/// table gives. Qt's PDF engine does not say when a write failed (a full disk), and a file
/// that lost bytes anywhere has its objects shifted from their listed places, or no end.
std::optional<QString> pdfDefect(QByteArrayView bytes);

/// pdfDefect() of the file \a fileName, read without copying it.
std::optional<QString> pdfFileDefect(const QString &fileName);

} // namespace qm
