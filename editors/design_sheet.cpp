#include "editors/design_sheet.h"

#include "documents/component_source.h"
#include "documents/edit_names.h"
#include "documents/fractal_doc.h"
#include "documents/ifs_doc.h"
#include "documents/pattern_doc.h"
#include "framework/doc_template.h"
#include "framework/prompts.h"
#include "framework/standard_ids.h"
#include "framework/ui_resources.h"
#include "ids/resource_ids.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QString Text(int id)
{
    return UiResources::Current().String(id);
}

QString NoDocumentText()
{
    const QString text = Text(EditText::NoDocument);
    return text.isEmpty() ? QStringLiteral("aucun document") : text;
}

// The unsigned number a day count's text holds (blanks around it allowed).
std::optional<unsigned int> ParseUnsigned(const QString& text)
{
    bool ok = false;
    const uint value = text.trimmed().toUInt(&ok, 10);
    if (!ok || text.trimmed().startsWith(QLatin1Char('+'))) {
        return std::nullopt;
    }
    return value;
}

// Puts a copy of `document`'s component into `parts`; false when the
// document holds none.
bool CopyComponent(const Document* document, Components& parts)
{
    if (const auto* source = dynamic_cast<const ComponentSource*>(document)) {
        source->CopyComponentTo(parts);
    } else if (const auto* generator = qobject_cast<const CGeneratorDoc*>(document)) {
        parts.generator = generator->GetPattern();
    } else if (const auto* initiator = qobject_cast<const CInitiatorDoc*>(document)) {
        // Already in pattern form: absolute angles, chained from the origin.
        parts.initiator = initiator->GetPattern();
    } else if (const auto* maps = qobject_cast<const CIfsDoc*>(document)) {
        parts.maps = maps->Maps();
    } else {
        return false;
    }
    return true;
}

using Spec = designpage::PageSpec;
namespace Ctl = Res::Control;
namespace Doc = Res::DocType;

constexpr Spec kStandard = {
    Res::Dialog::DesignStandard,
    ComposeKind::Standard,
    {{Ctl::DesignGenerator, Doc::Generator}, {Ctl::DesignInitiator, Doc::Initiator}},
    2,
    4};
constexpr Spec kIfs = {Res::Dialog::DesignIfs,
                       ComposeKind::Ifs,
                       {{Ctl::DesignMapsOrDirections, Doc::Ifs}, {0, 0}},
                       1,
                       8};
constexpr Spec kMcrm = {
    Res::Dialog::DesignMcrm,
    ComposeKind::Mcrm,
    {{Ctl::DesignMapsOrDirections, Doc::Ifs}, {Ctl::DesignGenerator, Doc::Generator}},
    2,
    5};
constexpr Spec kLsys = {
    Res::Dialog::DesignLsys,
    ComposeKind::Lsys,
    {{Ctl::DesignLsys, Doc::Lsys}, {Ctl::DesignMapsOrDirections, Doc::Directions}},
    2,
    6};
constexpr Spec kAutomaton = {
    Res::Dialog::DesignAutomaton,
    ComposeKind::Automaton,
    {{Ctl::DesignAutomaton, Doc::Automaton}, {Ctl::DesignGenerator, Doc::Generator}},
    2,
    5};

} // namespace

designpage::designpage(const PageSpec& spec, const QVector<DocTemplate*>& templates,
                       Document* activeDocument)
    : m_spec(spec), m_templates(templates), m_activeDocument(activeDocument)
{
    const int texts = Res::Text::DesignPage(spec.dialogId);
    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel(Text(texts + Res::Text::DesignHint));
    hint->setWordWrap(true);
    layout->addWidget(hint);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    for (int i = 0; i < spec.listCount; ++i) {
        m_combos[i] = new QComboBox;
        m_combos[i]->setObjectName(QString::number(spec.lists[i].controlId));
        m_combos[i]->setMinimumContentsLength(24);
        form->addRow(Text(texts + Res::Text::DesignFirstList + i), m_combos[i]);
    }
    m_days = new QLineEdit(QString::number(spec.defaultDays));
    m_days->setObjectName(QString::number(Res::Control::DesignDays));
    form->addRow(Text(texts + Res::Text::DesignDays), m_days);
    layout->addStretch(1);
}

QComboBox* designpage::Combo(int controlId) const
{
    for (int i = 0; i < m_spec.listCount; ++i) {
        if (m_spec.lists[i].controlId == controlId) {
            return m_combos[i];
        }
    }
    return nullptr;
}

DocTemplate* designpage::TemplateOf(int docType) const
{
    for (DocTemplate* docTemplate : m_templates) {
        if (docTemplate != nullptr && docTemplate->ResourceId() == docType) {
            return docTemplate;
        }
    }
    return nullptr;
}

void designpage::OnFirstShow()
{
    if (m_filled) {
        return;
    }
    m_filled = true;
    for (int i = 0; i < m_spec.listCount; ++i) {
        FillDocumentCombo(*m_combos[i], TemplateOf(m_spec.lists[i].docType), m_activeDocument,
                          NoDocumentText());
    }
}

QString designpage::Validate() const
{
    const std::optional<unsigned int> days = ParseUnsigned(m_days->text());
    if (!days) {
        return Text(Res::Str::ValidateUnsigned);
    }
    if (*days < kMinDays || *days > kMaxDays) {
        return Text(Res::Str::ValidateRange).arg(kMinDays).arg(kMaxDays);
    }
    return QString();
}

unsigned int designpage::Days() const
{
    return ParseUnsigned(m_days->text()).value_or(0);
}

void designpage::FillDocumentCombo(QComboBox& combo, const DocTemplate* docTemplate,
                                   const Document* activeDocument, const QString& none)
{
    combo.clear();
    if (docTemplate == nullptr || docTemplate->Documents().isEmpty()) {
        combo.addItem(none);
        combo.setPlaceholderText(none);
        combo.setCurrentIndex(-1);
        return;
    }
    int selected = 0;
    const QVector<Document*>& documents = docTemplate->Documents();
    for (int i = 0; i < documents.size(); ++i) {
        combo.addItem(documents[i]->Title());
        if (documents[i] == activeDocument) {
            selected = i;
        }
    }
    combo.setCurrentIndex(selected);
}

Document* designpage::FindDocumentByTitle(const QComboBox& combo, const DocTemplate* docTemplate)
{
    const QString text = combo.currentIndex() >= 0 ? combo.currentText() : QString();
    if (text.isEmpty() || docTemplate == nullptr) {
        return nullptr;
    }
    for (Document* document : docTemplate->Documents()) {
        if (document->Title().compare(text, Qt::CaseInsensitive) == 0) {
            return document;
        }
    }
    return nullptr;
}

QString designpage::MissingDocumentType() const
{
    for (int i = 0; i < m_spec.listCount; ++i) {
        const DocTemplate* docTemplate = TemplateOf(m_spec.lists[i].docType);
        if (FindDocumentByTitle(*m_combos[i], docTemplate) == nullptr) {
            return docTemplate ? docTemplate->GetDocString(DocTemplate::DocString::FileNewName)
                               : QString();
        }
    }
    return QString();
}

CFractalDoc* designpage::Build() const
{
    Components parts;
    for (int i = 0; i < m_spec.listCount; ++i) {
        const Document* document =
            FindDocumentByTitle(*m_combos[i], TemplateOf(m_spec.lists[i].docType));
        if (!CopyComponent(document, parts)) {
            return nullptr;
        }
    }
    FractalPtr fractal =
        ComposeFractal(m_spec.kind, ComposedName(m_spec.kind), static_cast<int>(Days()), parts);
    DocTemplate* fractalTemplate = TemplateOf(Res::DocType::Fractal);
    if (!fractal || fractalTemplate == nullptr) {
        return nullptr;
    }
    auto* document = qobject_cast<CFractalDoc*>(fractalTemplate->OpenDocumentFile(QString()));
    if (document == nullptr) {
        return nullptr;
    }
    document->SetFractal(std::move(fractal));
    return document;
}

stddesignpage::stddesignpage(const QVector<DocTemplate*>& templates, Document* activeDocument)
    : designpage(kStandard, templates, activeDocument)
{
}

ifsdesignpage::ifsdesignpage(const QVector<DocTemplate*>& templates, Document* activeDocument)
    : designpage(kIfs, templates, activeDocument)
{
}

mcrmdesignpage::mcrmdesignpage(const QVector<DocTemplate*>& templates, Document* activeDocument)
    : designpage(kMcrm, templates, activeDocument)
{
}

lsysdesignpage::lsysdesignpage(const QVector<DocTemplate*>& templates, Document* activeDocument)
    : designpage(kLsys, templates, activeDocument)
{
}

automatondesignpage::automatondesignpage(const QVector<DocTemplate*>& templates,
                                         Document* activeDocument)
    : designpage(kAutomaton, templates, activeDocument)
{
}

designsheet::designsheet(const QVector<DocTemplate*>& templates, Document* activeDocument,
                         QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(Text(Res::Str::DesignSheetCaption));
    m_pages = {new stddesignpage(templates, activeDocument),
               new ifsdesignpage(templates, activeDocument),
               new mcrmdesignpage(templates, activeDocument),
               new lsysdesignpage(templates, activeDocument),
               new automatondesignpage(templates, activeDocument)};
    m_tabs = new QTabWidget;
    for (designpage* page : m_pages) {
        m_tabs->addTab(page,
                       Text(Res::Text::DesignPage(page->Spec().dialogId) + Res::Text::DesignTitle));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &designsheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &designsheet::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
    m_pages.front()->OnFirstShow();
    connect(m_tabs, &QTabWidget::currentChanged, this, &designsheet::OnPageChanged);
}

int designsheet::ActiveIndex() const
{
    return m_tabs->currentIndex();
}

bool designsheet::SetActivePage(int index)
{
    m_tabs->setCurrentIndex(index);
    return m_tabs->currentIndex() == index;
}

void designsheet::OnPageChanged(int index)
{
    if (index == m_shownPage) {
        return;
    }
    // The page being left keeps the sheet on it until its data are right.
    const QString problem = m_pages[m_shownPage]->Validate();
    if (!problem.isEmpty()) {
        const QSignalBlocker block(m_tabs);
        m_tabs->setCurrentIndex(m_shownPage);
        Prompts::Current().ShowError(this, problem);
        m_pages[m_shownPage]->DaysEdit()->setFocus();
        return;
    }
    m_shownPage = index;
    m_pages[index]->OnFirstShow();
}

bool designsheet::Confirm()
{
    designpage* page = m_pages[ActiveIndex()];
    const QString problem = page->Validate();
    if (!problem.isEmpty()) {
        Prompts::Current().ShowError(this, problem);
        page->DaysEdit()->setFocus();
        return false;
    }
    // Closing the sheet on a page that cannot build would look like success
    // with nothing to show for it: say which component is missing instead
    // and let the user pick another page or cancel.
    const QString missing = page->MissingDocumentType();
    if (!missing.isEmpty()) {
        Prompts::Current().ShowError(this, Text(Res::Str::DesignNeedsDocument).arg(missing));
        return false;
    }
    m_built = page->Build();
    return true;
}

void designsheet::accept()
{
    if (Confirm()) {
        QDialog::accept();
    }
}
