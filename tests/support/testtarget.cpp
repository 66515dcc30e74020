#include "support/testtarget.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

QString number(double value)
{
    return QString::number(value, 'g', 12);
}

QString quoted(const QString &text)
{
    return u'"' + QString(text).replace(u'\\', u"\\\\"_s).replace(u'"', u"\\\""_s) + u'"';
}

QString flag(bool on)
{
    return QString::number(int(on));
}

} // namespace

TestTarget::TestTarget(double charWidth, double lineHeight)
    : OutputTarget(TextStyle { CatalogueFont { QString(), 0 }, 0 })
    , m_charWidth(charWidth)
    , m_lineHeight(lineHeight)
{
}

QStringList TestTarget::calls(QStringView prefix) const
{
    return m_calls.filter(QRegularExpression(u'^' + QRegularExpression::escape(prefix)));
}

void TestTarget::changed(Change change)
{
    static const char *const names[]
        = { "fontName",  "fontSize", "fontBold", "fontItalic", "fontUnderline", "fontStrikethru",
            "foreColor", "width",    "height",   "scaleLeft",  "scaleTop" };
    const TextStyle &style = textStyle();
    const QString colour = QString::number(quint32(style.colour), 16).toUpper();
    const QString values[] = { quoted(style.font.name),
                               number(style.font.size),
                               flag(style.font.bold),
                               flag(style.font.italic),
                               flag(style.font.underline),
                               flag(style.font.strikethru),
                               u"&H"_s + colour.rightJustified(8, u'0'),
                               QString::number(width()),
                               QString::number(height()),
                               number(scaleLeft()),
                               number(scaleTop()) };
    m_calls << QLatin1StringView(names[int(change)]) + u' ' + values[int(change)];
}

double TestTarget::textWidth(const QString &text) const
{
    ++m_measurements;
    return m_charWidth * double(text.toUcs4().size());
}

void TestTarget::drawText(double x, double y, const QString &text)
{
    m_calls << u"text "_s + number(x) + QLatin1Char(',') + number(y) + QLatin1Char(' ')
            + quoted(text);
}

void TestTarget::cls()
{
    home();
    m_calls << u"cls"_s;
}

void TestTarget::newPage()
{
    home();
    m_calls << u"newPage"_s;
}

} // namespace qm
