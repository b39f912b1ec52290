#include "app/generation_bar.h"

#include "app/bar_controls.h"
#include "app/image_button.h"
#include "framework/command_router.h"
#include "framework/menu_builder.h"
#include "framework/ui_resources.h"
#include "ids/command_ids.h"
#include "ids/resource_ids.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

CImageButton* MakeButton(QWidget* parent, int command, int bitmap)
{
    auto* button = new CImageButton(parent);
    button->setObjectName(QString::number(command));
    button->SetImages(UiResources::Current().ImageList(bitmap, CImageButton::kImageSize));
    const CommandStrings strings = CommandStringsFor(command);
    button->setToolTip(strings.toolTip);
    button->setStatusTip(strings.statusTip);
    button->setAccessibleName(strings.toolTip);
    return button;
}

} // namespace

CGenerationBar::CGenerationBar(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(4);

    auto* label = new QLabel(UiResources::Current().String(Res::Text::GenerationBarLabel), this);
    m_box = new QComboBox(this);
    m_box->setObjectName(QString::number(Cmd::GenerationBox));
    m_box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_box->setMinimumContentsLength(3);
    // Typed counts are issued as they are, never added to the list: the
    // list holds the counts drawn so far.
    m_box->setEditable(true);
    m_box->setInsertPolicy(QComboBox::NoInsert);
    const CommandStrings strings = CommandStringsFor(Cmd::GenerationBox);
    m_box->setToolTip(strings.toolTip);
    m_box->setStatusTip(strings.statusTip);
    label->setBuddy(m_box);

    m_more = MakeButton(this, Cmd::MoreGenerations, Res::Bitmap::MoreGenerations);
    m_fewer = MakeButton(this, Cmd::FewerGenerations, Res::Bitmap::FewerGenerations);

    layout->addWidget(label);
    layout->addWidget(m_box);
    layout->addWidget(m_more);
    layout->addWidget(m_fewer);
}

void CGenerationBar::Bind(CommandRouter& router)
{
    BindComboBox(router, m_box, Cmd::GenerationBox);
    // An entry of the list is issued by the box's activation; a count that
    // is not in the list only arrives here.
    connect(m_box->lineEdit(), &QLineEdit::returnPressed, this, [this, &router] {
        const QString text = m_box->currentText();
        if (m_box->findText(text) >= 0) {
            return;
        }
        const int days = TypedDays(text);
        if (days < 1) {
            QApplication::beep();
            emit refused();
            return;
        }
        (void)router.ExecuteValue(Cmd::GenerationBox, QString::number(days));
    });
    router.Bind(m_more, Cmd::MoreGenerations);
    router.Bind(m_fewer, Cmd::FewerGenerations);
}

int CGenerationBar::TypedDays(const QString& text)
{
    bool number = false;
    const int days = text.trimmed().toInt(&number);
    return number && days >= 1 ? days : 0;
}
