// The design sheet inside the running program: which fractal a page builds
// from which documents, the day counts it accepts, the lists of documents,
// and the same compositions made by kaleidra-render --compose.

#include "app/app_fixture.h"
#include "documents/lsys_doc.h"
#include "editors/design_sheet.h"
#include "framework/resource_library.h"
#include "framework/scripted_prompts.h"
#include "framework/standard_ids.h"
#include "ids/resource_ids.h"

#include "core/text_archive.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>

#include <sstream>

using namespace appfixture;

namespace {

DocTemplate* TemplateOf(int docType)
{
    for (DocTemplate* docTemplate : App().Templates()) {
        if (docTemplate->ResourceId() == docType)
            return docTemplate;
    }
    return nullptr;
}

QString Data(const char* name)
{
    return QStringLiteral(KALEIDRA_TEST_DATA_DIR "/components/") + QString::fromLatin1(name);
}

Document* Open(const char* name)
{
    return App().OpenDocumentFile(Data(name));
}

std::string Saved(CFractal& fractal)
{
    std::stringstream stream;
    CTextArchive archive(stream);
    (void)fractal.Save(archive);
    return stream.str();
}

} // namespace

class DesignSheetTest : public QObject
{
    Q_OBJECT

    ScriptedPrompts m_prompts;

private slots:
    void initTestCase() { Prompts::SetCurrent(&m_prompts); }
    void init() { m_prompts.errors.clear(); }
    void cleanup() { CloseAll(); }

    void firstPageAtOnceBuildsAStandardFractal()
    {
        QVERIFY(Open("koch.gen"));
        QVERIFY(Open("triangle.init"));
        designsheet sheet(App().Templates(), nullptr);
        QCOMPARE(sheet.ActiveIndex(), 0);
        QVERIFY(sheet.Confirm());
        QVERIFY(sheet.Built());
        const FractalPtr fractal = sheet.Built()->Fractal();
        QCOMPARE(fractal->m_type, std::string("std"));
        QCOMPARE(fractal->m_name, std::string("standard"));
        QCOMPARE(fractal->m_days, 4);
        QVERIFY(!fractal->m_bad);
        QCOMPARE(FractalDocuments().size(), 1);
        QVERIFY(!sheet.Built()->IsModified());
    }

    void dayCounts()
    {
        QVERIFY(Open("hilbert.lsys"));
        QVERIFY(Open("square.dirs"));
        designsheet sheet(App().Templates(), nullptr);
        // MCRM draws k^n copies: above 10 days is refused there too, and the
        // sheet stays on a page whose count is not a number.
        QVERIFY(sheet.SetActivePage(2));
        sheet.Page(2)->DaysEdit()->setText(QStringLiteral("11"));
        QVERIFY(!sheet.Confirm());
        sheet.Page(2)->DaysEdit()->setText(QStringLiteral("x"));
        QVERIFY(!sheet.SetActivePage(3));
        QCOMPARE(sheet.ActiveIndex(), 2);
        QCOMPARE(m_prompts.errors.size(), 2);
        sheet.Page(2)->DaysEdit()->setText(QStringLiteral("10"));

        QVERIFY(sheet.SetActivePage(3));
        sheet.Page(3)->DaysEdit()->setText(QStringLiteral("11"));
        QVERIFY(!sheet.Confirm());
        QCOMPARE(m_prompts.errors.size(), 3);
        QVERIFY(FractalDocuments().isEmpty());
        sheet.Page(3)->DaysEdit()->setText(QStringLiteral("10"));
        QVERIFY(sheet.Confirm());
        QCOMPARE(sheet.Built()->Fractal()->m_name, std::string("lsys"));
        QCOMPARE(sheet.Built()->Fractal()->m_days, 10);
    }

    void documentLists()
    {
        DocTemplate* lsysTemplate = TemplateOf(Res::DocType::Lsys);
        Document* first = lsysTemplate->OpenDocumentFile({});
        Document* second = lsysTemplate->OpenDocumentFile({});
        first->SetTitle(QStringLiteral("Curve"));
        second->SetTitle(QStringLiteral("CURVE"));
        QComboBox combo;
        designpage::FillDocumentCombo(combo, lsysTemplate, second, QStringLiteral("none"));
        QCOMPARE(combo.count(), 2);
        QCOMPARE(combo.currentIndex(), 1); // the active window's document
        // Titles that differ only in case: the first in order is taken.
        QCOMPARE(designpage::FindDocumentByTitle(combo, lsysTemplate), first);
        designpage::FillDocumentCombo(combo, lsysTemplate, nullptr, QStringLiteral("none"));
        QCOMPARE(combo.currentIndex(), 0);

        // No document of the type: one item, nothing selected, nothing found.
        DocTemplate* automatonTemplate = TemplateOf(Res::DocType::Automaton);
        designsheet sheet(App().Templates(), second);
        QVERIFY(sheet.SetActivePage(3));
        QCOMPARE(sheet.Page(3)->Combo(Res::Control::DesignLsys)->currentIndex(), 1);
        QVERIFY(sheet.SetActivePage(4));
        QComboBox* automata = sheet.Page(4)->Combo(Res::Control::DesignAutomaton);
        QCOMPARE(automata->count(), 1);
        QCOMPARE(automata->itemText(0), QStringLiteral("no document"));
        QCOMPARE(automata->currentIndex(), -1);
        QVERIFY(!designpage::FindDocumentByTitle(*automata, automatonTemplate));
        // Confirming without the automaton builds nothing, keeps the sheet
        // open and names the missing type.
        const int errors = m_prompts.errors.size();
        QVERIFY(!sheet.Confirm());
        QVERIFY(!sheet.Built());
        QVERIFY(FractalDocuments().isEmpty());
        QCOMPARE(m_prompts.errors.size(), errors + 1);
        QVERIFY2(m_prompts.errors.last().contains(QStringLiteral("Automaton")),
                 qPrintable(m_prompts.errors.last()));

        ResourceLibrary french;
        ResourceLibrary::AddBuildDirectory(QStringLiteral(KALEIDRA_BUNDLE_DIR));
        QVERIFY(french.Load(QStringLiteral("fr")));
        QCOMPARE(french.String(EditText::NoDocument), QStringLiteral("aucun document"));
    }

    void onlyTheShowingPageBuilds()
    {
        for (const char* name : {"koch.gen", "triangle.init", "hilbert.lsys", "square.dirs",
                                 "dragon.auto", "dragon.gen"})
            QVERIFY(Open(name));
        designsheet sheet(App().Templates(), nullptr);
        for (int page : {3, 0, 4})
            QVERIFY(sheet.SetActivePage(page));
        QComboBox* generators = sheet.Page(4)->Combo(Res::Control::DesignGenerator);
        generators->setCurrentIndex(generators->findText(QStringLiteral("dragon.gen")));
        QVERIFY(sheet.Confirm());
        QCOMPARE(FractalDocuments().size(), 1);
        QCOMPARE(sheet.Built()->Fractal()->m_type, std::string("automaton"));
        QCOMPARE(sheet.Built()->Fractal()->m_name, std::string("automate"));
        QVERIFY(!sheet.Built()->Fractal()->m_bad);
    }

    // The renderer composes from the same files what the sheet composes from
    // the documents: the same fractal file, kind by kind.
    void theRendererComposesTheSame()
    {
        struct Case
        {
            int page;
            const char* kind;
            QStringList files;
        };
        const Case cases[] = {
            {0, "std", {"koch.gen", "triangle.init"}},
            {1, "ifs", {"sierpinski.maps"}},
            {2, "mcrm", {"sierpinski.maps", "koch.gen"}},
            {3, "lsys", {"hilbert.lsys", "square.dirs"}},
            {4, "automaton", {"dragon.auto", "dragon.gen"}},
        };
        QTemporaryDir dir;
        for (const Case& c : cases) {
            CloseAll();
            QStringList arguments{QStringLiteral("-q"), QStringLiteral("--bounds-only"),
                                  QStringLiteral("--compose"), QString::fromLatin1(c.kind)};
            for (const QString& file : c.files) {
                QVERIFY(Open(file.toLatin1().constData()));
                arguments.append(Data(file.toLatin1().constData()));
            }
            const QString saved = dir.filePath(QString::fromLatin1(c.kind) + ".frac");
            arguments << QStringLiteral("--save") << saved;
            QCOMPARE(QProcess::execute(QStringLiteral(KALEIDRA_RENDER_BINARY), arguments), 0);

            designsheet sheet(App().Templates(), nullptr);
            QVERIFY(sheet.SetActivePage(c.page));
            QVERIFY(sheet.Confirm());
            QVERIFY2(sheet.Built(), c.kind);
            QFile file(saved);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(QString::fromStdString(Saved(*sheet.Built()->Fractal())),
                     QString::fromUtf8(file.readAll()));
        }
    }
};

KALEIDRA_APP_TEST_MAIN(DesignSheetTest)
#include "design_sheet_test.moc"
