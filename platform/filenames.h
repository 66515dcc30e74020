#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace qm {

/// The one text form of a file name, shared by the screen, the printer, the clipboard and
/// saved files. Valid UTF-8 stands as it is, except that nothing may break or reorder a
/// line, and no name may look blank or pass for another: bytes that are not valid UTF-8
/// become "\xHH"; control characters (below 0x20, DEL, C1) become "\n", "\t", "\xHH" or
/// (C1) "\u0085"; bidirectional marks, overrides and isolates, the line and paragraph
/// separators, invisible (default-ignorable) code points and noncharacters become "\uHHHH"
/// ("\UHHHHHHHH" beyond U+FFFF); blanks at either end become "\x20" or "\uHHHH". Letters,
/// combining marks and blanks inside the name stay. A backslash stays a single backslash.
QString displayName(QByteArrayView name);

/// True when every byte is printable ASCII (0x20..0x7E) and neither end is a blank, so the
/// name is its own text form.
bool isPlainAscii(QByteArrayView name);

} // namespace qm
