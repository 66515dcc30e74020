#pragma once

#include <QFileIconProvider>
#include <QMimeDatabase>

namespace qm {

/// Icons and type names for the file dialogs, decided by a file's name and its kind as the
/// file system gives it (folder, regular file, FIFO, socket, device, link), never by its
/// content. The standard provider reads a file to guess its type, and reading a FIFO or a file
/// such as /proc/kmsg waits for data that may never come: the dialog would hang for good.
class SafeFileIconProvider : public QFileIconProvider
{
public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo &info) const override;
    QString type(const QFileInfo &info) const override;

private:
    QMimeDatabase m_types;
};

/// Gives every file dialog of the application, and every other window's file system model
/// (the print dialog completes a typed file name with one), a SafeFileIconProvider before it
/// shows, the dialogs that Qt opens by itself too (the print dialog's "..." chooser). Once per
/// application; calling it again changes nothing.
void guardFileDialogs();

} // namespace qm
