#pragma once

// Turns the bundle's menus into Qt menus. A menu text is "&Open...\tCtrl+O":
// the part before the tab is the caption (with its '&' mnemonic), the part
// after it the keyboard shortcut. Every command action carries its id
// (CommandRouter::CommandId), its fly-by status text (first line of string
// <id>) and its tool tip (second line).

#include "framework/resource_library.h"

#include <QKeySequence>
#include <QString>
#include <QVector>

#include <functional>

class QAction;
class QMenu;

struct MenuText
{
    QString caption;
    QKeySequence shortcut; // empty when the text names none or an unknown key
    // Every key the text names, separated by '|' ("Ctrl++|Ctrl+="); the
    // first is `shortcut`.
    QList<QKeySequence> shortcuts;
};

MenuText SplitMenuText(const QString& text);

// The status text and tool tip of command `id` from string <id>.
struct CommandStrings
{
    QString statusTip;
    QString toolTip;
};
CommandStrings CommandStringsFor(int id);

// A command action for `item` (id, caption, shortcut, status text), owned by
// `parent`.
QAction* CreateCommandAction(const MenuItem& item, QObject* parent);

// Appends `items` to `menu`, sub-menus as child QMenus of `menu`; `bind` is
// called for every command action created.
void FillMenu(QMenu* menu, const QVector<MenuItem>& items,
              const std::function<void(QAction*, int id)>& bind);
