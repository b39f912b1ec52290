#pragma once

// The design sheet: composes a new fractal from the component documents
// that are open. One page per kind, in the order standard, IFS, MCRM,
// L-system, automaton; each lists the open documents of the component types
// its kind needs (by title) and asks for a day count. Confirming builds the
// fractal of the page that is showing, and only that one, in a new fractal
// window; pages visited before build nothing.
//
// The lists are filled when their page first shows; documents opened or
// closed while the sheet is open are not reflected. Only the interface
// thread uses it.

#include "engine/compose.h"

#include <QDialog>
#include <QVector>

class CFractalDoc;
class DocTemplate;
class Document;
class QComboBox;
class QLineEdit;
class QTabWidget;

// The common base of the five pages.
class designpage : public QWidget
{
    Q_OBJECT
public:
    // One list of documents: its control id and the document type it lists.
    struct ListSpec
    {
        int controlId;
        int docType;
    };
    struct PageSpec
    {
        int dialogId;
        ComposeKind kind;
        ListSpec lists[2];
        int listCount;
        int defaultDays;
    };
    // Day counts a page accepts. Every page refuses counts above 10: an MCRM
    // figure is copied through every map each day, so a larger count keeps
    // a window drawing for hours.
    static constexpr int kMinDays = 1;
    static constexpr int kMaxDays = 10;

    designpage(const PageSpec& spec, const QVector<DocTemplate*>& templates,
               Document* activeDocument);

    const PageSpec& Spec() const { return m_spec; }
    // The list with `controlId`, null when the page has none.
    QComboBox* Combo(int controlId) const;
    QLineEdit* DaysEdit() const { return m_days; }

    // Fills the lists, the first time only.
    void OnFirstShow();
    // Empty when the day count is acceptable, otherwise the message.
    QString Validate() const;
    unsigned int Days() const;
    // The name of the first document type the page needs whose list holds
    // no open document; empty when every list has one.
    QString MissingDocumentType() const;
    // Builds the page's fractal into a new fractal document through the
    // fractal template; nothing (null) when a needed document is not found.
    CFractalDoc* Build() const;

    // Lists the open documents of `docTemplate` by title; the document of
    // the active window is selected when among them, else the first. With
    // none, a single item `none` and no selection.
    static void FillDocumentCombo(QComboBox& combo, const DocTemplate* docTemplate,
                                  const Document* activeDocument, const QString& none);
    // The first document of `docTemplate` whose title equals the list's
    // current text, letter case ignored; null when the text is empty or
    // matches none.
    static Document* FindDocumentByTitle(const QComboBox& combo, const DocTemplate* docTemplate);

private:
    DocTemplate* TemplateOf(int docType) const;

    PageSpec m_spec;
    QVector<DocTemplate*> m_templates;
    Document* m_activeDocument;
    QComboBox* m_combos[2] = {nullptr, nullptr};
    QLineEdit* m_days = nullptr;
    bool m_filled = false;
};

class stddesignpage : public designpage
{
    Q_OBJECT
public:
    stddesignpage(const QVector<DocTemplate*>& templates, Document* activeDocument);
};

class ifsdesignpage : public designpage
{
    Q_OBJECT
public:
    ifsdesignpage(const QVector<DocTemplate*>& templates, Document* activeDocument);
};

class mcrmdesignpage : public designpage
{
    Q_OBJECT
public:
    mcrmdesignpage(const QVector<DocTemplate*>& templates, Document* activeDocument);
};

class lsysdesignpage : public designpage
{
    Q_OBJECT
public:
    lsysdesignpage(const QVector<DocTemplate*>& templates, Document* activeDocument);
};

class automatondesignpage : public designpage
{
    Q_OBJECT
public:
    automatondesignpage(const QVector<DocTemplate*>& templates, Document* activeDocument);
};

class designsheet : public QDialog
{
    Q_OBJECT
public:
    // `templates`: the application's document templates; `activeDocument`:
    // the document of the active window, if any.
    designsheet(const QVector<DocTemplate*>& templates, Document* activeDocument,
                QWidget* parent = nullptr);

    int PageCount() const { return m_pages.size(); }
    designpage* Page(int index) const { return m_pages.value(index); }
    int ActiveIndex() const;
    // Shows page `index` once the showing page's data are accepted; false
    // (and a message) when they are not.
    bool SetActivePage(int index);
    // Validates the showing page and builds its fractal. False when the
    // page's data are refused or a component it needs is not open (the
    // sheet stays open, the user was told).
    bool Confirm();
    // The document the last confirmation made, null when none.
    CFractalDoc* Built() const { return m_built; }

    void accept() override;

private:
    void OnPageChanged(int index);

    QTabWidget* m_tabs = nullptr;
    QVector<designpage*> m_pages;
    int m_shownPage = 0;
    CFractalDoc* m_built = nullptr;
};
