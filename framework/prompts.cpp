#include "framework/prompts.h"

#include "framework/framework_strings.h"
#include "framework/ui_resources.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

Prompts* s_current = nullptr;

QString Caption()
{
    QString title = UiResources::Current().String(FrameworkString::AppTitle);
    if (title.isEmpty()) {
        title = QApplication::applicationDisplayName();
    }
    return title.isEmpty() ? FrameworkText(FrameworkString::AppTitle) : title;
}

// Qt's own file dialog (where the desktop offers none) starts with columns
// too narrow for long names and dates: they follow their contents each time
// a folder has been read, and the dialog gets room for them.
void FitFileDialog(QFileDialog& dialog)
{
    auto* tree = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    auto* model = dialog.findChild<QFileSystemModel*>();
    if (tree == nullptr || model == nullptr) {
        return; // the desktop's dialog sizes its own columns
    }
    QObject::connect(
        model, &QFileSystemModel::directoryLoaded, tree,
        [tree] { tree->header()->resizeSections(QHeaderView::ResizeToContents); },
        Qt::QueuedConnection);
    QSize size = dialog.sizeHint().expandedTo(QSize(760, 460));
    if (const QScreen* screen = dialog.screen()) {
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    }
    dialog.resize(size);
}

} // namespace

Prompts& Prompts::Current()
{
    static Prompts dialogs;
    return s_current ? *s_current : dialogs;
}

void Prompts::SetCurrent(Prompts* prompts)
{
    s_current = prompts;
}

Prompts::SaveChoice Prompts::AskSaveChanges(QWidget* parent, const QString& text)
{
    const auto answer = QMessageBox::question(
        parent, Caption(), text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
        QMessageBox::Save);
    switch (answer) {
    case QMessageBox::Save:
        return SaveChoice::Save;
    case QMessageBox::Discard:
        return SaveChoice::Discard;
    default:
        return SaveChoice::Cancel;
    }
}

void Prompts::ShowError(QWidget* parent, const QString& text)
{
    QMessageBox::warning(parent, Caption(), text);
}

void Prompts::ShowInformation(QWidget* parent, const QString& text)
{
    QMessageBox::information(parent, Caption(), text);
}

QStringList Prompts::GetOpenFileNames(QWidget* parent, const QString& caption,
                                      const QString& filters)
{
    QFileDialog dialog(parent, caption, QString(), filters);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    FitFileDialog(dialog);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

QString Prompts::GetSaveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                                 const QString& filters)
{
    QFileDialog dialog(parent, caption, QString(), filters);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.selectFile(suggested);
    FitFileDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    return dialog.selectedFiles().first();
}

int Prompts::ChooseItem(QWidget* parent, const QString& caption, const QString& prompt,
                        const QStringList& items)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(caption);
    auto* label = new QLabel(prompt, &dialog);
    label->setVisible(!prompt.isEmpty());
    auto* list = new QListWidget(&dialog);
    list->addItems(items);
    list->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(label);
    layout->addWidget(list);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) {
        return -1;
    }
    return list->currentRow();
}

bool Prompts::RunPrintDialog(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool Prompts::RunPageSetup(QWidget* parent, QPrinter& printer)
{
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void Prompts::RunPrintPreview(QWidget* parent, QPrinter& printer,
                              const std::function<void(QPrinter&)>& paint)
{
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(FrameworkText(FrameworkString::PrintPreviewCaption));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                     [&paint](QPrinter* target) { paint(*target); });
    dialog.exec();
}
