#include "framework/command_router.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QTimer>

namespace {

const char* const kCommandProperty = "kaleidraCommand";

} // namespace

bool CommandTarget::OnCommand(int id)
{
    const Entry* entry = Find(id, true);
    if (!entry) {
        return false;
    }
    entry->handler(id);
    return true;
}

bool CommandTarget::OnValueCommand(int id, const QString& text)
{
    for (auto it = m_commands.rbegin(); it != m_commands.rend(); ++it) {
        if (id >= it->first && id <= it->last && it->valueHandler) {
            it->valueHandler(text);
            return true;
        }
    }
    return false;
}

bool CommandTarget::OnUpdateCommand(int id, CommandState& state)
{
    const Entry* entry = Find(id, false);
    if (!entry) {
        return false;
    }
    if (entry->update) {
        entry->update(id, state);
    }
    return true;
}

void CommandTarget::AddCommand(int id, Handler handler, UpdateHandler update)
{
    Entry entry;
    entry.first = entry.last = id;
    entry.handler = [handler = std::move(handler)](int) { handler(); };
    if (update) {
        entry.update = [update = std::move(update)](int, CommandState& state) { update(state); };
    }
    m_commands.push_back(std::move(entry));
}

void CommandTarget::AddCommandRange(int first, int last, RangeHandler handler,
                                    RangeUpdateHandler update)
{
    Entry entry;
    entry.first = first;
    entry.last = last;
    entry.handler = std::move(handler);
    entry.update = std::move(update);
    m_commands.push_back(std::move(entry));
}

void CommandTarget::AddValueCommand(int id, ValueHandler handler, UpdateHandler update)
{
    Entry entry;
    entry.first = entry.last = id;
    entry.valueHandler = std::move(handler);
    // The router's Query must find the command claimed and enabled.
    entry.update = [update = std::move(update)](int, CommandState& state) {
        if (update) {
            update(state);
        }
    };
    m_commands.push_back(std::move(entry));
}

void CommandTarget::AddUpdateHandler(int id, UpdateHandler update)
{
    Entry entry;
    entry.first = entry.last = id;
    entry.update = [update = std::move(update)](int, CommandState& state) { update(state); };
    m_commands.push_back(std::move(entry));
}

const CommandTarget::Entry* CommandTarget::Find(int id, bool needHandler) const
{
    for (auto it = m_commands.rbegin(); it != m_commands.rend(); ++it) {
        if (id < it->first || id > it->last) {
            continue;
        }
        if (needHandler && !it->handler) {
            continue;
        }
        return &*it;
    }
    return nullptr;
}

CommandRouter::CommandRouter(ChainSource source, QObject* parent)
    : QObject(parent), m_source(std::move(source))
{
}

CommandState CommandRouter::Query(const Chain& chain, int id)
{
    CommandState state;
    state.id = id;
    for (CommandTarget* target : chain) {
        if (target && target->OnUpdateCommand(id, state)) {
            return state;
        }
        state = CommandState{};
        state.id = id;
    }
    state.enabled = false;
    return state;
}

bool CommandRouter::Execute(const Chain& chain, int id)
{
    if (!Query(chain, id).enabled) {
        return false;
    }
    for (CommandTarget* target : chain) {
        // The first target that runs the command may close windows and
        // documents further down the chain: stop right there.
        if (target && target->OnCommand(id)) {
            return true;
        }
    }
    return false;
}

bool CommandRouter::ExecuteValue(const Chain& chain, int id, const QString& text)
{
    if (!Query(chain, id).enabled) {
        return false;
    }
    for (CommandTarget* target : chain) {
        if (target && target->OnValueCommand(id, text)) {
            return true;
        }
    }
    return false;
}

bool CommandRouter::ExecuteValue(int id, const QString& text)
{
    QPointer<CommandRouter> self(this);
    const bool handled = ExecuteValue(m_source(), id, text);
    if (self) {
        UpdateActions();
    }
    return handled;
}

bool CommandRouter::Execute(int id)
{
    QPointer<CommandRouter> self(this);
    const bool handled = Execute(m_source(), id);
    if (self) {
        UpdateActions();
    }
    return handled;
}

void CommandRouter::Bind(QAction* action, int id)
{
    action->setProperty(kCommandProperty, id);
    connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
    m_actions.append(action);
}

void CommandRouter::Bind(QAbstractButton* button, int id)
{
    button->setProperty(kCommandProperty, id);
    connect(button, &QAbstractButton::clicked, this, [this, id] { Execute(id); });
    m_buttons.append(button);
}

int CommandRouter::CommandId(const QAction* action)
{
    return action ? action->property(kCommandProperty).toInt() : 0;
}

void CommandRouter::Apply(const CommandState& state, QAction* action)
{
    action->setEnabled(state.enabled);
    action->setCheckable(state.checked.has_value());
    if (state.checked) {
        action->setChecked(*state.checked);
    }
    if (state.text) {
        action->setText(*state.text);
    }
}

void CommandRouter::UpdateActions()
{
    m_updatePending = false;
    const Chain chain = m_source();
    m_actions.removeAll(nullptr);
    m_buttons.removeAll(nullptr);
    for (const QPointer<QAction>& action : std::as_const(m_actions)) {
        Apply(Query(chain, CommandId(action)), action);
    }
    for (const QPointer<QAbstractButton>& button : std::as_const(m_buttons)) {
        const CommandState state = Query(chain, button->property(kCommandProperty).toInt());
        button->setEnabled(state.enabled);
        if (state.checked) {
            button->setCheckable(true);
            button->setChecked(*state.checked);
        }
    }
}

void CommandRouter::UpdateMenu(QMenu* menu)
{
    const Chain chain = m_source();
    for (QAction* action : menu->actions()) {
        const int id = CommandId(action);
        if (id != 0) {
            Apply(Query(chain, id), action);
        }
    }
}

void CommandRouter::RequestUpdate()
{
    if (m_updatePending) {
        return;
    }
    m_updatePending = true;
    QTimer::singleShot(0, this, [this] {
        if (m_updatePending) {
            UpdateActions();
        }
    });
}
