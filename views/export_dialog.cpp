#include "views/export_dialog.h"

#include "framework/prompts.h"
#include "framework/ui_resources.h"
#include "ids/resource_ids.h"
#include "views/picture_export.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>

namespace {

QSpinBox* SideBox(int value, QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setRange(1, CExportDialog::kMaxSide);
    box->setValue(std::clamp(value, 1, CExportDialog::kMaxSide));
    return box;
}

} // namespace

CExportDialog::CExportDialog(const QString& suggestedPath, QSize clientSize, QWidget* parent)
    : QDialog(parent), m_folder(QFileInfo(suggestedPath).absolutePath())
{
    const UiResources& resources = UiResources::Current();
    setWindowTitle(resources.String(Res::Str::ExportCaption));

    m_path = new QLineEdit(suggestedPath, this);
    m_path->setMinimumWidth(m_path->fontMetrics().averageCharWidth() * 48);
    auto* browse = new QPushButton(resources.String(Res::Str::ExportBrowse), this);
    browse->setObjectName(QStringLiteral("browse"));
    connect(browse, &QPushButton::clicked, this, &CExportDialog::Browse);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(m_path, 1);
    fileRow->addWidget(browse);

    m_width = SideBox(clientSize.width(), this);
    m_height = SideBox(clientSize.height(), this);
    m_antialias = new QCheckBox(resources.String(Res::Str::ExportAntialias), this);

    // Labels with their field as buddy, so that Alt and the letter go there.
    const auto label = [this, &resources](int text, QWidget* buddy) {
        auto* widget = new QLabel(resources.String(text), this);
        widget->setBuddy(buddy);
        return widget;
    };
    auto* form = new QFormLayout;
    form->addRow(label(Res::Str::ExportFileLabel, m_path), fileRow);
    form->addRow(label(Res::Str::ExportWidthLabel, m_width), m_width);
    form->addRow(label(Res::Str::ExportHeightLabel, m_height), m_height);
    form->addRow(QString(), m_antialias);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CExportDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CExportDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

QString CExportDialog::Filters()
{
    const UiResources& resources = UiResources::Current();
    return QStringList{resources.String(Res::Str::ExportFilterPng),
                       resources.String(Res::Str::ExportFilterSvg),
                       resources.String(Res::Str::ExportFilterPdf)}
        .join(QStringLiteral(";;"));
}

QString CExportDialog::Path() const
{
    return m_path->text().trimmed();
}

QSize CExportDialog::PictureSize() const
{
    return {m_width->value(), m_height->value()};
}

bool CExportDialog::Antialias() const
{
    return m_antialias->isChecked();
}

void CExportDialog::Browse()
{
    const QString chosen = Prompts::Current().GetSaveFileName(
        this, UiResources::Current().String(Res::Str::ExportCaption), Path(), Filters());
    if (!chosen.isEmpty()) {
        m_path->setText(chosen);
    }
}

void CExportDialog::accept()
{
    const UiResources& resources = UiResources::Current();
    QString path = Path();
    if (path.isEmpty()) {
        Prompts::Current().ShowError(this, resources.String(Res::Str::ExportNoFileName));
        m_path->setFocus();
        return;
    }
    if (QFileInfo(path).isRelative()) {
        path = QDir(m_folder).filePath(path);
    }
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".png");
    }
    m_path->setText(path);
    if (!PictureTypeOf(path)) {
        Prompts::Current().ShowError(
            this, resources.String(Res::Str::ExportUnknownType).arg(QFileInfo(path).fileName()));
        m_path->setFocus();
        return;
    }
    QDialog::accept();
}
