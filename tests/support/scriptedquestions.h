#pragma once

#include "platform/questions.h"

#include <QList>
#include <QStringList>

#include <functional>

namespace qm {

/// Questions answered from queues that a test fills beforehand. Every question is logged as a
/// text line, e.g. `yesno "Quillmark Save" "Save Selection Only?"`. A question without a queued
/// answer is logged with the prefix "unexpected " and answered with No or Cancel.
class ScriptedQuestions : public Questions
{
public:
    struct PrintAnswer
    {
        bool accepted = true;
        bool selectionChosen = false;
        /// What the user chose in the dialog besides the range: printer, file, paper.
        std::function<void(QPrinter *)> setUp = {};
    };

    void answerYesNo(bool yes) { m_yesNo << yes; }
    void answerText(const QString &text) { m_texts << text; } // empty: what Cancel gives
    /// \a filter is the file type chosen; empty: the first one offered.
    void answerSaveFileName(const std::optional<QString> &fileName,
                            const QString &filter = QString())
    {
        m_fileNames.append({ fileName, filter });
    }
    void answerFont(const std::optional<FontChoice> &choice) { m_fonts << choice; }
    void answerPrint(const PrintAnswer &answer) { m_prints << answer; }

    bool askYesNo(const QString &title, const QString &text) override;
    QString askText(const QString &title, const QString &prompt, const QString &defaultText,
                    QPoint screenTwips) override;
    std::optional<QString> askSaveFileName(const QString &title, const QString &filter,
                                           const QString &suggested,
                                           QString *chosenFilter) override;
    std::optional<FontChoice> askFont(const FontChoice &initial) override;
    bool askPrint(QPrinter *printer, bool selectionAvailable, bool *selectionChosen) override;
    void showMessage(const QString &title, const QString &text) override
    {
        record(QStringLiteral("message %1 %2").arg(quoted(title), quoted(text)), true);
    }
    void showHelp() override { record(QStringLiteral("help"), true); }

    const QStringList &log() const { return m_log; }
    void clearLog() { m_log.clear(); }
    /// Questions asked without a queued answer.
    int unexpectedCount() const { return m_unexpected; }
    /// Queued answers nobody asked for.
    qsizetype unusedAnswers() const
    {
        return m_yesNo.size() + m_texts.size() + m_fileNames.size() + m_fonts.size()
            + m_prints.size();
    }

    /// A text in double quotes with quotes, backslashes and control characters escaped.
    static QString quoted(const QString &text);

private:
    void record(const QString &line, bool answered);

    QList<bool> m_yesNo;
    QStringList m_texts;
    QList<std::pair<std::optional<QString>, QString>> m_fileNames;
    QList<std::optional<FontChoice>> m_fonts;
    QList<PrintAnswer> m_prints;
    QStringList m_log;
    int m_unexpected = 0;
};

} // namespace qm
