#include "framework/framework_strings.h"

#include "framework/ui_resources.h"

namespace {

const char* Fallback(int id)
{
    using namespace FrameworkString;
    switch (id) {
    case AppTitle:
        return "Kaleidra";
    case IdleMessage:
        return "Ready";
    case Untitled:
        return "Untitled";
    case AskToSave:
        return "Save changes to %1?";
    case CannotOpen:
        return "Cannot open %1:\n%2.";
    case CannotSave:
        return "Cannot save %1:\n%2.";
    case NewCaption:
        return "New";
    case NewPrompt:
        return "Document type:";
    case AllDocumentsFilter:
        return "All documents";
    case AllFilesFilter:
        return "All files (*)";
    case OpenCaption:
        return "Open";
    case SaveAsCaption:
        return "Save As";
    case NotADocument:
        return "%1 is not a document of a type this program knows.";
    case PrintPreviewCaption:
        return "Print Preview";
    case FileNotFound:
        return "The file %1 no longer exists. It has been removed from the recent files.";
    case CannotPrint:
        return "Cannot print to %1.";
    case MoreWindows:
        return "&More Windows...";
    case SelectWindowCaption:
        return "Select Window";
    case UnknownReason:
        return "the file could not be processed";
    case PdfFilter:
        return "PDF files (*.pdf)";
    case PrintToFileCaption:
        return "Print to File";
    default:
        return "";
    }
}

} // namespace

QString FrameworkText(int id)
{
    QString text = UiResources::Current().String(id);
    if (text.isEmpty()) {
        text = QString::fromUtf8(Fallback(id));
    }
    return text;
}
