#include "support/testtarget.h"

using namespace Qt::StringLiterals;

namespace qm {

namespace {

QString number(double value)
{
    return QString::number(value, 'g', 12);
}

QString quoted(const QString &text)
{
    QString out = text;
    out.replace(u'\\', u"\\\\"_s);
    out.replace(u'"', u"\\\""_s);
    return QLatin1Char('"') + out + QLatin1Char('"');
}

QString flag(bool on)
{
    return on ? u"1"_s : u"0"_s;
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
    QStringList out;
    for (const QString &call : m_calls) {
        if (call.startsWith(prefix))
            out << call;
    }
    return out;
}

void TestTarget::setScaleSize(qint64 width, qint64 height)
{
    m_scaleWidth = width;
    m_scaleHeight = height;
}

void TestTarget::styleChanged(StyleChange change)
{
    const TextStyle &style = textStyle();
    switch (change) {
    case StyleChange::FontName:
        m_calls << u"fontName "_s + quoted(style.font.name);
        break;
    case StyleChange::FontSize:
        m_calls << u"fontSize "_s + number(style.font.size);
        break;
    case StyleChange::FontBold:
        m_calls << u"fontBold "_s + flag(style.font.bold);
        break;
    case StyleChange::FontItalic:
        m_calls << u"fontItalic "_s + flag(style.font.italic);
        break;
    case StyleChange::FontUnderline:
        m_calls << u"fontUnderline "_s + flag(style.font.underline);
        break;
    case StyleChange::FontStrikethru:
        m_calls << u"fontStrikethru "_s + flag(style.font.strikethru);
        break;
    case StyleChange::ForeColor:
        m_calls << u"foreColor &H"_s
                + QString::number(quint32(style.colour), 16).toUpper().rightJustified(8, u'0');
        break;
    }
}

double TestTarget::textWidth(const QString &text) const
{
    ++m_measurements;
    qsizetype characters = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!text.at(i).isLowSurrogate() || i == 0 || !text.at(i - 1).isHighSurrogate())
            ++characters;
    }
    return m_charWidth * double(characters);
}

double TestTarget::textHeight(const QString &) const
{
    return m_lineHeight;
}

void TestTarget::print(const QString &text)
{
    m_calls << u"text "_s + number(m_x) + QLatin1Char(',') + number(m_y) + QLatin1Char(' ')
            + quoted(text);
    m_x = m_scaleLeft;
    m_y += m_lineHeight;
}

void TestTarget::setWidth(qint64 twips)
{
    m_width = twips;
    m_calls << u"width "_s + QString::number(twips);
}

void TestTarget::setHeight(qint64 twips)
{
    m_height = twips;
    m_calls << u"height "_s + QString::number(twips);
}

qint64 TestTarget::scaleWidth() const
{
    return m_scaleWidth < 0 ? m_width : m_scaleWidth;
}

qint64 TestTarget::scaleHeight() const
{
    return m_scaleHeight < 0 ? m_height : m_scaleHeight;
}

void TestTarget::setScaleLeft(double twips)
{
    m_scaleLeft = twips;
    m_calls << u"scaleLeft "_s + number(twips);
}

void TestTarget::setScaleTop(double twips)
{
    m_scaleTop = twips;
    m_calls << u"scaleTop "_s + number(twips);
}

void TestTarget::cls()
{
    m_x = m_scaleLeft;
    m_y = m_scaleTop;
    m_calls << u"cls"_s;
}

void TestTarget::refresh()
{
    m_calls << u"refresh"_s;
}

void TestTarget::newPage()
{
    m_x = m_scaleLeft;
    m_y = m_scaleTop;
    m_calls << u"newPage"_s;
}

void TestTarget::endDoc()
{
    m_calls << u"endDoc"_s;
}

} // namespace qm
