#include "app/main_frame.h"

#include "app/bar_controls.h"
#include "app/color_bar.h"
#include "app/fractal_app.h"
#include "app/generation_bar.h"
#include "framework/menu_builder.h"
#include "framework/ui_resources.h"
#include "framework/view.h"
#include "ids/command_ids.h"
#include "ids/resource_ids.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolBar>

namespace {

CMainFrame* g_instance = nullptr;

constexpr int kBandImageWidth = 20;
// The image of each band in bitmap 670; band 0 has none.
constexpr std::array<int, CMainFrame::kBandCount> kBandImages = {-1, 4, 1, 0, 2, 3};

QLabel* BarLabel(int textId, QWidget* parent)
{
    return new QLabel(UiResources::Current().String(textId), parent);
}

QLineEdit* GridEdit(int control, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::number(control));
    edit->setMaxLength(3);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    const CommandStrings strings = CommandStringsFor(control);
    edit->setToolTip(strings.toolTip);
    edit->setStatusTip(strings.statusTip);
    return edit;
}

} // namespace

CMainFrame::CMainFrame() : MdiFrame(Res::MainFrame)
{
    g_instance = this;
}

CMainFrame::~CMainFrame()
{
    if (g_instance == this)
        g_instance = nullptr;
}

CMainFrame* CMainFrame::Instance()
{
    return g_instance;
}

bool CMainFrame::createToolBars()
{
    if (!MdiFrame::createToolBars())
        return false;

    m_bands[0] = AddCommandToolBar(Res::ToolBar::Main);
    m_bands[1] = AddCommandToolBar(Res::ToolBar::Fractal);
    if (!m_bands[0] || !m_bands[1])
        return false;

    m_generationBar = new CGenerationBar(this);
    m_generationBar->Bind(Router());
    connect(m_generationBar, &CGenerationBar::refused, this, &CMainFrame::RefillGenerationBox);
    m_bands[2] =
        AddBar(Res::Dialog::GenerationBar, Res::Text::GenerationBarCaption, m_generationBar);

    m_bands[3] = AddCommandToolBar(Res::ToolBar::Editor);
    if (!m_bands[3])
        return false;
    m_bands[4] = AddBar(Res::Dialog::PatternBar, Res::Text::PatternBarCaption, MakePatternBar());
    m_bands[5] = AddBar(Res::Dialog::GridBar, Res::Text::GridBarCaption, MakeGridBar());

    m_bands[0]->setWindowTitle(UiResources::Current().String(Res::Text::MainToolBarTitle));
    m_bands[1]->setWindowTitle(UiResources::Current().String(Res::Text::FractalToolBarTitle));
    m_bands[3]->setWindowTitle(UiResources::Current().String(Res::Text::EditorToolBarTitle));
    for (int k = 0; k < kBandCount; ++k) {
        if (kBandImages[k] >= 0)
            AddBandImage(m_bands[k], kBandImages[k]);
    }
    return true;
}

bool CMainFrame::createDockWindows()
{
    if (!MdiFrame::createDockWindows())
        return false;

    m_colorBar = new CColorBar;
    const CFractalApp* app = CFractalApp::Instance();
    m_colorBar->SetColors(app ? app->CurrentColors() : kDefaultColorSet);
    for (int k = 0; k < CColorBar::kSwatchCount; ++k)
        Router().Bind(m_colorBar->Swatch(k), Cmd::Color(k));

    m_colorDock = new QDockWidget(UiResources::Current().String(Res::Text::ColorBarCaption), this);
    m_colorDock->setObjectName(QStringLiteral("Bar%1").arg(Res::Dialog::ColorBar));
    m_colorDock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    m_colorDock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    m_colorDock->setWidget(m_colorBar);
    // Wide enough for its caption beside the float button, not only for the
    // swatches.
    const int captionWidth =
        m_colorDock->fontMetrics().horizontalAdvance(m_colorDock->windowTitle());
    m_colorBar->setMinimumWidth(captionWidth + 2 * style()->pixelMetric(QStyle::PM_TitleBarHeight));
    addDockWidget(Qt::RightDockWidgetArea, m_colorDock);

    ShowBands(kBandsInitial);
    return true;
}

QToolBar* CMainFrame::AddBar(int id, int titleId, QWidget* content)
{
    auto* bar = new QToolBar(UiResources::Current().String(titleId), this);
    bar->setObjectName(QStringLiteral("Bar%1").arg(id));
    bar->addWidget(content);
    addToolBar(Qt::TopToolBarArea, bar);
    return bar;
}

void CMainFrame::AddBandImage(QToolBar* bar, int image)
{
    const QVector<QPixmap> images =
        UiResources::Current().ImageList(Res::Bitmap::BandImages, kBandImageWidth);
    if (image >= images.size())
        return;
    auto* label = new QLabel(bar);
    label->setObjectName(QStringLiteral("BandImage"));
    label->setPixmap(images[image]);
    label->setContentsMargins(2, 0, 4, 0);
    const QList<QAction*> actions = bar->actions();
    if (actions.isEmpty())
        bar->addWidget(label);
    else
        bar->insertWidget(actions.first(), label);
}

QWidget* CMainFrame::MakePatternBar()
{
    auto* content = new QWidget(this);
    auto* layout = new QHBoxLayout(content);
    layout->setContentsMargins(2, 0, 2, 0);
    QLabel* label = BarLabel(Res::Text::PatternBarShape, content);
    m_shapeBox = new QComboBox(content);
    m_shapeBox->setObjectName(QString::number(Cmd::ShapeBox));
    const QStringList names =
        UiResources::Current().String(Res::Str::ShapeNames).split(QLatin1Char(','));
    const QVector<QPixmap> shapes =
        UiResources::Current().ImageList(Res::Bitmap::PatternShapes, 16);
    for (int i = 0; i < names.size(); ++i)
        m_shapeBox->addItem(i < shapes.size() ? QIcon(shapes[i]) : QIcon(), names[i].trimmed());
    const CommandStrings strings = CommandStringsFor(Cmd::ShapeBox);
    m_shapeBox->setToolTip(strings.toolTip);
    m_shapeBox->setStatusTip(strings.statusTip);
    label->setBuddy(m_shapeBox);
    layout->addWidget(label);
    layout->addWidget(m_shapeBox);
    BindComboBox(Router(), m_shapeBox, Cmd::ShapeBox);
    return content;
}

QWidget* CMainFrame::MakeGridBar()
{
    auto* content = new QWidget(this);
    auto* layout = new QHBoxLayout(content);
    layout->setContentsMargins(2, 0, 2, 0);
    m_gridSquares = GridEdit(Res::Control::GridSquareCount, content);
    m_gridRays = GridEdit(Res::Control::GridRayCount, content);
    QLabel* squares = BarLabel(Res::Text::GridBarSquares, content);
    QLabel* rays = BarLabel(Res::Text::GridBarRays, content);
    squares->setBuddy(m_gridSquares);
    rays->setBuddy(m_gridRays);
    layout->addWidget(squares);
    layout->addWidget(m_gridSquares);
    layout->addWidget(rays);
    layout->addWidget(m_gridRays);
    BindEdit(Router(), m_gridSquares, Res::Control::GridSquareCount);
    BindEdit(Router(), m_gridRays, Res::Control::GridRayCount);
    return content;
}

void CMainFrame::ShowBands(int bandSet)
{
    m_bandSet = bandSet;
    for (int k = 0; k < kBandCount; ++k) {
        if (m_bands[k])
            ShowControlBar(m_bands[k], (bandSet & (1 << k)) != 0);
    }
    if (m_colorDock)
        ShowControlBar(m_colorDock, (bandSet & kColorBarBit) != 0);
}

namespace {

// Whose entries a combo box shows: the active view's (the generation box),
// or its own fixed list (the pattern bar's shapes).
enum class Entries
{
    FromView,
    Fixed
};

// The combo box shows what the view says of `id`; a box whose entries come
// from the view is empty when the view does not use it. Filling is not the
// user's choice: no command follows.
void FillComboBox(QComboBox* box, View* view, int id, Entries entries)
{
    if (box == nullptr) {
        return;
    }
    BarControlState state;
    const bool used = view != nullptr && view->QueryBarControl(id, state);
    const QSignalBlocker blocker(box);
    box->setToolTip(used && !state.toolTip.isEmpty() ? state.toolTip
                                                     : CommandStringsFor(id).toolTip);
    if (entries == Entries::FromView) {
        box->clear();
        box->addItems(state.items);
    }
    if (!used) {
        return;
    }
    if (state.current >= 0 && state.current < box->count()) {
        box->setCurrentIndex(state.current);
    } else if (box->isEditable()) {
        box->setEditText(state.text);
    } else {
        box->setCurrentIndex(box->findText(state.text, Qt::MatchExactly));
    }
}

void FillEdit(QLineEdit* edit, View* view, int id)
{
    if (edit == nullptr) {
        return;
    }
    BarControlState state;
    if (view != nullptr && view->QueryBarControl(id, state) && edit->text() != state.text) {
        const QSignalBlocker blocker(edit);
        edit->setText(state.text);
    }
}

} // namespace

void CMainFrame::OnActiveViewChanged(View* view)
{
    ShowBands(view != nullptr ? view->BarSet() : kBandsInitial);
    if (m_colorBar != nullptr) {
        const QVector<QRgb> colors = view != nullptr ? view->BarColors() : QVector<QRgb>();
        const CFractalApp* app = CFractalApp::Instance();
        m_colorBar->SetColors(!colors.isEmpty() ? FromRgbList(colors)
                              : app != nullptr  ? app->CurrentColors()
                                                : kDefaultColorSet);
    }
    FillComboBox(GenerationBox(), view, Cmd::GenerationBox, Entries::FromView);
    FillComboBox(m_shapeBox, view, Cmd::ShapeBox, Entries::Fixed);
    FillEdit(m_gridSquares, view, Res::Control::GridSquareCount);
    FillEdit(m_gridRays, view, Res::Control::GridRayCount);
    if (view == nullptr) {
        // No window left: the next editor starts from the default counts.
        for (QLineEdit* edit : {m_gridSquares, m_gridRays}) {
            if (edit != nullptr) {
                const QSignalBlocker blocker(edit);
                edit->setText(QStringLiteral("4"));
            }
        }
    }
    // The controls' enabled states follow the update handlers.
    RequestUpdateActions();
}

QToolBar* CMainFrame::Band(int k) const
{
    return k >= 0 && k < kBandCount ? m_bands[k] : nullptr;
}

QComboBox* CMainFrame::GenerationBox() const
{
    return m_generationBar ? m_generationBar->GenerationBox() : nullptr;
}

void CMainFrame::RefillGenerationBox()
{
    FillComboBox(GenerationBox(), ActiveView(), Cmd::GenerationBox, Entries::FromView);
}

namespace {

const QString kGeometryKey = QStringLiteral("MainWindow/Geometry");
const QString kStateKey = QStringLiteral("MainWindow/State");
// Bumped when the bars change so much that an old layout no longer fits.
constexpr int kStateVersion = 1;

} // namespace

bool CMainFrame::RestoreWindowState(QSettings& settings)
{
    const QByteArray geometry = settings.value(kGeometryKey).toByteArray();
    if (geometry.isEmpty() || !restoreGeometry(geometry)) {
        return false;
    }
    (void)restoreState(settings.value(kStateKey).toByteArray(), kStateVersion);
    // Which bands show is the active view's business, not the last session's.
    ShowBands(m_bandSet);
    return true;
}

void CMainFrame::SaveWindowState(QSettings& settings) const
{
    settings.setValue(kGeometryKey, saveGeometry());
    settings.setValue(kStateKey, saveState(kStateVersion));
}

void CMainFrame::FitScreen(const QRect& available)
{
    // Below this a quarter less would leave too little for the bands and a
    // drawing.
    constexpr int kCrampedWidth = 640;
    QRect area = available;
    if (available.width() * 3 / 4 >= kCrampedWidth) {
        area.setSize(available.size() * 3 / 4);
        area.moveCenter(available.center());
    }
    setGeometry(area);
    WrapBands(area.width());
}

void CMainFrame::WrapBands(int width)
{
    // Each band set shown by some window, bands in their order: a band that
    // would run past the right edge starts a new row. A break before a band
    // another set does not show leaves that set's rows as they were.
    std::array<bool, kBandCount> breakBefore{};
    for (const int bandSet : {kBandsFractal, kBandsPattern, kBandsIfs, kBandsList, kBandsInitial}) {
        int row = 0;
        for (int k = 0; k < kBandCount; ++k) {
            if (m_bands[k] == nullptr || (bandSet & (1 << k)) == 0) {
                continue;
            }
            const int w = m_bands[k]->sizeHint().width();
            if (row > 0 && (breakBefore[k] || row + w > width)) {
                breakBefore[k] = true;
                row = w;
            } else {
                row += w;
            }
        }
    }
    for (int k = 1; k < kBandCount; ++k) {
        if (m_bands[k] == nullptr) {
            continue;
        }
        removeToolBarBreak(m_bands[k]);
        if (breakBefore[k]) {
            insertToolBarBreak(m_bands[k]);
        }
    }
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    MdiFrame::closeEvent(event);
    if (!event->isAccepted()) {
        return;
    }
    if (const Application* app = Application::Instance()) {
        QSettings settings(app->SettingsOrganization(), app->SettingsApplication());
        SaveWindowState(settings);
    }
}
