#include "saving/textoutputs.h"

#include "catalogue/cataloguesource.h"
#include "catalogue/runguard.h"
#include "catalogue/writerhost.h"
#include "platform/datetext.h"
#include "platform/numbers.h"
#include "platform/outputfile.h"
#include "saving/dataformats.h"

#include <QFileDevice>
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

namespace {

// The parts of a catalogue file that differ between its forms; the walk is the same.
class FileLayout
{
public:
    FileLayout(const SaveOptions &options, const CatalogueSource &source)
        : m_options(options)
        , m_source(source)
    {
    }

    QStringEncoder encoder() const
    {
        // The text forms follow the system, as the window's text does; data is UTF-8.
        return QStringEncoder(m_options.format == SaveFormat::Text
                                      || m_options.format == SaveFormat::Lines
                                  ? QStringConverter::System
                                  : QStringConverter::Utf8);
    }

    void head(QString &out) const
    {
        switch (m_options.format) {
        case SaveFormat::Text:
            out += savedHeaderLine(m_source.folderText());
            out += LineEnd;
            break;
        case SaveFormat::Lines:
            break;
        case SaveFormat::Csv:
            if (m_options.byteOrderMark)
                out += QChar(0xFEFF);
            out += csvHeader(m_options.separator);
            out += LineEnd;
            break;
        case SaveFormat::Json:
            out += u"[\n";
            break;
        }
    }

    /// False when the file could not be read.
    bool line(QString &out, qint64 index, bool last, DateTimeFormatter &dates) const
    {
        const std::optional<FileStat> stat = m_source.stat(index);
        switch (m_options.format) {
        case SaveFormat::Text:
        case SaveFormat::Lines:
            appendTextLine(out, m_source.displayName(index), stat, dates,
                           m_options.format == SaveFormat::Text ? TextLayout::Saved
                                                                : TextLayout::Clipboard);
            out += LineEnd;
            break;
        case SaveFormat::Csv:
            appendCsvRow(out, dataName(m_source.name(index), m_source.displayName(index)), stat,
                         m_options.separator);
            out += LineEnd;
            break;
        case SaveFormat::Json:
            appendJsonObject(out, m_source.name(index), m_source.displayName(index), stat);
            out += last ? QStringView(u"\n") : QStringView(u",\n");
            break;
        }
        return stat.has_value();
    }

    void tail(QString &out) const
    {
        if (m_options.format == SaveFormat::Json)
            out += u"]\n";
    }

private:
    const SaveOptions &m_options;
    const CatalogueSource &m_source;
};

QString deviceError(const QIODevice &device)
{
    const auto *file = qobject_cast<const QFileDevice *>(&device);
    if (file && file->error() == QFileDevice::NoError)
        return QString();
    return device.errorString();
}

} // namespace

SaveResult writeCatalogue(QIODevice &device, const CatalogueSource &source, WriterHost &host,
                          const std::function<LineRange()> &chooseRange, const SaveOptions &options)
{
    const FileLayout layout(options, source);
    QStringEncoder encode = layout.encoder();
    QString block;
    block.reserve(BlockChars + 4096);
    bool written = true;
    // A short write is no error to QFileDevice; writing the rest again gives the reason.
    auto flush = [&] {
        const QByteArray bytes = encode(block);
        block.clear();
        for (qint64 done = 0; written && done < bytes.size();) {
            const qint64 n = device.write(bytes.constData() + done, bytes.size() - done);
            written = n > 0;
            done += std::max<qint64>(n, 0);
        }
        return written;
    };

    layout.head(block);

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
            return result;
        }
        if (const int percent = meter.percentAt(line); percent >= 0)
            host.drawMeter(2, MeterBar, MeterBackground, percent);
        result.run.count(layout.line(block, line, line == range.last, dates));
        if (block.size() >= BlockChars && !flush())
            break;
    }
    if (written) {
        layout.tail(block);
        flush();
    }
    if (written) {
        if (auto *file = qobject_cast<QFileDevice *>(&device))
            written = file->flush();
    }

    guard.resetMeter();
    if (!written) {
        const QString why = deviceError(device);
        result.error = why.isEmpty() ? u"The catalogue could not be written completely."_s : why;
        return result;
    }
    result.ok = true;
    return result;
}

SaveResult saveCatalogue(const QString &fileName, const CatalogueSource &source, WriterHost &host,
                         const std::function<LineRange()> &chooseRange, const SaveOptions &options)
{
    // Never opened, so a FIFO cannot block and a device is not replaced by a plain file.
    if (const std::optional<QString> refused = outputRefusal(fileName))
        return { false, *refused, {} };
    QSaveFile file(fileName);
    // Unbuffered: the lines come in large blocks already, and a failed write of Qt's own
    // buffer at the end would reach commit() unnoticed and without its reason.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return { false, file.errorString(), {} };
    SaveResult result = writeCatalogue(file, source, host, chooseRange, options);
    // Nothing replaces the earlier file unless every byte reached the disk.
    if (result.ok && !file.commit()) {
        const QString why = deviceError(file);
        result.ok = false;
        result.error = why.isEmpty() ? u"The catalogue could not be written completely."_s : why;
    }
    if (!result.ok)
        file.cancelWriting();
    return result;
}

} // namespace qm
