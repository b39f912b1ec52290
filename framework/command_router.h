#pragma once

// Commands by number. Every menu item, tool button and bar control issues a
// command id; the router offers it to a chain of targets (in the main window:
// the active view, its document, its child frame, the main frame, the
// application) and the first that handles it wins. Update handlers are asked
// along the same chain for the enabled / checked / text state of each bound
// action; a command nobody knows is disabled.
//
// A target answers through OnCommand / OnUpdateCommand, or, more simply, by
// registering handlers with AddCommand in its constructor. A target that
// handles a command must also claim it in OnUpdateCommand (AddCommand does
// both), otherwise the router sees no handler and disables the command.
//
// Only the interface thread uses these classes.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVector>

#include <functional>
#include <optional>
#include <vector>

class QAbstractButton;
class QAction;
class QMenu;

// What the update handlers say about one command.
struct CommandState
{
    int id = 0;
    bool enabled = true;
    std::optional<bool> checked; // no check mark at all when unset
    std::optional<QString> text; // the action keeps its text when unset

    void Enable(bool on = true) { enabled = on; }
    void SetCheck(bool on) { checked = on; }
    void SetText(const QString& value) { text = value; }
};

class CommandTarget
{
public:
    virtual ~CommandTarget() = default;

    // Runs command `id`; false when this target does not handle it.
    virtual bool OnCommand(int id);
    // Runs command `id` with the text of the bar control that issued it (a
    // combo box's chosen or typed entry, an edit's text); false when this
    // target takes no value for `id`.
    virtual bool OnValueCommand(int id, const QString& text);
    // Fills `state` for command `id`; false when this target knows nothing
    // of it (the router then asks the next target). `state` arrives enabled.
    virtual bool OnUpdateCommand(int id, CommandState& state);

protected:
    using Handler = std::function<void()>;
    using UpdateHandler = std::function<void(CommandState&)>;
    using RangeHandler = std::function<void(int id)>;
    using RangeUpdateHandler = std::function<void(int id, CommandState&)>;
    using ValueHandler = std::function<void(const QString& text)>;

    // Registers a handler (and optionally an update handler) for `id`. A
    // later registration of the same id wins, so a derived class can take a
    // command over from its base.
    void AddCommand(int id, Handler handler, UpdateHandler update = {});
    void AddCommandRange(int first, int last, RangeHandler handler, RangeUpdateHandler update = {});
    // Registers a handler of the value command `id` (see OnValueCommand) and
    // optionally its update handler.
    void AddValueCommand(int id, ValueHandler handler, UpdateHandler update = {});
    // A state without a handler: the command itself goes on along the chain.
    void AddUpdateHandler(int id, UpdateHandler update);

private:
    struct Entry
    {
        int first = 0;
        int last = 0;
        RangeHandler handler;
        RangeUpdateHandler update;
        ValueHandler valueHandler;
    };
    const Entry* Find(int id, bool needHandler) const;

    std::vector<Entry> m_commands;
};

class CommandRouter : public QObject
{
    Q_OBJECT
public:
    using Chain = QVector<CommandTarget*>;
    using ChainSource = std::function<Chain()>;

    // `source` gives the current chain, first target first; null entries are
    // skipped.
    explicit CommandRouter(ChainSource source, QObject* parent = nullptr);

    // The state the first target that knows `id` gives it; disabled when no
    // target knows it.
    static CommandState Query(const Chain& chain, int id);
    // Runs `id` on the first target that handles it, provided Query finds
    // it enabled (a stale action or shortcut never runs a disabled command).
    // True when a target ran it.
    static bool Execute(const Chain& chain, int id);
    // Runs value command `id` with `text` on the first target that takes it,
    // provided Query finds it enabled. True when a target ran it.
    static bool ExecuteValue(const Chain& chain, int id, const QString& text);

    CommandState Query(int id) const { return Query(m_source(), id); }
    // Runs `id` along the current chain, then refreshes every bound action.
    bool Execute(int id);
    // Runs value command `id` along the current chain, then refreshes every
    // bound action.
    bool ExecuteValue(int id, const QString& text);

    // Binds an action or button to `id`: triggering it executes the command
    // and UpdateActions keeps its state current. The binding ends with the
    // object.
    void Bind(QAction* action, int id);
    void Bind(QAbstractButton* button, int id);
    // The command an action was bound to, 0 for none.
    static int CommandId(const QAction* action);

    // Asks the update handlers for every bound action and button now.
    void UpdateActions();
    // The same for the actions of one menu (when it is about to show).
    void UpdateMenu(QMenu* menu);
    // UpdateActions once control returns to the event loop; many requests
    // in a row give one update.
    void RequestUpdate();

    static void Apply(const CommandState& state, QAction* action);

private:
    ChainSource m_source;
    QVector<QPointer<QAction>> m_actions;
    QVector<QPointer<QAbstractButton>> m_buttons;
    bool m_updatePending = false;
};
