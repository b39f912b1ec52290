#include "framework/menu_builder.h"

#include "framework/command_router.h"
#include "framework/ui_resources.h"

#include <QAction>
#include <QMenu>

MenuText SplitMenuText(const QString& text)
{
    MenuText result;
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    if (tab < 0) {
        result.caption = text;
        return result;
    }
    result.caption = text.left(tab);
    // "Ctrl++|Ctrl+=": the first is the one the menu shows, the others are
    // bound too.
    for (const QString& keys : text.mid(tab + 1).split(QLatin1Char('|'))) {
        const QKeySequence sequence =
            QKeySequence::fromString(keys.trimmed(), QKeySequence::PortableText);
        // An unknown key name gives Qt::Key_unknown; no shortcut is better
        // than a wrong one.
        if (sequence.count() == 1 && sequence[0].key() != Qt::Key_unknown)
            result.shortcuts.append(sequence);
    }
    if (!result.shortcuts.isEmpty())
        result.shortcut = result.shortcuts.front();
    return result;
}

CommandStrings CommandStringsFor(int id)
{
    CommandStrings strings;
    const QString text = UiResources::Current().String(id);
    const qsizetype newline = text.indexOf(QLatin1Char('\n'));
    if (newline < 0) {
        strings.statusTip = text;
    } else {
        strings.statusTip = text.left(newline);
        strings.toolTip = text.mid(newline + 1);
    }
    return strings;
}

QAction* CreateCommandAction(const MenuItem& item, QObject* parent)
{
    const MenuText text = SplitMenuText(item.text);
    auto* action = new QAction(text.caption, parent);
    action->setProperty("kaleidraCommand", item.id);
    if (!text.shortcuts.isEmpty())
        action->setShortcuts(text.shortcuts);
    const CommandStrings strings = CommandStringsFor(item.id);
    action->setStatusTip(strings.statusTip);
    if (!strings.toolTip.isEmpty())
        action->setToolTip(strings.toolTip);
    return action;
}

void FillMenu(QMenu* menu, const QVector<MenuItem>& items,
              const std::function<void(QAction*, int id)>& bind)
{
    for (const MenuItem& item : items) {
        if (item.separator) {
            menu->addSeparator();
        } else if (!item.items.isEmpty()) {
            auto* sub = new QMenu(SplitMenuText(item.text).caption, menu);
            FillMenu(sub, item.items, bind);
            menu->addMenu(sub);
        } else {
            QAction* action = CreateCommandAction(item, menu);
            menu->addAction(action);
            if (item.id != 0)
                bind(action, item.id);
        }
    }
}
