#pragma once

// Stand-ins for the file list, the viewing window and the main window, for catalogue tests.

#include "catalogue/cataloguesource.h"
#include "catalogue/previewviewport.h"
#include "catalogue/printhooks.h"
#include "catalogue/writerhost.h"

#include <QColor>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace qm::test {

class FakeSource : public CatalogueSource
{
public:
    struct Entry
    {
        QString name;
        std::optional<FileStat> stat;
    };

    std::vector<Entry> entries;
    QString prefix = QStringLiteral("/data/");

    void add(const QString &name, qint64 size, qint64 modified)
    {
        entries.push_back({ name, FileStat { size, modified } });
    }
    void addVanished(const QString &name) { entries.push_back({ name, std::nullopt }); }

    qint64 count() const override { return qint64(entries.size()); }
    QString displayName(qint64 index) const override { return entries.at(size_t(index)).name; }
    std::optional<FileStat> stat(qint64 index) const override
    {
        return entries.at(size_t(index)).stat;
    }
    QString folderPrefix() const override { return prefix; }
};

/// The viewing window of the real preview at 96 DPI: 7575 × 2415 twips outside, a frame of
/// two pixels (30 twips) on each side. The scroll bars keep their range valid the way a
/// QScrollBar does.
class FakeViewport : public PreviewViewport
{
public:
    qint64 width = 7575;
    qint64 height = 2415;
    qint64 scaleWidth = 7515;
    qint64 scaleHeight = 2355;

    struct Bar
    {
        qint64 minimum = 0;
        qint64 maximum = 0;
        qint64 pageStep = 10;
        qint64 singleStep = 1;
    };
    Bar horizontal;
    Bar vertical;

    qint64 viewWidth() const override { return width; }
    qint64 viewHeight() const override { return height; }
    qint64 viewScaleWidth() const override { return scaleWidth; }
    qint64 viewScaleHeight() const override { return scaleHeight; }

    Bar &bar(Qt::Orientation o) { return o == Qt::Horizontal ? horizontal : vertical; }
    const Bar &bar(Qt::Orientation o) const { return o == Qt::Horizontal ? horizontal : vertical; }

    void setScrollMaximum(Qt::Orientation o, qint64 maximum) override
    {
        bar(o).maximum = maximum;
        bar(o).minimum = std::min(bar(o).minimum, maximum);
    }
    qint64 scrollMaximum(Qt::Orientation o) const override { return bar(o).maximum; }
    void setScrollMinimum(Qt::Orientation o, qint64 minimum) override
    {
        bar(o).minimum = minimum;
        bar(o).maximum = std::max(bar(o).maximum, minimum);
    }
    void setScrollSteps(Qt::Orientation o, qint64 pageStep, qint64 singleStep) override
    {
        bar(o).pageStep = pageStep;
        bar(o).singleStep = singleStep;
    }
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
    void drawMeter(int style, const QColor &bar, const QColor &background, int percent) override
    {
        calls << QStringLiteral("meter %1 %2 %3 %4")
                     .arg(style)
                     .arg(bar.name(), background.name())
                     .arg(percent);
    }
    void setPreviewedCommands() override { calls << QStringLiteral("commands previewed"); }

    QStringList meterCalls() const { return calls.filter(QStringLiteral("meter ")); }
};

} // namespace qm::test
