#pragma once

#include "saving/textoutputs.h"

#include <QString>

namespace qm {

class CatalogueSource;
class Questions;
class WriterHost;
struct Selection;

/// The Save command: asks for a file, asks whether a selection alone is saved, writes the
/// catalogue and says so when it could not. One per window, so that the name chosen last is
/// offered again.
class SaveCommand
{
public:
    static inline const QString Title = QStringLiteral("Save Quillmark");
    static inline const QString Filter = QStringLiteral("Text(*.txt)");
    static inline const QString CsvFilter = QStringLiteral("Comma-separated values (*.csv)");
    static inline const QString QuestionTitle = QStringLiteral("Quillmark Save");
    static inline const QString Question = QStringLiteral("Save Selection Only?");

    SaveCommand(Questions &questions, WriterHost &host);

    /// Saves \a source as text or, when that file type is chosen, as CSV; or only the lines of \a
    /// selection when it has some and the user wants that. An empty list does nothing; Cancel ends
    /// silently, and so does a save the user stopped. True when a file was written.
    bool run(const CatalogueSource &source, const Selection &selection);

    QString lastFileName() const { return m_lastFileName; }
    /// How the last save that got as far as writing ended.
    const SaveResult &lastResult() const { return m_lastResult; }

private:
    Questions &m_questions;
    WriterHost &m_host;
    QString m_lastFileName;
    SaveResult m_lastResult;
};

/// The Copy command's text: the selected lines in the clipboard layout, or nothing when no
/// line is selected.
CopyResult selectionText(const CatalogueSource &source, const Selection &selection,
                         WriterHost &host);

} // namespace qm
