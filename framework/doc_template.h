#pragma once

// One document type: its resource number (menu, icon and document strings
// in the language bundle), how to make its documents and views, and the
// documents of this type that are open, in creation order.
//
// The document string of the resource number has seven fields separated by
// "\n": window title, document name (the stem of untitled titles, "Fractal"
// gives "Fractal1", "Fractal2", ...), name offered by New, filter name,
// filter extension (".frac"), file type id, file type name.
//
// Only the interface thread uses templates.

#include "framework/forward.h"

#include <QByteArray>
#include <QRgb>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <memory>

class DocTemplate
{
public:
    enum class DocString
    {
        WindowTitle,
        DocName,
        FileNewName,
        FilterName,
        FilterExt,
        RegFileTypeId,
        RegFileTypeName
    };
    using DocumentFactory = std::function<std::unique_ptr<Document>()>;
    using ViewFactory = std::function<std::unique_ptr<View>()>;
    using FrameFactory = std::function<std::unique_ptr<ChildFrame>()>;

    // Reads the document strings of `resourceId` from the current resources.
    DocTemplate(int resourceId, DocumentFactory makeDocument, ViewFactory makeView);
    virtual ~DocTemplate();
    DocTemplate(const DocTemplate&) = delete;
    DocTemplate& operator=(const DocTemplate&) = delete;

    // A template for default-constructible document and view classes.
    template <class DocumentClass, class ViewClass>
    static std::unique_ptr<DocTemplate> Make(int resourceId)
    {
        return std::make_unique<DocTemplate>(
            resourceId, [] { return std::make_unique<DocumentClass>(); },
            [] { return std::make_unique<ViewClass>(); });
    }

    int ResourceId() const { return m_resourceId; }
    QString GetDocString(DocString field) const;
    // Reads the document strings again (after the resources changed).
    void LoadStrings();
    // "Fractal Files (*.frac)", empty when the type has no extension.
    QString Filter() const;
    // The extensions without their dots, as the document string gives them.
    QStringList Extensions() const { return m_extensions; }
    QString DefaultExtension() const;
    // Whether `path` has one of the extensions (letter case ignored).
    bool MatchesFile(const QString& path) const;
    // The section headers a file of this type starts with, in order (say
    // "[type]", or "[axioms]" then "[rules]"): how a file whose extension
    // names no type is still recognised as one of this type.
    void SetContentSignature(QStringList headers) { m_signature = std::move(headers); }
    // Whether the first section headers of `head` (the start of a file)
    // are the signature; false without a signature.
    bool MatchesContent(const QByteArray& head) const;
    // The section headers at the starts of the lines of `head`, in order.
    static QStringList LeadingHeaders(const QByteArray& head, int count);

    const QVector<Document*>& Documents() const { return m_documents; }

    // Opens `path` in a new document with its own frame and view, or makes a
    // new untitled document when `path` is empty; shows and activates the
    // frame. Returns nullptr when that fails: a failed open has told the
    // user which file and why, and leaves no document or frame behind.
    virtual Document* OpenDocumentFile(const QString& path);
    // A new (hidden) frame with a new view on `document`, in the main
    // window's MDI area; nullptr when there is no main window.
    ChildFrame* CreateNewFrame(Document* document);
    // The view's initial update, then the frame shows and becomes active.
    void InitialUpdateFrame(ChildFrame* frame);
    // The colours every new view of this template starts with (see
    // View::OnInitialColors); none by default.
    void SetViewColors(QVector<QRgb> colors) { m_viewColors = std::move(colors); }
    const QVector<QRgb>& ViewColors() const { return m_viewColors; }
    // Replaces the frame class (default ChildFrame).
    void SetFrameFactory(FrameFactory makeFrame) { m_makeFrame = std::move(makeFrame); }

    void AddDocument(Document* document);
    void RemoveDocument(Document* document);

private:
    void SetDefaultTitle(Document* document);
    // Leaves the frame's window menu only the keys no command of this
    // type's menu binds.
    void KeepMenuShortcuts(ChildFrame& frame) const;
    static void ReportOpenFailure(Document* document, const QString& path);

    int m_resourceId;
    DocumentFactory m_makeDocument;
    ViewFactory m_makeView;
    FrameFactory m_makeFrame;
    QStringList m_strings;
    QStringList m_extensions;
    QStringList m_signature;
    int m_untitledCount = 0;
    QVector<Document*> m_documents;
    QVector<QRgb> m_viewColors;
};
