#include "views/preset_dialog.h"

#include "documents/fractal_doc.h"
#include "engine/presets.h"
#include "framework/application.h"
#include "framework/ui_resources.h"
#include "ids/resource_ids.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The control of each kind's list, in kind order.
constexpr std::array<int, kKindCount> kListControls = {
    Res::Control::PresetStandard, Res::Control::PresetIfs, Res::Control::PresetMcrm,
    Res::Control::PresetLsys, Res::Control::PresetAutomaton};

// The label of list 1000 + k is text PresetCaption + k.
int LabelOf(int control)
{
    return Res::Text::PresetCaption + (control - 1000);
}

} // namespace

CPresetList::CPresetList(int kind, const QVector<QPixmap>& images, QWidget* parent)
    : QComboBox(parent), m_kind(kind)
{
    if (!images.isEmpty())
        m_itemIcon = QIcon(images[0]);
    m_currentIcon = images.size() > 1 ? QIcon(images[1]) : m_itemIcon;
    setObjectName(QString::number(kListControls[static_cast<std::size_t>(kind)]));
    for (int i = 0; i < PresetCount(kind); ++i)
        addItem(m_itemIcon, QString::fromUtf8(PresetName(kind, i)));
    // Nothing is chosen until the user chooses.
    setCurrentIndex(-1);
    setMinimumContentsLength(24);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(this, &QComboBox::currentIndexChanged, this, &CPresetList::MarkCurrent);
    connect(this, &QComboBox::activated, this, &CPresetList::OnActivated);
}

void CPresetList::showPopup()
{
    m_popupOpen = true;
    QComboBox::showPopup();
}

void CPresetList::hidePopup()
{
    QComboBox::hidePopup();
    // A choice made in the list arrives right after the list closes; only
    // then does the list count as closed.
    QTimer::singleShot(0, this, [this] { m_popupOpen = false; });
}

void CPresetList::keyPressEvent(QKeyEvent* event)
{
    const bool confirm = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (confirm && !m_popupOpen && event->modifiers() == Qt::NoModifier) {
        event->accept();
        emit Confirmed(currentIndex());
        return;
    }
    QComboBox::keyPressEvent(event);
}

void CPresetList::wheelEvent(QWheelEvent* event)
{
    // Turning the wheel over a closed list would choose a fractal in passing.
    event->ignore();
}

void CPresetList::OnActivated(int index)
{
    // The arrow keys and letter search on a closed list also activate
    // entries; only a choice from the open list confirms.
    if (m_popupOpen)
        emit Confirmed(index);
}

void CPresetList::MarkCurrent(int index)
{
    for (int i = 0; i < count(); ++i)
        setItemIcon(i, i == index ? m_currentIcon : m_itemIcon);
}

CPresetDialog::CPresetDialog(QWidget* parent) : QDialog(parent)
{
    const UiResources& resources = UiResources::Current();
    setWindowTitle(resources.String(Res::Text::PresetCaption));
    const QVector<QPixmap> images = resources.ImageList(Res::Bitmap::PresetChooser, 16);

    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel(resources.String(Res::Text::PresetHint), this);
    hint->setWordWrap(true);
    layout->addWidget(hint);

    auto* form = new QFormLayout;
    for (int kind = 0; kind < kKindCount; ++kind) {
        auto* list = new CPresetList(kind, images, this);
        m_lists[static_cast<std::size_t>(kind)] = list;
        auto* label = new QLabel(
            resources.String(LabelOf(kListControls[static_cast<std::size_t>(kind)])), this);
        label->setBuddy(list);
        form->addRow(label, list);
        connect(list, &CPresetList::Confirmed, this,
                [this, list](int index) { OnConfirmed(list, index); });
    }
    layout->addLayout(form);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    m_lists[0]->setFocus();
}

CPresetList* CPresetDialog::List(int kind) const
{
    if (kind < 0 || kind >= kKindCount)
        return nullptr;
    return m_lists[static_cast<std::size_t>(kind)];
}

void CPresetDialog::OnConfirmed(CPresetList* list, int index)
{
    if (index >= 0) {
        m_kind = list->Kind();
        m_index = index;
    }
    accept();
}

bool ChoosePresetFor(CFractalDoc& document)
{
    CPresetDialog chooser(Application::DialogParent());
    if (chooser.exec() != QDialog::Accepted || chooser.Index() == -1) {
        return false;
    }
    return document.SetPreset(chooser.Kind(), chooser.Index());
}
