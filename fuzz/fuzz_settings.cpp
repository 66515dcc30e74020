// Settings text as a hand or a broken disk may leave it: every loaded value must lie in the
// range the rest of the program relies on, survive a save and load unchanged, and give a
// catalogue geometry without overflow.

#include "app/runstate.h"
#include "app/settings.h"
#include "catalogue/linegeometry.h"
#include "catalogue/previewviewport.h"
#include "support/memorysettingsstore.h"
#include "support/testtarget.h"

#include <QStringList>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

class FixedViewport : public qm::PreviewViewport
{
public:
    qint64 viewWidth() const override { return 7830; }
    qint64 viewHeight() const override { return 2700; }
    qint64 viewScaleWidth() const override { return 7770; }
    qint64 viewScaleHeight() const override { return 2640; }
    void setScrollMaximum(Qt::Orientation bar, qint64 maximum) override
    {
        m_maximum[bar == Qt::Horizontal] = maximum;
    }
    qint64 scrollMaximum(Qt::Orientation bar) const override
    {
        return m_maximum[bar == Qt::Horizontal];
    }
    void setScrollMinimum(Qt::Orientation, qint64) override { }
    void setScrollSteps(Qt::Orientation, qint64, qint64) override { }

private:
    qint64 m_maximum[2] = {};
};

QStringList writtenLines(const qm::MemorySettingsStore &store)
{
    QStringList lines;
    for (const auto &write : store.writes())
        lines << write.key + u'=' + write.value;
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // One "Key=value" a line, as in the [StartUp] section of the file.
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    qm::MemorySettingsStore store;
    for (QStringView line : QStringView(text).split(u'\n')) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0)
            store.set(qm::SettingsApplication, qm::SettingsSection,
                      line.left(equals).trimmed().toString(), line.mid(equals + 1).toString());
    }

    const qm::StoredSettings loaded = qm::loadSettings(store, u"/home/fuzz"_s);
    const qm::PrintSettings &print = loaded.print;
    require(loaded.folder.startsWith(u'/'));
    require(loaded.font.size >= 1 && loaded.font.size <= 1000);
    require(loaded.colour >= 0 && loaded.colour <= 0x00FFFFFF);
    for (const qint16 margin :
         { print.topMargin, print.bottomMargin, print.leftMargin, print.rightMargin })
        require(margin >= 0 && margin <= 3000);
    const double shares[] = { print.column0, print.column1, print.column2 };
    require(shares[0] >= 0.1999 && shares[0] <= 0.7001);
    require(shares[1] >= 0.1499 && shares[2] >= 0.1499);
    require(std::fabs(shares[0] + shares[1] + shares[2] - 1.0) <= 0.0011);

    // What one run saves, the next reads back as it was.
    qm::MemorySettingsStore saved;
    qm::saveSettings(saved, loaded);
    qm::MemorySettingsStore again;
    qm::saveSettings(again, qm::loadSettings(saved, u"/elsewhere"_s));
    require(writtenLines(saved) == writtenLines(again));

    // The geometry of a preview and of a printed page on A4 paper.
    for (const bool printing : { false, true }) {
        qm::RunState state;
        state.printSettings = print;
        qm::selectUnit(state.printSettings);
        state.catalogueFont = loaded.font;
        state.catalogueColour = loaded.colour;
        state.pageWidth = 11906;
        state.pageHeight = 16838;
        qm::TestTarget target;
        FixedViewport viewport;
        qm::pageParameters(target, state,
                           printing ? qm::OutputMedium::Paper : qm::OutputMedium::Preview,
                           1'000'000, viewport);
        qm::LineMetrics &metrics = state.metrics;
        qm::setTruncationLimits(metrics);
        require(metrics.nameWidth > 0 && metrics.sizeWidth > 0 && metrics.dateWidth > 0);
        require(metrics.printHeight > 0 && metrics.pageCount > 0);
    }
    return 0;
}
