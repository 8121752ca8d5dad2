#pragma once

#include "Message.h"
#include "Routine.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

// The script engine: compiles and runs scripts in a Pascal dialect (begin ... end. main block,
// var/const/type sections, procedures and functions with value, const and var parameters,
// if/case/while/repeat/for, try/except/finally and raise, integer, Int64, Cardinal, Double,
// Boolean, Char, string, enumerations, sets, records, static arrays, the {$IFDEF} family of
// directives) and binds routines written in C++ to Pascal declarations.
//
// How it works. The Lexer (with its Preprocessor) turns text into tokens; the Parser builds a
// parse tree (SyntaxTree.h); the Compiler and its parts (TypeBuilder, ExpressionCompiler,
// IntrinsicCompiler, StatementCompiler) check names and types and build a tree of typed nodes
// (ValueNodes, OperatorNodes, CallNodes, IntrinsicNodes, StatementNodes); the interpreter walks
// that tree. Every name is resolved at compile time to a cell index in the routine's frame or in
// the globals, every operator to a node specialised for its operand types, so running a statement
// does no look-up and no type test: an expression asks its children for an int64, a double or a
// string directly (see Expr). Run-time errors travel as C++ exceptions (Error); break, continue
// and exit as the Flow a statement returns.
namespace Script
{

struct Program;
class Compiler;

// One script engine. Compile and Execute run on the thread that owns the engine (in the program,
// the user-interface thread); Stop and IsRunning may be called from any thread.
class Engine
{
  public:
    // Called during every compilation, before the script text is read: the place where the host
    // declares its routines, constants and types with AddRoutine, AddConstant and AddType.
    using CompileHook = std::function<void(Engine &engine)>;

    Engine();
    ~Engine();
    Engine(const Engine &) = delete;
    Engine &operator=(const Engine &) = delete;

    void SetCompileHook(CompileHook hook) { hook_ = std::move(hook); }

    // Compiles `lines` (the script's text, one entry per line), replacing the last compiled
    // script. Returns whether it compiled; Messages() then holds the hints and, on failure, the
    // error. Refused (false, the running script kept) while a run is in progress.
    bool Compile(const QStringList &lines);
    bool IsCompiled() const { return program_ != nullptr; }
    const std::vector<Message> &Messages() const { return messages_; }
    QStringList MessageLines() const;

    // Runs the last compiled script to its end and returns whether it ended without error;
    // otherwise ErrorText() tells why (the message of an uncaught exception, "Script stopped"
    // after Stop). Every run starts from the declared initial values. A call while a run is in
    // progress (from a routine the script called) changes nothing and returns false with the
    // error text "Script engine already running".
    bool Execute();
    const QString &ErrorText() const { return errorText_; }

    // Asks the run in progress to stop at its next loop iteration or routine call. A request made
    // while no script runs is forgotten when the next run starts. Any thread.
    void Stop() { stopRequested_.store(true, std::memory_order_relaxed); }
    // Any thread.
    bool IsRunning() const { return running_.load(); }

    // Declarations for the script being compiled, valid only from the compile hook. Each returns
    // false when refused (a name already declared, a text that does not parse, an unknown type);
    // the script can then simply not use that name.
    // A routine by its Pascal declaration, e.g. "procedure SetRoot(const Value: widestring);".
    bool AddRoutine(const QString &declaration, NativeFunction function);
    // A constant by name, type name and value, e.g. ("clCream", "Integer", 0xF0FBFF).
    bool AddConstant(const QString &name, const QString &typeName, const QVariant &value);
    // A type by name and definition, e.g. ("TAlignment", "(taLeftJustify, taRightJustify)").
    bool AddType(const QString &name, const QString &definition);

  private:
    CompileHook hook_;
    std::unique_ptr<Program> program_;
    Compiler *compiler_ = nullptr; // set while the compile hook runs
    std::vector<Message> messages_;
    QString errorText_;
    std::atomic<bool> running_{false};
    std::atomic<bool> stopRequested_{false};
};

} // namespace Script
