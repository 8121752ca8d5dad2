#include "ScriptRun.h"

#include "platform/script/Call.h"

ScriptRun ScriptRun::Of(const QString &text, const Script::Engine::CompileHook &extraDeclarations)
{
    ScriptRun run;
    Script::Engine engine;
    engine.SetCompileHook([&](Script::Engine &compiling) {
        compiling.AddRoutine(QStringLiteral("procedure ShowMessage(const S: string);"),
                             [&](Script::Call &call) { run.shown.append(call.String(0)); });
        if (extraDeclarations)
            extraDeclarations(compiling);
    });
    run.compiled = engine.Compile(text.split(QLatin1Char('\n')));
    run.messages = engine.MessageLines();
    if (run.compiled) {
        run.ran = engine.Execute();
        run.error = engine.ErrorText();
    }
    return run;
}

QString ScriptRun::Summary() const
{
    if (!compiled)
        return messages.join(QLatin1Char('|'));
    QString summary = shown.join(QLatin1Char('|'));
    if (!ran)
        summary += (summary.isEmpty() ? QString() : QStringLiteral("|")) + QStringLiteral("error: ") + error;
    return summary;
}
