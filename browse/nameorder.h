#pragma once

#include "platform/fileentry.h"

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

namespace qm {

/// The order of the file and folder lists: by the names' text form ignoring case, names
/// that differ only in case ordered by their exact bytes.
bool nameLess(QByteArrayView a, QByteArrayView b);

void sortByName(std::vector<FileEntry> &files);
void sortByName(std::vector<QByteArray> &names);

} // namespace qm
