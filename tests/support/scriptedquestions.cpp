#include "support/scriptedquestions.h"

namespace qm {

namespace {

QString fontText(const FontChoice &font)
{
    return ScriptedQuestions::quoted(font.name) + QLatin1Char(' ') + QString::number(font.size)
        + (font.bold ? QStringLiteral(" bold") : QString())
        + (font.italic ? QStringLiteral(" italic") : QString())
        + (font.underline ? QStringLiteral(" underline") : QString())
        + (font.strikethru ? QStringLiteral(" strikethru") : QString()) + QStringLiteral(" colour=")
        + QString::number(font.colour);
}

} // namespace

QString ScriptedQuestions::quoted(const QString &text)
{
    QString result = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            result += QLatin1Char('\\') + c;
        else if (c == QLatin1Char('\n'))
            result += QStringLiteral("\\n");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            result += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            result += c;
    }
    return result + QLatin1Char('"');
}

void ScriptedQuestions::record(const QString &line, bool answered)
{
    if (!answered)
        ++m_unexpected;
    m_log.append(answered ? line : QStringLiteral("unexpected ") + line);
}

bool ScriptedQuestions::askYesNo(const QString &title, const QString &text)
{
    record(QStringLiteral("yesno %1 %2").arg(quoted(title), quoted(text)), !m_yesNo.isEmpty());
    return !m_yesNo.isEmpty() && m_yesNo.takeFirst();
}

QString ScriptedQuestions::askText(const QString &title, const QString &prompt,
                                   const QString &defaultText, QPoint screenTwips)
{
    // One pass over the pieces: a "%" in an asked text is not taken for a placeholder.
    record(QStringLiteral("text %1 %2 %3 at %4,%5")
               .arg(quoted(title), quoted(prompt), quoted(defaultText),
                    QString::number(screenTwips.x()), QString::number(screenTwips.y())),
           !m_texts.isEmpty());
    return m_texts.isEmpty() ? QString() : m_texts.takeFirst();
}

std::optional<QString> ScriptedQuestions::askSaveFileName(const QString &title,
                                                          const QString &filter,
                                                          const QString &suggested,
                                                          QString *chosenFilter)
{
    record(QStringLiteral("save %1 %2 %3").arg(quoted(title), quoted(filter), quoted(suggested)),
           !m_fileNames.isEmpty());
    if (m_fileNames.isEmpty())
        return std::nullopt;
    const auto [fileName, chosen] = m_fileNames.takeFirst();
    if (chosenFilter)
        *chosenFilter = chosen.isEmpty() ? filter.section(QStringLiteral(";;"), 0, 0) : chosen;
    return fileName;
}

std::optional<FontChoice> ScriptedQuestions::askFont(const FontChoice &initial)
{
    record(QStringLiteral("font ") + fontText(initial), !m_fonts.isEmpty());
    return m_fonts.isEmpty() ? std::nullopt : m_fonts.takeFirst();
}

bool ScriptedQuestions::askPrint(QPrinter *printer, bool selectionAvailable, bool *selectionChosen)
{
    record(QStringLiteral("print selection=")
               + (selectionAvailable ? QStringLiteral("on") : QStringLiteral("off")),
           !m_prints.isEmpty());
    const PrintAnswer answer
        = m_prints.isEmpty() ? PrintAnswer { false, false } : m_prints.takeFirst();
    if (answer.accepted && answer.setUp)
        answer.setUp(printer);
    if (selectionChosen)
        *selectionChosen = answer.accepted && selectionAvailable && answer.selectionChosen;
    return answer.accepted;
}

} // namespace qm
