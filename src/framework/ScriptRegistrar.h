#pragma once

#include <QObject>
#include <QString>
#include <QVariantList>

#include <functional>

// What the action lists need of the script engine: a way to declare routines, and the handler
// the engine runs at each compilation so that declarations can be made again. UI thread only.
class TScriptRegistrar : public QObject
{
    Q_OBJECT
  public:
    // A declared routine: receives the call's arguments in declaration order, converted to the
    // declared types (integer and TColor as int, Double as double, Boolean as bool, widestring
    // as QString).
    using Routine = std::function<void(const QVariantList &arguments)>;
    using CompileHandler = std::function<void(TScriptRegistrar &engine)>;

    using QObject::QObject;

    // Declares a routine by its declaration text, for example
    // "procedure NextNum(const aInteger:integer);". False when the engine refuses it (a name
    // already declared, a text it cannot read).
    virtual bool DeclareRoutine(const QString &declaration, Routine routine) = 0;

    // Run by the engine at the start of each compilation, before the script is read. Lists
    // hooked to the engine chain themselves in here.
    CompileHandler OnCompile;
};
