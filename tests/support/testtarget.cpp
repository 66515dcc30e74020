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

void TestTarget::changed(Change change)
{
    const TextStyle &style = textStyle();
    switch (change) {
    case Change::FontName:
        m_calls << u"fontName "_s + quoted(style.font.name);
        break;
    case Change::FontSize:
        m_calls << u"fontSize "_s + number(style.font.size);
        break;
    case Change::FontBold:
        m_calls << u"fontBold "_s + flag(style.font.bold);
        break;
    case Change::FontItalic:
        m_calls << u"fontItalic "_s + flag(style.font.italic);
        break;
    case Change::FontUnderline:
        m_calls << u"fontUnderline "_s + flag(style.font.underline);
        break;
    case Change::FontStrikethru:
        m_calls << u"fontStrikethru "_s + flag(style.font.strikethru);
        break;
    case Change::ForeColor:
        m_calls << u"foreColor &H"_s
                + QString::number(quint32(style.colour), 16).toUpper().rightJustified(8, u'0');
        break;
    case Change::Width:
        m_calls << u"width "_s + QString::number(width());
        break;
    case Change::Height:
        m_calls << u"height "_s + QString::number(height());
        break;
    case Change::ScaleLeft:
        m_calls << u"scaleLeft "_s + number(scaleLeft());
        break;
    case Change::ScaleTop:
        m_calls << u"scaleTop "_s + number(scaleTop());
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

void TestTarget::refresh()
{
    m_calls << u"refresh"_s;
}

void TestTarget::newPage()
{
    home();
    m_calls << u"newPage"_s;
}

void TestTarget::endDoc()
{
    m_calls << u"endDoc"_s;
}

} // namespace qm
