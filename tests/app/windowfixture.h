#pragma once

// What the window tests share: the real main window over a temporary folder, its settings
// in memory, a scripted answer to every dialog.
#include "app/mainwindow.h"
#include "preview/previewarea.h"
#include "support/memorysettingsstore.h"
#include "support/scriptedquestions.h"

#include <QApplication>
#include <QFile>
#include <QLocale>
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

    void makeFile(const QString &name, const QByteArray &content)
    {
        QFile file(folder->filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
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

    // For cleanup: closes the window; every question asked must have had its answer.
    void finish()
    {
        if (window)
            window->close();
        window.reset();
        QCOMPARE(questions->unexpectedCount(), 0);
    }

    QTemporaryDir settingsDir;
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<MemorySettingsStore> store;
    std::unique_ptr<ScriptedQuestions> questions;
    std::unique_ptr<MainWindow> window;
};

} // namespace qm::test
