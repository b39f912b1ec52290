// The language bundles as built: every language defines the same numbers,
// every number the program relies on is there with the right shape, and the
// loader finds, refuses and switches bundles as it should.
#include "framework/resource_library.h"
#include "framework/standard_ids.h"
#include "ids/command_ids.h"
#include "ids/resource_ids.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QKeySequence>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

namespace {

const QStringList kCodes = {QStringLiteral("en"), QStringLiteral("fr"), QStringLiteral("de"),
                            QStringLiteral("es")};

void CollectCommands(const QVector<MenuItem>& items, QList<int>& ids)
{
    for (const MenuItem& item : items) {
        if (item.id != 0) {
            ids.append(item.id);
        }
        CollectCommands(item.items, ids);
    }
}

// The shape of a menu without its texts: ids, separators and nesting.
QString Shape(const QVector<MenuItem>& items)
{
    QString shape;
    for (const MenuItem& item : items) {
        if (item.separator) {
            shape += QLatin1Char('-');
        } else if (!item.items.isEmpty()) {
            shape += QLatin1Char('(') + Shape(item.items) + QLatin1Char(')');
        } else {
            shape += QString::number(item.id) + QLatin1Char(' ');
        }
    }
    return shape;
}

// The printf conversions of a text, in order ("%d%c"); "%%" is no conversion.
QString Conversions(const QString& text)
{
    static const QRegularExpression re(
        QStringLiteral("%(%|[-+ #0]*[0-9]*(?:\\.[0-9]+)?l?[a-zA-Z])"));
    QString found;
    for (auto it = re.globalMatch(text); it.hasNext();) {
        const QString match = it.next().captured(0);
        if (match != QLatin1String("%%")) {
            found += match;
        }
    }
    return found;
}

QSet<QString> ArgMarkers(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("%[1-9]"));
    QSet<QString> found;
    for (auto it = re.globalMatch(text); it.hasNext();) {
        found.insert(it.next().captured(0));
    }
    return found;
}

} // namespace

class ResourceLibraryTest : public QObject
{
    Q_OBJECT

private:
    std::vector<std::unique_ptr<ResourceLibrary>> m_bundles; // in the order of kCodes

    const ResourceLibrary& English() const { return *m_bundles.front(); }

private slots:
    void initTestCase()
    {
        ResourceLibrary::AddBuildDirectory(QStringLiteral(KALEIDRA_BUNDLE_DIR));
        for (const QString& code : kCodes) {
            auto library = std::make_unique<ResourceLibrary>();
            QVERIFY2(library->Load(code), qPrintable(ResourceLibrary::BundleName(code)));
            m_bundles.push_back(std::move(library));
        }
    }

    void everyLanguageDefinesTheSameNumbers()
    {
        for (const auto& bundle : m_bundles) {
            const QByteArray code = bundle->Code().toLatin1();
            QVERIFY2(bundle->StringIds() == English().StringIds(), code);
            QVERIFY2(bundle->MenuIds() == English().MenuIds(), code);
            QVERIFY2(bundle->ToolBarIds() == English().ToolBarIds(), code);
            QVERIFY2(bundle->BitmapIds() == English().BitmapIds(), code);
            QVERIFY2(bundle->IconIds() == English().IconIds(), code);
            for (int id : English().MenuIds()) {
                QVERIFY2(Shape(bundle->Menu(id)) == Shape(English().Menu(id)),
                         qPrintable(QStringLiteral("%1 menu %2").arg(bundle->Code()).arg(id)));
            }
            for (int id : English().ToolBarIds()) {
                QCOMPARE(bundle->ToolBar(id)->buttons, English().ToolBar(id)->buttons);
                QCOMPARE(bundle->ToolBar(id)->bitmap, English().ToolBar(id)->bitmap);
            }
            for (int id : bundle->StringIds()) {
                QVERIFY2(!bundle->String(id).trimmed().isEmpty(),
                         qPrintable(QStringLiteral("%1 string %2").arg(bundle->Code()).arg(id)));
            }
        }
    }

    // A button or menu item without its string shows no status text and no tip;
    // an id that is no command of the program is a typing error.
    void everyCommandHasStatusTextAndToolTip()
    {
        const QList<int> all = QList<int>(Cmd::kStandard.begin(), Cmd::kStandard.end()) +
                               QList<int>(Cmd::kAll.begin(), Cmd::kAll.end());
        const QSet<int> known(all.begin(), all.end());
        for (const auto& bundle : m_bundles) {
            QList<int> used = all;
            for (int id : bundle->MenuIds()) {
                CollectCommands(bundle->Menu(id), used);
            }
            for (int id : bundle->ToolBarIds()) {
                const auto bar = bundle->ToolBar(id);
                for (int button : bar->buttons) {
                    if (button != 0) {
                        QVERIFY2(known.contains(button), qPrintable(QString::number(button, 16)));
                        used.append(button);
                    }
                }
            }
            for (int id : used) {
                const QString where =
                    QStringLiteral("%1 command 0x%2").arg(bundle->Code()).arg(id, 0, 16);
                QVERIFY2(known.contains(id), qPrintable(where));
                QVERIFY2(bundle->String(id).count(QLatin1Char('\n')) == 1, qPrintable(where));
                QVERIFY2(!bundle->StatusText(id).isEmpty(), qPrintable(where));
                QVERIFY2(!bundle->ToolTip(id).isEmpty(), qPrintable(where));
            }
            for (int control : {Res::Control::GridRayCount, Res::Control::GridSquareCount}) {
                QVERIFY(!bundle->ToolTip(control).isEmpty());
            }
        }
    }

    void numbersTheProgramReliesOnExist()
    {
        const QList<int> fixed =
            QList<int>(Res::Str::kFixed.begin(), Res::Str::kFixed.end()) +
            QList<int>(Res::Str::kFramework.begin(), Res::Str::kFramework.end()) +
            QList<int>(Res::Str::kShell.begin(), Res::Str::kShell.end()) +
            QList<int>(Res::Str::kPictureAndManual.begin(), Res::Str::kPictureAndManual.end()) +
            QList<int>(Res::Str::kProgress.begin(), Res::Str::kProgress.end()) +
            QList<int>(Res::Text::kAll.begin(), Res::Text::kAll.end());
        for (int id : fixed) {
            QVERIFY2(English().HasString(id), qPrintable(QString::number(id)));
        }
        QVERIFY(!English().Menu(Res::MainFrame).isEmpty());
        for (int id : Res::DocType::kAll) {
            QVERIFY2(!English().Menu(id).isEmpty(), qPrintable(QString::number(id)));
        }
        // A pop-up shows the items of the menu's first sub-menu.
        for (int id : Res::Popup::kAll) {
            const QVector<MenuItem> menu = English().Menu(id);
            QVERIFY2(!menu.isEmpty() && !menu.front().items.isEmpty(),
                     qPrintable(QString::number(id)));
        }
        for (int id : Res::kIcons) {
            QVERIFY2(!English().Icon(id).isNull(), qPrintable(QString::number(id)));
        }
        for (int id : Res::ToolBar::kAll) {
            const auto bar = English().ToolBar(id);
            QVERIFY(bar.has_value());
            const auto buttons = std::count_if(bar->buttons.begin(), bar->buttons.end(),
                                               [](int button) { return button != 0; });
            const QImage strip = English().Bitmap(bar->bitmap);
            QCOMPARE(strip.height(), Res::kToolButtonSize);
            QCOMPARE(strip.width(), Res::kToolButtonSize * static_cast<int>(buttons));
        }
    }

    void documentStringsNameTheExtensions()
    {
        const QStringList extensions = {".frac", ".gen",  ".init", ".maps",
                                        ".lsys", ".auto", ".dirs"};
        for (const auto& bundle : m_bundles) {
            for (int i = 0; i < static_cast<int>(Res::DocType::kAll.size()); ++i) {
                const int id = Res::DocType::kAll[i];
                QCOMPARE(bundle->String(id).split(QLatin1Char('\n')).size(), Res::kDocFieldCount);
                QCOMPARE(bundle->DocString(id, static_cast<int>(Res::DocField::FilterExt)),
                         extensions[i]);
                QVERIFY(bundle->DocString(id, static_cast<int>(Res::DocField::FilterName))
                            .endsWith(QStringLiteral("(*%1)").arg(extensions[i])));
                QVERIFY(!bundle->DocString(id, static_cast<int>(Res::DocField::DocName)).isEmpty());
                QVERIFY(
                    !bundle->DocString(id, static_cast<int>(Res::DocField::FileNewName)).isEmpty());
            }
        }
    }

    void bitmapStripsHaveTheirSizesAndCounts()
    {
        for (const Res::StripSpec& spec : Res::kStrips) {
            const QByteArray name = QByteArray::number(spec.id);
            const QImage strip = English().Bitmap(spec.id);
            QVERIFY2(!strip.isNull(), name);
            QVERIFY2(strip.height() == spec.height, name);
            QVERIFY2(strip.width() % spec.width == 0, name);
            QVERIFY2(strip.width() / spec.width >= spec.count, name);
            const QVector<QPixmap> images = English().ImageList(spec.id, spec.width);
            QVERIFY2(images.size() == strip.width() / spec.width, name);
            // Green is cut out, and no image is left blank.
            for (const QPixmap& pixmap : images) {
                const QImage image = pixmap.toImage();
                bool opaque = false;
                bool transparent = false;
                for (int y = 0; y < image.height(); ++y) {
                    for (int x = 0; x < image.width(); ++x) {
                        const QRgb pixel = image.pixel(x, y);
                        QVERIFY2(qAlpha(pixel) == 0 || (pixel & 0xffffff) != 0x00ff00, name);
                        (qAlpha(pixel) == 0 ? transparent : opaque) = true;
                    }
                }
                QVERIFY2(opaque && transparent, name);
            }
        }
        QVERIFY(English().ImageList(Res::Bitmap::FractalMarkers, 0).isEmpty());
        QVERIFY(English().ImageList(4242, 16).isEmpty());
    }

    // The callers pass these strings to printf-style formatting: a conversion
    // missing or added in one language would read the wrong argument.
    void formatsAgreeAcrossLanguages()
    {
        const std::pair<int, const char*> printfStrings[] = {
            {Res::Str::UnknownInAxiom, "%c"},
            {Res::Str::UnknownInRule, "%c%d"},
            {Res::Str::KnownSymbols, "%s"},
            {Res::Str::HighestSymbol, "%d"},
            {Res::Str::EmptyAxiom, ""},
            {Res::Str::AxiomOutOfRange, "%d"},
            {Res::Str::ProductionOutOfRange, "%d%d"},
            {Res::Str::PatternInfoTitle, "%d"},
            {Res::Str::MapTitle, "%d"},
            {Res::Str::DesignSheetCaption, ""}};
        for (const auto& bundle : m_bundles) {
            for (const auto& [id, expected] : printfStrings) {
                QVERIFY2(Conversions(bundle->String(id)) == QLatin1String(expected),
                         qPrintable(QStringLiteral("%1 string %2").arg(bundle->Code()).arg(id)));
            }
            for (int id : English().StringIds()) {
                QVERIFY2(ArgMarkers(bundle->String(id)) == ArgMarkers(English().String(id)),
                         qPrintable(QStringLiteral("%1 string %2").arg(bundle->Code()).arg(id)));
            }
        }
    }

    void editorTextsFitTheirRoles()
    {
        for (const auto& bundle : m_bundles) {
            // One shape entry per image of the pattern bar, none of them empty.
            const QStringList shapes = bundle->String(Res::Str::ShapeNames).split(QLatin1Char(','));
            QCOMPARE(shapes.size(), English().ImageList(Res::Bitmap::PatternShapes, 16).size());
            for (const QString& shape : shapes) {
                QVERIFY(!shape.trimmed().isEmpty());
            }
            // Resetting the start word is refused when row 0 carries the locked
            // label; row 0 carries the start-word label, so the two must differ.
            QVERIFY(bundle->String(Res::Str::StartWordLocked)
                        .compare(bundle->String(Res::Str::StartWordLabel), Qt::CaseInsensitive) !=
                    0);
            QCOMPARE(bundle->String(Res::Text::AboutWebTarget),
                     QStringLiteral("https://kaleidra.example.org"));
            QCOMPARE(bundle->String(Res::Text::AboutMailTarget),
                     QStringLiteral("mailto:hello@kaleidra.example.org"));
        }
    }

    // A shortcut Qt cannot read is silently lost, and one given twice in the
    // same menu bar fires neither.
    void shortcutsParseAndDoNotClash()
    {
        for (const auto& bundle : m_bundles) {
            for (int id : bundle->MenuIds()) {
                QHash<QString, int> seen;
                std::function<void(const QVector<MenuItem>&)> walk =
                    [&](const QVector<MenuItem>& items) {
                        for (const MenuItem& item : items) {
                            if (item.separator) {
                                continue;
                            }
                            QVERIFY(!item.Caption().isEmpty());
                            walk(item.items);
                            if (item.Shortcut().isEmpty()) {
                                continue;
                            }
                            const QString where = QStringLiteral("%1 menu %2: %3")
                                                      .arg(bundle->Code())
                                                      .arg(id)
                                                      .arg(item.text);
                            // "Ctrl++|Ctrl+=": each of the keys.
                            for (const QString& shortcut :
                                 item.Shortcut().split(QLatin1Char('|'))) {
                                const QKeySequence keys =
                                    QKeySequence::fromString(shortcut, QKeySequence::PortableText);
                                QVERIFY2(!keys.isEmpty() &&
                                             keys.toString(QKeySequence::PortableText) == shortcut,
                                         qPrintable(where));
                                QVERIFY2(!seen.contains(shortcut) ||
                                             seen.value(shortcut) == item.id,
                                         qPrintable(where));
                                seen.insert(shortcut, item.id);
                            }
                        }
                    };
                walk(bundle->Menu(id));
            }
        }
    }

    // Alt and a letter, or the letter in an open menu, goes to one item of
    // a menu level only; a letter shared by two opens neither at once.
    void mnemonicsAreUniquePerMenuLevel()
    {
        const auto mnemonic = [](const QString& caption) -> QChar {
            for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
                if (caption[i] == QLatin1Char('&')) {
                    if (caption[i + 1] != QLatin1Char('&')) {
                        return caption[i + 1].toLower();
                    }
                    ++i;
                }
            }
            return {};
        };
        for (const auto& bundle : m_bundles) {
            for (int id : bundle->MenuIds()) {
                std::function<void(const QVector<MenuItem>&, const QString&)> walk =
                    [&](const QVector<MenuItem>& items, const QString& where) {
                        QHash<QChar, QString> seen;
                        for (const MenuItem& item : items) {
                            if (item.separator) {
                                continue;
                            }
                            const QChar letter = mnemonic(item.Caption());
                            if (!letter.isNull()) {
                                QVERIFY2(!seen.contains(letter),
                                         qPrintable(where + QStringLiteral(": ") +
                                                    seen.value(letter) + QStringLiteral(" / ") +
                                                    item.Caption()));
                                seen.insert(letter, item.Caption());
                            }
                            walk(item.items, where + QStringLiteral(" > ") + item.Caption());
                        }
                    };
                walk(bundle->Menu(id), QStringLiteral("%1 menu %2").arg(bundle->Code()).arg(id));
            }
        }
    }

    void manualInEveryLanguage()
    {
        for (const auto& bundle : m_bundles) {
            QFile entry(bundle->ManualPath());
            QVERIFY2(entry.open(QIODevice::ReadOnly), qPrintable(bundle->Code()));
            const QString html = QString::fromUtf8(entry.readAll());
            QVERIFY(html.contains(QStringLiteral("lang=\"%1\"").arg(bundle->Code())));
            QVERIFY(html.contains(QStringLiteral("kaleidra-render")));
            // Every local link of the entry page is part of the bundle.
            QTemporaryDir dir;
            const QString local = bundle->ExtractManual(dir.path());
            QVERIFY(QFile::exists(local));
            static const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"#:]+)\""));
            for (auto it = link.globalMatch(html); it.hasNext();) {
                const QString target = it.next().captured(1);
                QVERIFY2(QFile::exists(QDir(dir.path()).filePath(target)), qPrintable(target));
            }
        }
    }

    void versionRecordDescribesTheBundle()
    {
        for (const auto& bundle : m_bundles) {
            const QJsonObject version = bundle->Version();
            QCOMPARE(version.value(QLatin1String("ProductName")).toString(),
                     QStringLiteral("Kaleidra"));
            QCOMPARE(version.value(QLatin1String("CompanyName")).toString(),
                     QStringLiteral("Kaleidra project"));
            for (const char* key :
                 {"FileDescription", "ProductVersion", "FileVersion", "LegalCopyright"}) {
                QVERIFY2(!version.value(QLatin1String(key)).toString().isEmpty(), key);
            }
            const QJsonArray numbers = version.value(QLatin1String("Version")).toArray();
            QCOMPARE(numbers.size(), 4);
            QStringList parts;
            for (const QJsonValue& number : numbers) {
                parts.append(QString::number(number.toInt()));
            }
            QCOMPARE(parts.join(QLatin1Char('.')),
                     version.value(QLatin1String("FileVersion")).toString());
        }
    }

    // Codes come from the command line and the locale: the file name is
    // matched whatever the case, and nothing but a plain code is looked up.
    void lookupIgnoresCaseAndRefusesOtherCodes()
    {
        ResourceLibrary library;
        QVERIFY(library.Load(QStringLiteral("DE")));
        QCOMPARE(library.Code(), QStringLiteral("DE"));
        QVERIFY(library.Path().endsWith(QStringLiteral("/kaleidra-de.rcc")));
        QCOMPARE(library.String(Res::Str::IdleMessage), QStringLiteral("Bereit"));
        QCOMPARE(ResourceLibrary::BundleName(QStringLiteral("DE")),
                 QStringLiteral("kaleidra-DE.rcc"));

        for (const QString& code :
             {QStringLiteral("xx"), QString(), QStringLiteral("../bin/kaleidra-en"),
              QStringLiteral("en/.."), QStringLiteral("e n"), QStringLiteral("*")}) {
            QVERIFY2(!library.Load(code), qPrintable(code));
        }
        // A failed load leaves the loaded language in place.
        QVERIFY(library.IsLoaded());
        QCOMPARE(library.String(Res::Str::IdleMessage), QStringLiteral("Bereit"));
    }

    void damagedBundleIsRefused()
    {
        QTemporaryDir dir;
        QFile junk(QDir(dir.path()).filePath(QStringLiteral("kaleidra-zz.rcc")));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        static const char kJunk[] = "qres\0\0\0\x03 this is not a resource bundle";
        junk.write(kJunk, sizeof kJunk - 1);
        junk.close();
        ResourceLibrary::AddBuildDirectory(dir.path());
        ResourceLibrary library;
        QVERIFY(library.Load(QStringLiteral("en")));
        QVERIFY(!library.Load(QStringLiteral("zz")));
        QCOMPARE(library.Code(), QStringLiteral("en"));
        QVERIFY(!library.Bitmap(Res::Bitmap::BusyAnimation).isNull());

        ResourceLibrary empty;
        QVERIFY(!empty.Load(QStringLiteral("zz")));
        QVERIFY(!empty.IsLoaded());
        QVERIFY(empty.String(Res::Str::IdleMessage).isEmpty());
        QVERIFY(empty.Bitmap(Res::Bitmap::BusyAnimation).isNull());
        QVERIFY(!empty.ToolBar(Res::ToolBar::Main).has_value());
    }

    // The program's library answers under ":/kaleidra/" too and switches
    // language in place. Runs last: any other loaded bundle would answer
    // plain ":/kaleidra/" paths as well.
    void programLibrarySwitchesLanguage()
    {
        m_bundles.clear();
        ResourceLibrary& program = ResourceLibrary::Instance();
        QVERIFY(program.Load(QStringLiteral("en")));
        QCOMPARE(Tr(Res::Str::IdleMessage), QStringLiteral("Ready"));
        QVERIFY(QFile::exists(QStringLiteral(":/kaleidra/manual/index.html")));
        const QString manual = program.ManualPath();
        QVERIFY(QFile::exists(manual));
        QVERIFY(program.Load(QStringLiteral("fr")));
        QCOMPARE(Tr(Res::Str::IdleMessage), QStringLiteral("Prêt"));
        QVERIFY(!QFile::exists(manual));
        QVERIFY(!program.Bitmap(Res::Bitmap::FractalMarkers).isNull());
        program.Unload();
        QVERIFY(Tr(Res::Str::IdleMessage).isEmpty());
        QVERIFY(!QFile::exists(QStringLiteral(":/kaleidra/strings.json")));
    }
};

QTEST_MAIN(ResourceLibraryTest)
#include "resource_library_test.moc"
