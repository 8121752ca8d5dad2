#pragma once

#include "SuperList.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>

class TCustomAbstractAction;
class TCustomKSActionList;

// The command-line switch: the table of switch names (compared without regard to case) and the
// actions they reach, filled by the lists hooked to it, and the run of the command line at the
// application's first activation. Each argument is a switch name after "+" (on), "-" (off) or
// "/" (toggle or run), optionally followed by "=" and a value; "quit" closes the main window once
// the other arguments have run. Unknown names and bare arguments are ignored. UI thread only.
class TKSSwitch : public QObject
{
    Q_OBJECT
  public:
    explicit TKSSwitch(QObject *owner = nullptr);

    // Called by a list when its switch link changes: appends the pair (switch name, action)
    // for each of its actions, in list order, or removes them.
    void AddList(TCustomKSActionList *list);
    void RemoveList(TCustomKSActionList *list);
    // The hooked lists, in hook order.
    const QList<QPointer<TCustomKSActionList>> &Lists() const { return lists_; }

    // The first action whose switch is `name`, case ignored; none for an empty name.
    TCustomAbstractAction *Find(const QString &name) const;

    // Runs a command line (the arguments after the program's name): calls OnActivate, parses
    // every argument, then executes the entries in order, letting pending events be processed
    // around each, and closes MainWindow when "quit" was among them. Called by the switch itself
    // at the application's first activation; does nothing while a run is executing.
    void Run(const QStringList &arguments);

    // True while the entries of a command line are being executed.
    bool Executing() const { return executing_; }

    // The action that would receive bare arguments and unknown names; this program leaves it
    // unset, so they are ignored.
    QPointer<TCustomAbstractAction> DefaultAction;
    // Runs on every activation of the application after the first.
    std::function<void()> OnActivate;
    // The main window is on screen: the command line runs at the next turn of the event loop
    // unless the application's activation ran it first. Desktops that do not activate new windows
    // (focus-stealing prevention, no window manager) would otherwise never run it.
    void WindowShown();
    // The window the quit switch closes.
    QPointer<QWidget> MainWindow;

  private:
    void ApplicationStateChanged(Qt::ApplicationState state);
    // Runs the command line the first time it is called; false afterwards.
    bool RunCommandLineOnce();
    void Parse(const QString &argument);
    void ExecuteEntries();
    static void ExecuteEntry(const TActionEx &entry);

    struct Entry {
        QString name;
        QPointer<TCustomAbstractAction> action;
    };
    QList<Entry> table_;
    QList<QPointer<TCustomKSActionList>> lists_;
    TSuperList pending_;
    bool quit_ = false;
    bool executing_ = false;
    bool commandLineRan_ = false;
};
