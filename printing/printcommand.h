#pragma once

#include <QString>

#include <memory>

class QPrinter;

namespace qm {

class CatalogueSource;
class PreviewViewport;
class Questions;
class WriterHost;
struct CatalogueState;

/// What became of a print run.
struct PrintResult
{
    enum class Outcome {
        Printed, // the job went to the printer or the file
        Cancelled, // the print dialog was cancelled: nothing happened
        Empty, // nothing to print: the job ended without output
        Failed, // the printer or the file could not take the job
        Stopped, // the user stopped it: a printer got the pages made so far, a file nothing
    };
    Outcome outcome = Outcome::Cancelled;
    int pages = 0;
    QString destination; // the printer's name, or the PDF file
    QString error; // why it failed, as a sentence
    bool earlierFileKept = false; // a PDF file of that name was there and stays as it was
    qint64 vanished = 0; // files gone or unreadable when their lines were printed
};

/// The print job's title: the folder's name ("Quillmark" for a folder without one, such as
/// "/"). It also names the PDF file that a PDF printer makes of the job.
QString jobName(const QString &folderPrefix);

/// Takes the page size of the printer's paper, as the printer is set up now, into \a state.
void takePageSize(CatalogueState &state, const QPrinter &printer);

/// What the window says when a print run failed: where it was printed, and why it failed.
QString printFailureText(const PrintResult &result);

/// The file a machine without a printer prints to: the folder's name with ".pdf" in the
/// home folder ("Quillmark.pdf" for a folder without a name, such as "/").
QString defaultPdfFileName(const QString &folderPrefix);

/// Prints the catalogue on \a printer as it is set up, with the print hooks of the writer:
/// the job is always ended, and the line metrics of the preview are kept for its selection
/// and scrolling. The header is asked through \a headerQuestions; without them it is the last
/// header, or the folder. A PDF file is written beside the chosen one and replaces it only
/// when it is complete; a chosen path that holds no regular file is refused unopened.
PrintResult printCatalogue(CatalogueState &state, const CatalogueSource &source,
                           PreviewViewport &viewport, WriterHost &host, QPrinter &printer,
                           Questions *headerQuestions);

/// The Print command: the print dialog (the selection offered and chosen when lines are
/// selected, no page range, output to a PDF file available), then the page size of the
/// chosen printer and paper, then the catalogue printed. Keeps the printer between runs,
/// so the next dialog offers the last choice.
class PrintCommand
{
public:
    explicit PrintCommand(Questions &questions);
    ~PrintCommand();
    PrintCommand(const PrintCommand &) = delete;
    PrintCommand &operator=(const PrintCommand &) = delete;

    QPrinter &printer() { return *m_printer; }

    PrintResult run(CatalogueState &state, const CatalogueSource &source, PreviewViewport &viewport,
                    WriterHost &host);

private:
    void offerPdfFile(const QString &folderPrefix);

    Questions &m_questions;
    std::unique_ptr<QPrinter> m_printer;
    QString m_offeredPdf;
};

} // namespace qm
