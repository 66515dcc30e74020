#pragma once

#include "catalogue/cataloguesource.h"
#include "catalogue/previewviewport.h"
#include "catalogue/writerhost.h"

#include <QColor>
#include <QDateTime>
#include <QStringList>

#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

namespace qm::test {

// Stand-ins for the file list, the viewing window, the main window and the printing command.

class FakeSource : public CatalogueSource
{
public:
    std::vector<std::pair<QString, std::optional<FileStat>>> entries;
    QString prefix = QStringLiteral("/data/");
    mutable qint64 statCalls = 0; // files read afresh

    void add(const QString &name, qint64 size, qint64 modified)
    {
        entries.push_back({ name, FileStat { size, modified } });
    }
    void addVanished(const QString &name) { entries.push_back({ name, std::nullopt }); }

    qint64 count() const override { return qint64(entries.size()); }
    // at() throws, so a read past the end fails the test.
    QString displayName(qint64 i) const override { return entries.at(size_t(i)).first; }
    QByteArray name(qint64 i) const override { return displayName(i).toUtf8(); }
    std::optional<FileStat> stat(qint64 i) const override
    {
        ++statCalls;
        return entries.at(size_t(i)).second;
    }
    QString folderPrefix() const override { return prefix; }
    QString folderText() const override { return prefix.chopped(1); } // "/data"
};

inline const qint64 Afternoon
    = QDateTime(QDate(2026, 12, 6), QTime(13, 4, 5), Qt::UTC).toSecsSinceEpoch();

/// "file00.txt", "file01.txt" ... of 1000, 1001 ... bytes, all changed on the same afternoon;
/// those of the lines \a vanished are gone by the time they are read.
inline FakeSource filesNamed(int count, std::initializer_list<int> vanished = {})
{
    FakeSource source;
    for (int i = 0; i < count; ++i)
        source.add(QStringLiteral("file%1.txt").arg(i, 2, 10, QLatin1Char('0')), 1000 + i,
                   Afternoon);
    for (const int line : vanished)
        source.entries.at(size_t(line)).second.reset();
    return source;
}

/// The viewing window of the real preview at 96 DPI: 7575 × 2415 twips outside, a frame of
/// two pixels (30 twips) on each side.
class FakeViewport : public PreviewViewport
{
public:
    qint64 horizontalMaximum = 0;
    qint64 verticalMaximum = 0;

    qint64 viewWidth() const override { return 7575; }
    qint64 viewHeight() const override { return 2415; }
    qint64 viewScaleWidth() const override { return 7515; }
    qint64 viewScaleHeight() const override { return 2355; }
    void setScrollMaximum(Qt::Orientation o, qint64 maximum) override
    {
        (o == Qt::Horizontal ? horizontalMaximum : verticalMaximum) = maximum;
    }
    qint64 scrollMaximum(Qt::Orientation o) const override
    {
        return o == Qt::Horizontal ? horizontalMaximum : verticalMaximum;
    }
    void setScrollMinimum(Qt::Orientation, qint64) override { }
    void setScrollSteps(Qt::Orientation, qint64, qint64) override { }
};

/// Writes down what the main window was asked to show.
class RecordingHost : public WriterHost
{
public:
    QStringList calls;

    void setBusy(bool busy) override { calls << QStringLiteral("busy %1").arg(busy ? 1 : 0); }
    void setStatusText(const QString &text) override
    {
        calls << QStringLiteral("status \"%1\"").arg(text);
    }
    void drawMeter(int style, const QColor &bar, const QColor &back, int percent) override
    {
        calls << QString::asprintf("meter %d %s %s %d", style, qPrintable(bar.name()),
                                   qPrintable(back.name()), percent);
    }
    void setPreviewedCommands() override { calls << QStringLiteral("commands previewed"); }

    /// The user asks to stop once this many lines have been asked about; never when negative.
    qint64 stopAfter = -1;
    qint64 polls = 0;
    bool stopRequested() override { return stopAfter >= 0 && ++polls > stopAfter; }
};

} // namespace qm::test
