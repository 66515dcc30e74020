#include "saving/textoutputs.h"

#include "catalogue/cataloguesource.h"
#include "catalogue/runguard.h"
#include "catalogue/writerhost.h"
#include "platform/datetext.h"
#include "platform/numbers.h"
#include "platform/outputfile.h"

#include <QSaveFile>
#include <QStringEncoder>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

constexpr QStringView LineEnd = u"\r\n";
// The meter is emptied flat in a colour of its own after a save.
const QColor SavedMeterBar = QColor(0, 128, 128);
// Lines are gathered into blocks of about this many characters before they are encoded and
// written: few system calls, little memory, whatever the length of the list.
constexpr qsizetype BlockChars = 1 << 16;

} // namespace

void appendTextLine(QString &out, const QString &name, const std::optional<FileStat> &stat,
                    DateTimeFormatter &dates, TextLayout layout)
{
    const bool saved = layout == TextLayout::Saved;
    out += name;
    out += saved ? QStringView(u", ") : QStringView(u",  ");
    if (stat)
        out += saved ? QString::number(stat->size) : groupedNumber(stat->size);
    out += QStringView(u", ");

    const DateTimeText when = stat ? dates.parts(stat->modified) : DateTimeText();
    out += when.isEmpty() ? QStringView(u"  /  /  ") : QStringView(when.date);
    out += saved ? QStringView(u",  ") : QStringView(u",   ");
    out += when.time.isEmpty() ? QStringView(u"00:00:00") : QStringView(when.time);
}

QString savedHeaderLine(const QString &folderText)
{
    return u"Catalog of folder "_s + folderText;
}

CopyResult clipboardText(const CatalogueSource &source, qint64 first, qint64 last, WriterHost &host)
{
    const qint64 count = source.count();
    const LineRange range = LineRange { first, last }.within(count);
    CopyResult result;
    RunGuard guard(host, SavedMeterBar);
    host.setStatusText(u"Copying"_s);
    MeterSteps meter(count);
    DateTimeFormatter dates;
    for (qint64 line = range.first; line <= range.last; ++line) {
        if (host.stopRequested()) {
            result.run.stopped = true;
            result.text.clear();
            break;
        }
        if (const int percent = meter.percentAt(line); percent >= 0)
            host.drawMeter(2, MeterBar, MeterBackground, percent);
        const std::optional<FileStat> stat = source.stat(line);
        result.run.count(stat.has_value());
        appendTextLine(result.text, source.displayName(line), stat, dates, TextLayout::Clipboard);
        result.text += LineEnd;
    }
    return result;
}

SaveResult saveCatalogue(const QString &fileName, const CatalogueSource &source, WriterHost &host,
                         const std::function<LineRange()> &chooseRange)
{
    // Never opened, so a FIFO cannot block and a device is not replaced by a plain file.
    if (const std::optional<QString> refused = outputRefusal(fileName))
        return { false, *refused, {} };
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return { false, file.errorString(), {} };

    QStringEncoder encode(QStringConverter::System);
    QString block;
    block.reserve(BlockChars + 4096);
    bool written = true;
    // A short write is no error to QFileDevice; writing the rest again gives the reason.
    auto flush = [&] {
        const QByteArray bytes = encode(block);
        block.clear();
        for (qint64 done = 0; written && done < bytes.size();) {
            const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
            written = n > 0;
            done += std::max<qint64>(n, 0);
        }
        return written;
    };

    block += savedHeaderLine(source.folderText());
    block += LineEnd;

    // Asked before the hourglass goes up: the pointer is not busy while the user decides.
    const qint64 count = source.count();
    const LineRange range
        = (chooseRange ? chooseRange() : LineRange { 0, count - 1 }).within(count);

    RunGuard guard(host, SavedMeterBar);
    host.setStatusText(u"Saving"_s);

    SaveResult result;
    MeterSteps meter(count);
    DateTimeFormatter dates;
    for (qint64 line = range.first; line <= range.last; ++line) {
        if (host.stopRequested()) {
            result.run.stopped = true;
            break;
        }
        if (const int percent = meter.percentAt(line); percent >= 0)
            host.drawMeter(2, MeterBar, MeterBackground, percent);
        const std::optional<FileStat> stat = source.stat(line);
        result.run.count(stat.has_value());
        appendTextLine(block, source.displayName(line), stat, dates, TextLayout::Saved);
        block += LineEnd;
        if (block.size() >= BlockChars && !flush())
            break;
    }
    if (result.run.stopped) {
        file.cancelWriting();
        return result;
    }
    if (written)
        flush();

    guard.resetMeter();
    // Nothing replaces the earlier file unless every byte reached the disk.
    if (!written || !file.commit()) {
        result.error = file.error() != QFileDevice::NoError
            ? file.errorString()
            : u"The catalogue could not be written completely."_s;
        file.cancelWriting();
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace qm
