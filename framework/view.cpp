#include "framework/view.h"

#include "framework/application.h"
#include "framework/child_frame.h"
#include "framework/document.h"
#include "framework/mdi_frame.h"
#include "framework/menu_builder.h"
#include "framework/printing.h"
#include "framework/standard_ids.h"
#include "framework/ui_resources.h"

#include <QMenu>
#include <QPainter>

View::View(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

View::~View()
{
    if (m_document) {
        m_document->RemoveView(this);
    }
}

Document* View::GetDocument() const
{
    return m_document;
}

ChildFrame* View::Frame() const
{
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (auto* frame = qobject_cast<ChildFrame*>(w)) {
            return frame;
        }
    }
    return nullptr;
}

void View::OnInitialUpdate()
{
    OnUpdate(nullptr, 0);
}

void View::OnUpdate(View* sender, int hint)
{
    Q_UNUSED(sender);
    Q_UNUSED(hint);
    update();
}

void View::OnDraw(QPainter& painter)
{
    Q_UNUSED(painter);
}

void View::OnActivateView(bool activate, View* activated, View* deactivated)
{
    Q_UNUSED(activate);
    Q_UNUSED(activated);
    Q_UNUSED(deactivated);
}

int View::BarSet() const
{
    return 0x101;
}

QVector<QRgb> View::BarColors() const
{
    return {};
}

bool View::QueryBarControl(int controlId, BarControlState& state) const
{
    Q_UNUSED(controlId);
    Q_UNUSED(state);
    return false;
}

void View::OnInitialColors(const QVector<QRgb>& colors)
{
    Q_UNUSED(colors);
}

void View::OnDocumentClosing() {}

void View::OnFrameClosing() {}

void View::BarsChanged()
{
    emit barsChanged(this);
}

void View::ShowStatusText(const QString& text)
{
    if (text == m_statusText) {
        return;
    }
    m_statusText = text;
    emit statusTextChanged(this, text);
}

bool View::OnPreparePrinting(QPrinter& printer)
{
    Q_UNUSED(printer);
    return true;
}

void View::OnPrint(QPainter& painter, QPrinter& printer, const QRect& pageRect)
{
    Q_UNUSED(printer);
    Q_UNUSED(pageRect);
    OnDraw(painter);
}

void View::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    OnDraw(painter);
}

void View::EnablePrinting()
{
    AddCommand(Cmd::FilePrint, [this] { (void)PrintView(*this, PrintMode::Dialog); });
    AddCommand(Cmd::FilePrintDirect, [this] { (void)PrintView(*this, PrintMode::Direct); });
    AddCommand(Cmd::FilePrintPreview, [this] { PreviewView(*this); });
}

CommandRouter::Chain View::CommandChain() const
{
    CommandRouter::Chain chain;
    chain.append(const_cast<View*>(this));
    if (m_document) {
        chain.append(m_document.data());
    }
    if (ChildFrame* frame = Frame()) {
        chain.append(frame);
    }
    Application* app = Application::Instance();
    if (app && app->MainFrame()) {
        chain.append(app->MainFrame());
    }
    if (app) {
        chain.append(app);
    }
    return chain;
}

bool View::TrackPopupMenu(int menuId, const QPoint& globalPos)
{
    const QVector<MenuItem> items = UiResources::Current().Menu(menuId);
    const MenuItem* popup = nullptr;
    for (const MenuItem& item : items) {
        if (!item.items.isEmpty()) {
            popup = &item;
            break;
        }
    }
    if (!popup) {
        return false;
    }

    QPointer<View> self(this);
    QMenu menu(this);
    FillMenu(&menu, popup->items, [](QAction*, int) {});
    const auto refresh = [self](QMenu* shown) {
        if (!self) {
            return;
        }
        const CommandRouter::Chain chain = self->CommandChain();
        for (QAction* action : shown->actions()) {
            if (const int id = CommandRouter::CommandId(action)) {
                CommandRouter::Apply(CommandRouter::Query(chain, id), action);
            }
        }
    };
    for (QMenu* sub : menu.findChildren<QMenu*>()) {
        QObject::connect(sub, &QMenu::aboutToShow, sub, [sub, refresh] { refresh(sub); });
    }
    refresh(&menu);

    // The menu's own signal sees the choice however it was made.
    int id = 0;
    QObject::connect(&menu, &QMenu::triggered, &menu,
                     [&id](QAction* action) { id = CommandRouter::CommandId(action); });
    menu.exec(globalPos);
    if (self && id != 0) {
        CommandRouter::Execute(self->CommandChain(), id);
        if (Application* app = Application::Instance(); app && app->MainFrame()) {
            app->MainFrame()->UpdateActions();
        }
    }
    return true;
}
