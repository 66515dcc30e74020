#include "saving/savecommand.h"

#include "catalogue/cataloguesource.h"
#include "catalogue/cataloguestate.h"
#include "platform/questions.h"
#include "saving/textoutputs.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace qm {

SaveCommand::SaveCommand(Questions &questions, WriterHost &host)
    : m_questions(questions)
    , m_host(host)
{
}

bool SaveCommand::run(const CatalogueSource &source, const Selection &selection)
{
    m_lastResult = {};
    if (source.count() <= 0)
        return false;
    QString type;
    const std::optional<QString> chosen
        = m_questions.askSaveFileName(Title, Filter + u";;"_s + CsvFilter, m_lastFileName, &type);
    if (!chosen || chosen->isEmpty())
        return false;
    SaveOptions options;
    if (type == CsvFilter)
        options.format = SaveFormat::Csv;
    m_lastFileName = *chosen;
    const bool existed = QFileInfo(*chosen).isFile();

    m_lastResult = saveCatalogue(
        *chosen, source, m_host,
        [&]() -> LineRange {
            if (selection.selFirst != -1 && m_questions.askYesNo(QuestionTitle, Question))
                return { selection.selFirst, selection.selLast };
            return { 0, source.count() - 1 };
        },
        options);
    const SaveResult &result = m_lastResult;
    if (result.ok || result.run.stopped)
        return result.ok;

    // A save that did not happen must not pass for one that did.
    QString text = u"The catalogue could not be saved as %1.\n\n%2"_s.arg(*chosen, result.error);
    if (existed)
        text += u"\n\nThe earlier file of that name is unchanged."_s;
    m_questions.showMessage(QuestionTitle, text);
    return false;
}

CopyResult selectionText(const CatalogueSource &source, const Selection &selection,
                         WriterHost &host)
{
    if (selection.selFirst < 0)
        return {};
    return clipboardText(source, selection.selFirst, selection.selLast, host);
}

} // namespace qm
