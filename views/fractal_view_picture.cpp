// The pictures a fractal window gives away (export to a file, copy to the
// clipboard) and its zooming with the wheel.

#include "documents/fractal_doc.h"
#include "framework/application.h"
#include "framework/prompts.h"
#include "framework/ui_resources.h"
#include "ids/resource_ids.h"
#include "views/bundle_images.h"
#include "views/export_dialog.h"
#include "views/fractal_view.h"
#include "views/picture_export.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QWheelEvent>

#include <cmath>

namespace {

// Where the last export went this session: the next one is offered there.
QString& LastExportFolder()
{
    static QString folder;
    return folder;
}

// The marker images the window's overlays are drawn with.
ImageList Markers()
{
    ImageList markers = LoadBundleImages(Res::Bitmap::FractalMarkers, kMarkerSize);
    return markers.IsEmpty() ? ImageList(DefaultMarkerStrip(), kMarkerSize) : markers;
}

} // namespace

bool CFractalView::CanMakePicture() const
{
    const CFractalDoc* document = GetFractalDoc();
    return document != nullptr && document->HasGoodFractal() && m_problem.isEmpty();
}

PictureOptions CFractalView::PictureOptionsFor(QSize size) const
{
    PictureOptions options;
    options.size = size;
    options.zoom = m_zoom;
    // The window's own pixels unless asked otherwise.
    options.antialias = false;
    options.settings = m_settings;
    return options;
}

void CFractalView::AskExport()
{
    CFractalDoc* document = GetFractalDoc();
    if (document == nullptr || !CanMakePicture()) {
        return;
    }
    // Beside the document's file, named after it; else the fractal's name.
    const QFileInfo documentFile(document->PathName());
    QString folder = LastExportFolder();
    if (folder.isEmpty()) {
        folder = document->PathName().isEmpty() ? QDir::homePath() : documentFile.absolutePath();
    }
    // The same name Save As proposes, so a picture sits beside its fractal.
    QString base = document->PathName().isEmpty()
                       ? Document::FileSafeName(QString::fromStdString(document->Fractal()->m_name))
                       : documentFile.completeBaseName();
    if (base.isEmpty()) {
        base = QStringLiteral("fractal");
    }
    const QString suggested = QDir(folder).filePath(base + QStringLiteral(".png"));
    CExportDialog dialog(suggested, size(), Application::DialogParent());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    if (ExportPicture(dialog.Path(), dialog.PictureSize(), dialog.Antialias())) {
        LastExportFolder() = QFileInfo(dialog.Path()).absolutePath();
    }
}

bool CFractalView::ExportPicture(const QString& path, QSize size, bool antialias)
{
    const UiResources& resources = UiResources::Current();
    QWidget* parent = Application::DialogParent();
    const QString name = QFileInfo(path).fileName();
    const std::optional<PictureType> type = PictureTypeOf(path);
    if (!type) {
        Prompts::Current().ShowError(parent,
                                     resources.String(Res::Str::ExportUnknownType).arg(name));
        return false;
    }
    CFractalDoc* document = GetFractalDoc();
    if (document == nullptr || !CanMakePicture()) {
        Prompts::Current().ShowError(parent, resources.String(Res::Str::ExportFailed)
                                                 .arg(QDir::toNativeSeparators(path),
                                                      resources.String(Res::Str::ExportNoPicture)));
        return false;
    }
    // The worker needs its own copies: the window may change meanwhile.
    const FractalPtr fractal = document->Fractal();
    PictureOptions options = PictureOptionsFor(size);
    options.antialias = antialias;
    const ImageList markers = Markers();
    options.markers = &markers;
    ExportOutcome outcome;
    RunWithProgress(parent, resources.String(Res::Str::ExportProgress).arg(name),
                    [&](const StopFlag& stop) {
                        PictureOptions run = options;
                        run.stop = &stop;
                        outcome = ExportFractalPicture(fractal, path, *type, run);
                    });
    if (outcome.status == ExportStatus::Failed) {
        Prompts::Current().ShowError(parent,
                                     resources.String(Res::Str::ExportFailed)
                                         .arg(QDir::toNativeSeparators(path), outcome.error));
    }
    return outcome.status == ExportStatus::Done;
}

bool CFractalView::CopyPicture()
{
    CFractalDoc* document = GetFractalDoc();
    if (document == nullptr || !CanMakePicture()) {
        return false;
    }
    const UiResources& resources = UiResources::Current();
    const FractalPtr fractal = document->Fractal();
    const qreal ratio = devicePixelRatioF();
    PictureOptions options =
        PictureOptionsFor(QSize(static_cast<int>(std::ceil(width() * ratio)),
                                static_cast<int>(std::ceil(height() * ratio))));
    const ImageList markers = Markers();
    options.markers = &markers;
    QImage image;
    ExportOutcome outcome;
    RunWithProgress(Application::DialogParent(), resources.String(Res::Str::CopyProgress),
                    [&](const StopFlag& stop) {
                        PictureOptions run = options;
                        run.stop = &stop;
                        outcome = PaintFractalImage(fractal, run, image);
                    });
    if (outcome.status == ExportStatus::Failed) {
        Prompts::Current().ShowError(Application::DialogParent(),
                                     resources.String(Res::Str::CopyFailed).arg(outcome.error));
    }
    if (outcome.status != ExportStatus::Done) {
        return false;
    }
    image.setDevicePixelRatio(ratio);
    QGuiApplication::clipboard()->setImage(image);
    return true;
}

void CFractalView::wheelEvent(QWheelEvent* event)
{
    if ((event->modifiers() & Qt::ControlModifier) == 0) {
        m_wheelAngle = 0;
        View::wheelEvent(event);
        return;
    }
    event->accept();
    // One zoom step a notch; a touchpad's small steps add up to notches.
    constexpr int kNotch = 120;
    m_wheelAngle += event->angleDelta().y();
    double zoom = m_zoom;
    for (; m_wheelAngle >= kNotch; m_wheelAngle -= kNotch) {
        zoom *= kZoomInFactor;
    }
    for (; m_wheelAngle <= -kNotch; m_wheelAngle += kNotch) {
        zoom *= kZoomOutFactor;
    }
    if (zoom != m_zoom) {
        SetZoom(zoom);
        UpdateActionsLater();
    }
}
