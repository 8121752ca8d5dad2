#include "KSSwitch.h"

#include "CheckAction.h"
#include "CustomKSActionList.h"

#include <QGuiApplication>
#include <QTimer>

#include <utility>

TKSSwitch::TKSSwitch(QObject *owner) : QObject(owner)
{
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::applicationStateChanged, this, &TKSSwitch::ApplicationStateChanged);
}

void TKSSwitch::AddList(TCustomKSActionList *list)
{
    lists_.append(list);
    for (TCustomAbstractAction *action : list->Actions())
        table_.append({action->Switch, action});
}

void TKSSwitch::RemoveList(TCustomKSActionList *list)
{
    lists_.removeAll(list);
    const QList<TCustomAbstractAction *> &actions = list->Actions();
    table_.removeIf([&actions](const Entry &e) { return !e.action || actions.contains(e.action.data()); });
}

TCustomAbstractAction *TKSSwitch::Find(const QString &name) const
{
    if (name.isEmpty())
        return nullptr;
    for (const Entry &e : table_)
        if (e.action && e.name.compare(name, Qt::CaseInsensitive) == 0)
            return e.action;
    return nullptr;
}

void TKSSwitch::ApplicationStateChanged(Qt::ApplicationState state)
{
    if (state == Qt::ApplicationActive && !RunCommandLineOnce() && OnActivate)
        OnActivate();
}

void TKSSwitch::WindowShown()
{
    QTimer::singleShot(0, this, [this] { RunCommandLineOnce(); });
}

bool TKSSwitch::RunCommandLineOnce()
{
    if (std::exchange(commandLineRan_, true))
        return false;
    Run(QCoreApplication::arguments().mid(1));
    return true;
}

void TKSSwitch::Run(const QStringList &arguments)
{
    // Events are processed between entries; a run they would start meanwhile is refused.
    if (executing_)
        return;
    if (OnActivate)
        OnActivate();
    pending_.Clear();
    quit_ = false;
    for (const QString &argument : arguments)
        Parse(argument);
    if (!pending_.IsEmpty())
        ExecuteEntries();
    pending_.Clear();
    // "quit" alone closes the window too: a job of just /quit must not leave the program open.
    if (quit_ && MainWindow)
        MainWindow->close();
}

void TKSSwitch::Parse(const QString &argument)
{
    if (argument.isEmpty())
        return;
    const QChar first = argument.at(0);
    const TSwitchMode mode = first == QLatin1Char('+')   ? smPlus
                             : first == QLatin1Char('-') ? smMinus
                             : first == QLatin1Char('/') ? smSlash
                                                         : smBare;
    QString name;
    QString value = argument;
    if (mode != smBare) {
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        name = (equals < 0 ? argument.mid(1) : argument.mid(1, equals - 1)).toLower();
        value = equals < 0 ? QString() : argument.mid(equals + 1);
    }
    if (table_.isEmpty())
        return;
    TCustomAbstractAction *action = nullptr;
    if (name.isEmpty()) {
        action = DefaultAction;
    } else if (name == QLatin1String("quit")) {
        quit_ = true;
        return;
    } else {
        action = Find(name);
        if (!action)
            action = DefaultAction;
    }
    if (action)
        pending_.Add(action, mode, value);
}

void TKSSwitch::ExecuteEntries()
{
    executing_ = true;
    for (size_t i = 0; i < pending_.Count(); ++i) {
        QCoreApplication::processEvents();
        ExecuteEntry(pending_.At(i));
        QCoreApplication::processEvents();
    }
    executing_ = false;
}

void TKSSwitch::ExecuteEntry(const TActionEx &entry)
{
    TCustomAbstractAction *action = entry.Action;
    if (!action || !action->isEnabled())
        return;
    auto *check = dynamic_cast<TCheckAction *>(action);
    if (!check) {
        action->SetFromText(entry.Value);
        return;
    }
    switch (entry.Mode) {
    case smPlus:
        check->SetChecked(true);
        break;
    case smMinus:
        check->SetChecked(false);
        break;
    case smSlash:
        check->Toggle();
        break;
    case smBare:
        break;
    }
}
