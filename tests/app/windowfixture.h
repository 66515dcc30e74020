#pragma once

// What the window tests share: the real main window over a temporary folder, its settings
// in memory, a scripted answer to every dialog.
#include "app/mainwindow.h"
#include "browse/folderbrowserview.h"
#include "preview/previewarea.h"
#include "support/memorysettingsstore.h"
#include "support/scratchfolder.h"
#include "support/scriptedquestions.h"

#include <QApplication>
#include <QListView>
#include <QLocale>
#include <QPrinter>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace qm::test {

inline QStringList recordedTexts(const PreviewPicture &picture)
{
    QStringList texts;
    for (qint64 i = 0; i < picture.itemCount(); ++i)
        texts << picture.item(i).text;
    return texts;
}

// The print dialog's answer: OK, on A4 paper into the PDF file \a pdf.
inline ScriptedQuestions::PrintAnswer toPdf(const QString &pdf, bool selectionChosen = false)
{
    return { true, selectionChosen, [pdf](QPrinter *printer) {
                printer->setOutputFormat(QPrinter::PdfFormat);
                printer->setOutputFileName(pdf);
                printer->setPageSize(QPageSize(QPageSize::A4));
            } };
}

// Opens the sub-folder \a name as a double click in the folder list does.
inline void openFolder(MainWindow &window, const QString &name)
{
    QListView *folders = window.browser()->folderList();
    const QModelIndexList found = folders->model()->match(
        folders->model()->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    emit folders->activated(found.first());
}

// Runs \a act on the modal dialog once its modal loop runs; call it before opening.
inline void whenModal(std::function<void(QWidget *)> act)
{
    QTimer::singleShot(0, qApp, [act] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            QApplication::setActiveWindow(modal);
            act(modal);
        } else {
            whenModal(act);
        }
    });
}

class WindowFixture
{
public:
    // For initTestCase: a pinned locale, and an ini store nowhere near the real one.
    void pin()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    }

    // A fresh empty folder, stored as the one to show.
    void newFolder()
    {
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
        store = std::make_unique<MemorySettingsStore>();
        store->set(QStringLiteral("Quillmark"), QStringLiteral("StartUp"), QStringLiteral("Folder"),
                   folder->path());
        questions = std::make_unique<ScriptedQuestions>();
    }

    // file0000.txt, file0001.txt, ...: enough lines for a long run or several pages.
    void makeFiles(int count, const QByteArray &content = {})
    {
        for (int i = 0; i < count; ++i)
            QVERIFY(writeFile(
                folder->filePath(QStringLiteral("file%1.txt").arg(i, 4, 10, QLatin1Char('0'))),
                content));
    }

    // The window over the folder, shown and active.
    void start()
    {
        window = std::make_unique<MainWindow>(*store, *questions);
        window->load();
        window->show();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    // For cleanup: closes the window; every question asked must have had its answer, and
    // every answer its question.
    void finish()
    {
        if (window)
            window->close();
        window.reset();
        QCOMPARE(questions->unexpectedCount(), 0);
        QCOMPARE(questions->unusedAnswers(), 0);
    }

    QTemporaryDir settingsDir;
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<MemorySettingsStore> store;
    std::unique_ptr<ScriptedQuestions> questions;
    std::unique_ptr<MainWindow> window;
};

} // namespace qm::test
