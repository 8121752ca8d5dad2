#include "Engine.h"

#include "CompileError.h"
#include "Compiler.h"
#include "Error.h"
#include "Lexer.h"
#include "Parser.h"
#include "Program.h"

namespace Script
{

namespace
{

const QString kAlreadyRunning = QStringLiteral("Script engine already running");

} // namespace

Engine::Engine() = default;

Engine::~Engine() = default;

QStringList Engine::MessageLines() const
{
    QStringList lines;
    for (const Message &message : messages_)
        lines.append(message.Line());
    return lines;
}

bool Engine::Compile(const QStringList &lines)
{
    if (running_.load()) {
        messages_ = {{MessageKind::Error, false, {}, kAlreadyRunning}};
        return false;
    }
    messages_.clear();
    program_.reset();
    auto program = std::make_unique<Program>();
    Compiler compiler(*program);
    try {
        if (hook_) {
            compiler_ = &compiler;
            struct Forget {
                Compiler *&compiler;
                ~Forget() { compiler = nullptr; }
            } forget{compiler_};
            hook_(*this);
        }
        Lexer lexer(lines.join(QLatin1Char('\n')));
        Parser parser(lexer);
        compiler.CompileScript(parser.ParseScript());
    } catch (const CompileError &error) {
        messages_ = compiler.Hints();
        messages_.push_back({MessageKind::Error, true, error.pos, error.text});
        return false;
    }
    messages_ = compiler.Hints();
    program_ = std::move(program);
    return true;
}

bool Engine::Execute()
{
    if (running_.load()) {
        errorText_ = kAlreadyRunning;
        return false;
    }
    errorText_.clear();
    if (!program_) {
        errorText_ = QStringLiteral("No compiled script to run");
        return false;
    }
    stopRequested_.store(false);
    running_.store(true);
    struct Finish {
        std::atomic<bool> &running;
        ~Finish() { running.store(false); }
    } finish{running_};
    Runtime runtime(stopRequested_);
    std::vector<Value> globals = program_->globals;
    Frame frame{globals.data(), globals.data(), &runtime};
    try {
        program_->main->Exec(frame);
        errorText_.clear(); // a refused run from inside this one may have set it
        return true;
    } catch (const Error &error) {
        errorText_ = error.message;
    } catch (const Stopped &) {
        errorText_ = QStringLiteral("Script stopped");
    } catch (const std::bad_alloc &) {
        errorText_ = QStringLiteral("Out of memory");
    } catch (const std::exception &error) {
        errorText_ = QString::fromUtf8(error.what());
    }
    return false;
}

bool Engine::AddRoutine(const QString &declaration, NativeFunction function)
{
    return compiler_ && compiler_->DeclareRoutine(declaration, std::move(function));
}

bool Engine::AddConstant(const QString &name, const QString &typeName, const QVariant &value)
{
    return compiler_ && compiler_->DeclareConstant(name, typeName, value);
}

bool Engine::AddType(const QString &name, const QString &definition)
{
    return compiler_ && compiler_->DeclareType(name, definition);
}

} // namespace Script
