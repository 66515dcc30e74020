#pragma once

#include "catalogue/cataloguesource.h"
#include "catalogue/writerhost.h"

#include <QColor>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

namespace qm::test {

/// The file list as a plain table; a vanished file has no stat.
class FakeSource : public CatalogueSource
{
public:
    std::vector<std::pair<QString, std::optional<FileStat>>> entries;
    QString folder = QStringLiteral("/data");

    void add(const QString &name, qint64 size, qint64 modified)
    {
        entries.push_back({ name, FileStat { size, modified } });
    }
    void addVanished(const QString &name) { entries.push_back({ name, std::nullopt }); }

    qint64 count() const override { return qint64(entries.size()); }
    // at() throws, so a read past the end fails the test.
    QString displayName(qint64 i) const override { return entries.at(size_t(i)).first; }
    std::optional<FileStat> stat(qint64 i) const override { return entries.at(size_t(i)).second; }
    QString folderPrefix() const override { return folder + QLatin1Char('/'); }
    QString folderText() const override { return folder; }
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
        calls << QStringLiteral("meter %1 %2 %3 %4")
                     .arg(style)
                     .arg(bar.name(), back.name())
                     .arg(percent);
    }
    void setPreviewedCommands() override { calls << QStringLiteral("commands previewed"); }
};

} // namespace qm::test
