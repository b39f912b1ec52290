// New, Open, Save, Save As and Close with their prompts; failures that
// must tell the user and lose nothing; the atomic file helpers.

#include "framework_fixture.h"

#include <QFile>
#include <QMdiArea>

using namespace fixture;

namespace {

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

class DocumentTest : public QObject
{
    Q_OBJECT
    Fixture f;
    QTemporaryDir dir;

    int FrameCount() const { return static_cast<int>(f.frame->MdiArea()->subWindowList().size()); }

private slots:
    void init() { f.Init(); }
    void cleanup() { f.Cleanup(); }

    void NewAsksForTheTypeAndNumbersUntitledDocuments()
    {
        f.prompts.choices = {0, 0, -1, 1};
        for (int i = 0; i < 4; ++i)
            QVERIFY(f.frame->Router().Execute(Cmd::FileNew));
        QCOMPARE(f.prompts.chooseItems.first(),
                 (QStringList{QStringLiteral("Text Document"), QStringLiteral("Picture")}));
        QCOMPARE(f.text->Documents().size(), 2);
        QCOMPARE(f.text->Documents()[0]->Title(), QStringLiteral("Text1"));
        QCOMPARE(f.text->Documents()[1]->Title(), QStringLiteral("Text2"));
        QCOMPARE(f.picture->Documents().size(), 1);
        QCOMPARE(f.picture->Documents()[0]->Title(), QStringLiteral("Picture1"));

        // The new window is shown, active, and updated once before showing.
        auto* view = static_cast<TestView*>(f.text->Documents()[1]->Views().first());
        QCOMPARE(view->initialUpdates, 1);
        QVERIFY(view->Frame()->isVisible());
        QCOMPARE(f.frame->ActiveDocument(), f.picture->Documents()[0]);
        QCOMPARE(f.frame->windowTitle(), QStringLiteral("Kaleidra - Picture1"));
    }

    void OpenReadsTheFileAndASecondOpenActivatesIt()
    {
        const QString path = Fixture::WriteFile(dir, "a.txt", "hello");
        Application* app = Application::Instance();
        auto* document = static_cast<TextDocument*>(app->OpenDocumentFile(path));
        QVERIFY(document);
        QCOMPARE(document->content, QByteArray("hello"));
        QCOMPARE(document->Title(), QStringLiteral("a.txt"));
        QCOMPARE(document->PathName(), path);
        QVERIFY(!document->IsModified());
        QCOMPARE(app->RecentFiles().Files().first(), path);

        QVERIFY(f.text->OpenDocumentFile(QString()));
        QVERIFY(f.frame->ActiveDocument() != document);
        // The same file by another spelling of its path.
        QCOMPARE(app->OpenDocumentFile(dir.path() + "/./a.txt"), document);
        QCOMPARE(document->opens, 1);
        QCOMPARE(f.frame->ActiveDocument(), document);
        QCOMPARE(FrameCount(), 2);
    }

    void AFailedOpenLeavesNothingAndSaysWhy_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << "missing.txt"
                                 << "No such file";
        QTest::newRow("damaged") << "damaged.txt"
                                 << "the content is damaged";
        QTest::newRow("unknown type") << "notes.doc"
                                      << "is not a document";
        QTest::newRow("folder") << "folder.txt"
                                << "Is a directory";
    }
    void AFailedOpenLeavesNothingAndSaysWhy()
    {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        Fixture::WriteFile(dir, "damaged.txt", "BAD data");
        Fixture::WriteFile(dir, "notes.doc", "text");
        QDir(dir.path()).mkdir("folder.txt");
        const QString path = dir.filePath(name);
        QVERIFY(!Application::Instance()->OpenDocumentFile(path));
        QCOMPARE(f.prompts.errors.size(), 1);
        QVERIFY2(f.prompts.errors[0].contains(path), qPrintable(f.prompts.errors[0]));
        QVERIFY2(f.prompts.errors[0].contains(reason), qPrintable(f.prompts.errors[0]));
        Fixture::Flush();
        QVERIFY(Application::Instance()->Documents().isEmpty());
        QCOMPARE(FrameCount(), 0);
        QVERIFY(Application::Instance()->RecentFiles().Files().isEmpty());
        QCOMPARE(f.frame->MenuResource(), 128);
    }

    void OpenOffersEveryTypeAndOpensByExtension()
    {
        const QString picture = Fixture::WriteFile(dir, "b.PIC", "pixels");
        f.prompts.openFileNames = {{picture}};
        QVERIFY(f.frame->Router().Execute(Cmd::FileOpen));
        QCOMPARE(f.prompts.openFilters.first(),
                 QStringLiteral("All documents (*.txt *.pic);;Text Files (*.txt);;"
                                "Picture Files (*.pic);;All files (*)"));
        QCOMPARE(f.picture->Documents().size(), 1);
        // A type without its own menu keeps the main window's.
        QCOMPARE(f.frame->MenuResource(), 128);
    }

    void SaveAsAppendsTheExtensionAndClearsTheModifiedFlag()
    {
        auto* document = static_cast<TextDocument*>(f.text->OpenDocumentFile(QString()));
        document->content = "figure";
        document->SetModifiedFlag();
        f.prompts.saveFileNames = {dir.filePath("out")};
        // Save of an untitled document is a Save As.
        QVERIFY(f.frame->Router().Execute(Cmd::FileSave));
        QCOMPARE(f.prompts.saveFilters.first(),
                 QStringLiteral("Text Files (*.txt);;All files (*)"));
        const QString saved = dir.filePath("out.txt");
        QCOMPARE(Contents(saved), QByteArray("figure"));
        QCOMPARE(document->PathName(), saved);
        QCOMPARE(document->Title(), QStringLiteral("out.txt"));
        QVERIFY(!document->IsModified());
        QCOMPARE(Application::Instance()->RecentFiles().Files().first(), saved);

        // Save goes to the file without asking; a cancelled Save As changes nothing.
        document->content = "second";
        QVERIFY(f.frame->Router().Execute(Cmd::FileSave));
        QCOMPARE(Contents(saved), QByteArray("second"));
        QVERIFY(f.frame->Router().Execute(Cmd::FileSaveAs));
        QCOMPARE(document->PathName(), saved);
        QCOMPARE(f.prompts.saveFilters.size(), 2);
    }

    void AFileIsRecognisedByItsContentWhenItsExtensionSaysNothing()
    {
        f.picture->SetContentSignature({QStringLiteral("[picture]"), QStringLiteral("[size]")});
        auto* document = static_cast<TextDocument*>(f.picture->OpenDocumentFile(QString()));
        document->content = "[picture] blue\n[size] 2\n";
        // A name with an extension of its own is saved as the user typed it.
        f.prompts.saveFileNames = {dir.filePath("star.txt2")};
        QVERIFY(f.frame->Router().Execute(Cmd::FileSaveAs));
        const QString saved = dir.filePath("star.txt2");
        QCOMPARE(Contents(saved), document->content);
        document->OnCloseDocument();
        Fixture::Flush();

        // Reopened (as from the recent files) by what it holds; a file of
        // no extension likewise; only bracketed words opening a line count.
        Application* app = Application::Instance();
        QVERIFY(app->OpenDocumentFile(saved));
        QCOMPARE(f.picture->Documents().size(), 1);
        Fixture::WriteFile(dir, "plain", "\n  [picture]\n[size] [x]\n");
        QVERIFY(app->OpenDocumentFile(dir.filePath("plain")));
        QCOMPARE(f.picture->Documents().size(), 2);
        for (const char* content :
             {"[size]\n[picture]\n", "x [picture]\n[size]\n", "[picture]\n"}) {
            const QString other = Fixture::WriteFile(dir, "other.dat", content);
            QVERIFY2(!app->OpenDocumentFile(other), content);
        }
        QCOMPARE(f.prompts.errors.size(), 3);
        QVERIFY(f.prompts.errors[0].contains("is not a document"));
    }

    void AFailedSaveKeepsTheOldFileAndTheModifiedFlag()
    {
        const QString path = Fixture::WriteFile(dir, "keep.txt", "old");
        auto* document =
            static_cast<TextDocument*>(Application::Instance()->OpenDocumentFile(path));
        QVERIFY(document);
        document->content = "new";
        document->SetModifiedFlag();
        document->failSave = true;
        QVERIFY(!document->DoFileSave());
        QCOMPARE(f.prompts.errors.size(), 1);
        QVERIFY(f.prompts.errors[0].contains(path));
        QVERIFY(f.prompts.errors[0].contains("the figure could not be written"));
        QCOMPARE(Contents(path), QByteArray("old"));
        QVERIFY(document->IsModified());

        // Closing then still asks, and a failing save keeps the window open.
        f.prompts.saveChoices = {Prompts::SaveChoice::Save};
        QVERIFY(f.frame->Router().Execute(Cmd::FileClose));
        Fixture::Flush();
        QCOMPARE(Application::Instance()->Documents().size(), 1);
    }

    void OnlyTheLastFrameOfADocumentAsksToSave()
    {
        Document* document = f.text->OpenDocumentFile(QString());
        QVERIFY(f.frame->Router().Execute(Cmd::WindowNew));
        const QVector<ChildFrame*> frames = document->Frames();
        QCOMPARE(frames.size(), 2);
        const QString title = document->Title();
        QCOMPARE(frames[0]->windowTitle(), title + ":1");
        QCOMPARE(frames[1]->windowTitle(), title + ":2");
        document->SetModifiedFlag();

        QVERIFY(frames[0]->close());
        QVERIFY(f.prompts.questions.isEmpty());
        // The one window left, marked as modified.
        QCOMPARE(frames[1]->windowTitle(), title + "*");

        QVERIFY(!frames[1]->close()); // the scripted user cancels
        QCOMPARE(f.prompts.questions, QStringList{"Save changes to " + title + "?"});
        f.prompts.saveChoices = {Prompts::SaveChoice::Discard};
        QVERIFY(frames[1]->close());
        Fixture::Flush();
        QVERIFY(f.text->Documents().isEmpty());
        QCOMPARE(FrameCount(), 0);
    }

    void SavingBeforeClosingWritesTheFileFirst()
    {
        auto* document = static_cast<TextDocument*>(f.text->OpenDocumentFile(QString()));
        document->content = "kept";
        document->SetModifiedFlag();
        // Save, then the user cancels the file dialog: nothing closes.
        f.prompts.saveChoices = {Prompts::SaveChoice::Save, Prompts::SaveChoice::Save};
        QVERIFY(f.frame->Router().Execute(Cmd::FileClose));
        QCOMPARE(f.text->Documents().size(), 1);
        f.prompts.saveFileNames = {dir.filePath("closing.txt")};
        QVERIFY(f.frame->Router().Execute(Cmd::FileClose));
        QCOMPARE(Contents(dir.filePath("closing.txt")), QByteArray("kept"));
        QVERIFY(f.text->Documents().isEmpty());
    }

    void CloseAllAsksEveryDocumentBeforeClosingAny()
    {
        for (int i = 0; i < 2; ++i)
            f.text->OpenDocumentFile(QString())->SetModifiedFlag();
        f.prompts.saveChoices = {Prompts::SaveChoice::Discard, Prompts::SaveChoice::Cancel};
        QVERIFY(f.frame->Router().Execute(Cmd::FileCloseAll));
        QCOMPARE(f.text->Documents().size(), 2);
        f.prompts.saveChoices = {Prompts::SaveChoice::Discard, Prompts::SaveChoice::Discard};
        QVERIFY(f.frame->Router().Execute(Cmd::FileCloseAll));
        Fixture::Flush();
        QVERIFY(f.text->Documents().isEmpty());
        QCOMPARE(FrameCount(), 0);
        QVERIFY(!f.frame->Router().Query(Cmd::FileCloseAll).enabled);
    }

    void UpdateAllViewsSkipsTheSender()
    {
        Document* document = f.text->OpenDocumentFile(QString());
        QVERIFY(f.frame->Router().Execute(Cmd::WindowNew));
        auto* first = static_cast<TestView*>(document->Views()[0]);
        auto* second = static_cast<TestView*>(document->Views()[1]);
        const int before = first->updates;
        document->UpdateAllViews(first, 0);
        QCOMPARE(first->updates, before);
        QCOMPARE(second->updates, 2); // the initial update and this one
    }

    void AtomicWritesReplaceWholeFilesOrNothing()
    {
        const QString path = Fixture::WriteFile(dir, "atomic.txt", "old");
        QVERIFY(WriteFileAtomically(path, std::string_view("new content")).ok);
        QCOMPARE(Contents(path), QByteArray("new content"));

        // The temporary file beside it cannot be made (its name is too
        // long): the write fails, says so, and the old file stays.
        const QString longPath = Fixture::WriteFile(dir, QString(250, 'x'), "previous");
        QVERIFY(!longPath.isEmpty());
        const FileResult failed = WriteFileAtomically(longPath, QByteArray("replacement"));
        QVERIFY(!failed.ok);
        QVERIFY(!failed.error.isEmpty());
        QCOMPARE(Contents(longPath), QByteArray("previous"));

        // A folder that is really a file.
        const FileResult notDir =
            WriteFileAtomically(dir.filePath("atomic.txt/inner.txt"), QByteArray("x"));
        QVERIFY(!notDir.ok);
        QVERIFY(!notDir.error.isEmpty());

        QByteArray data;
        const FileResult missing = ReadWholeFile(dir.filePath("none.txt"), data);
        QVERIFY(!missing.ok);
        QVERIFY(missing.error.contains("No such file"));
    }
};

KALEIDRA_FRAMEWORK_TEST_MAIN(DocumentTest)
#include "document_test.moc"
