// Run-time errors, run-away scripts and re-entry: a run ends with a message, never a crash, and a
// stop request ends even a script that loops forever.
#include "ScriptRun.h"
#include "support/QStringPrinter.h"

#include "platform/script/Call.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace
{

TEST(ScriptRuntime, ErrorsEndTheRunWithTheirMessage)
{
    const struct {
        const char *source;
        const char *error;
    } cases[] = {
        {"var a: array[1..3] of Integer; i: Integer; begin i := 4; a[i] := 1; end.",
         "Index 4 out of bounds 1..3"},
        {"var s: string; begin s := 'ab'; ShowMessage(s[3]); end.", "Index 3 out of bounds 1..2"},
        {"var s: string; i: Integer; begin s := 'ab'; i := 0; s[i] := 'x'; end.",
         "Index 0 out of bounds 1..2"},
        {"var i: Integer; begin i := 0; i := 5 div i; end.", "Division by zero"},
        {"var i: Int64; begin i := 0; i := 5 mod i; end.", "Division by zero"},
        {"var d: Double; begin d := 0; d := 1 / d; end.", "Division by zero"},
        {"begin ShowMessage(IntToStr(StrToInt('12x'))); end.", "'12x' is not a valid integer value"},
        {"begin ShowMessage(IntToStr(StrToInt('3000000000'))); end.",
         "'3000000000' is not a valid integer value"},
        {"begin ShowMessage(FloatToStr(StrToFloat('1,5'))); end.",
         "'1,5' is not a valid floating point value"},
        {"begin ShowMessage(FloatToStr(Sqrt(-1))); end.", "Invalid floating point operation"},
        {"begin ShowMessage(IntToStr(Round(1e300))); end.", "Round: 1E300 is out of the Int64 range"},
        {"var s: set of Byte; i: Integer; begin i := 300; s := [i]; end.", "Set element out of range 0..255"},
        {"var s: string; begin SetLength(s, 5000000000); end.", "String length 5000000000 too large"},
    };
    for (const auto &c : cases) {
        const ScriptRun run = ScriptRun::Of(QString::fromUtf8(c.source));
        ASSERT_TRUE(run.compiled) << c.source << run.messages.join(QLatin1Char('\n')).toStdString();
        EXPECT_FALSE(run.ran) << c.source;
        EXPECT_EQ(run.error, QString::fromUtf8(c.error)) << c.source;
    }
}

TEST(ScriptRuntime, RunawayRecursionIsAStackOverflowError)
{
    const char *recursion =
        "procedure R(n: Integer); var s: string; begin s := IntToStr(n); R(n + 1); end;\n";
    const ScriptRun uncaught =
        ScriptRun::Of(QString::fromUtf8(recursion) + QStringLiteral("begin R(0); end."));
    EXPECT_FALSE(uncaught.ran);
    EXPECT_EQ(uncaught.error, QStringLiteral("Stack overflow"));

    const ScriptRun caught = ScriptRun::Of(
        QString::fromUtf8(recursion) + QStringLiteral("begin try R(0); except ShowMessage(ExceptionMessage); "
                                                      "end; ShowMessage('went on'); end."));
    EXPECT_TRUE(caught.ran);
    EXPECT_EQ(caught.shown, QStringList({QStringLiteral("Stack overflow"), QStringLiteral("went on")}));

    // Recursion through large frames ends before memory does.
    const ScriptRun large =
        ScriptRun::Of(QStringLiteral("var depth: Integer; procedure R; var a: array[0..99999] of "
                                     "Byte; begin Inc(depth); a[depth] := 1; R; end; begin try R; "
                                     "except ShowMessage(IntToStr(depth)); end; end."));
    EXPECT_EQ(large.Summary(), QStringLiteral("20"));

    // Deep but bounded recursion is fine.
    const ScriptRun deep =
        ScriptRun::Of(QStringLiteral("function D(n: Integer): Integer; begin if n = 0 then "
                                     "Result := 0 else Result := D(n - 1) + 1; end; begin "
                                     "ShowMessage(IntToStr(D(2000))); end."));
    EXPECT_EQ(deep.Summary(), QStringLiteral("2000"));
}

TEST(ScriptRuntime, StopFromAnotherThreadEndsAnEndlessLoop)
{
    const char *sources[] = {
        "begin while True do ; end.",
        "var i: Integer; begin repeat i := i + 1; until False; end.",
        "var i: Integer; begin while True do try i := i + 1; except ShowMessage('caught'); end; end.",
        "procedure Forever; begin Forever; end; begin while True do try Forever; except end; end.",
        "begin try while True do ; finally ShowMessage('cleanup'); end; end.",
    };
    for (const char *source : sources) {
        Script::Engine engine;
        QStringList shown;
        engine.SetCompileHook([&](Script::Engine &compiling) {
            compiling.AddRoutine(QStringLiteral("procedure ShowMessage(const S: string);"),
                                 [&](Script::Call &call) { shown.append(call.String(0)); });
        });
        ASSERT_TRUE(engine.Compile({QString::fromUtf8(source)})) << source;
        std::atomic<bool> done = false;
        std::thread stopper([&] {
            while (!engine.IsRunning() && !done)
                std::this_thread::yield();
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            engine.Stop();
        });
        EXPECT_FALSE(engine.Execute()) << source;
        done = true;
        stopper.join();
        EXPECT_EQ(engine.ErrorText(), QStringLiteral("Script stopped")) << source;
        EXPECT_FALSE(shown.contains(QStringLiteral("caught"))) << source;
        EXPECT_EQ(shown.contains(QStringLiteral("cleanup")),
                  QString::fromUtf8(source).contains(QLatin1String("finally")))
            << source;
        EXPECT_FALSE(engine.IsRunning());
    }
}

// The user's abort command runs inside the script (while it processes messages) and stops it.
TEST(ScriptRuntime, StopFromARoutineTheScriptCalls)
{
    Script::Engine engine;
    int calls = 0;
    engine.SetCompileHook([&](Script::Engine &compiling) {
        compiling.AddRoutine(QStringLiteral("procedure ProcessMessages;"), [&](Script::Call &) {
            if (++calls == 3)
                engine.Stop();
        });
    });
    ASSERT_TRUE(engine.Compile({QStringLiteral("begin while True do ProcessMessages; end.")}));
    EXPECT_FALSE(engine.Execute());
    EXPECT_EQ(engine.ErrorText(), QStringLiteral("Script stopped"));
    EXPECT_EQ(calls, 3);
    // A stop belongs to its run: the next run starts afresh.
    ASSERT_TRUE(engine.Compile({QStringLiteral("var i: Integer; begin for i := 1 to 1000 do ; end.")}));
    EXPECT_TRUE(engine.Execute());
}

// A script that asks for a run or a compilation while it runs (ExecuteScript from a script, or a
// user command while the script processes messages) is refused harmlessly.
TEST(ScriptRuntime, ReentryIsRefusedAndTheRunGoesOn)
{
    Script::Engine engine;
    QStringList log;
    engine.SetCompileHook([&](Script::Engine &compiling) {
        compiling.AddRoutine(QStringLiteral("procedure ShowMessage(const S: string);"),
                             [&](Script::Call &call) { log.append(call.String(0)); });
        compiling.AddRoutine(QStringLiteral("procedure ExecuteScript;"), [&](Script::Call &) {
            const bool compiled = engine.Compile({QStringLiteral("begin ShowMessage('intruder'); end.")});
            log.append(
                QStringLiteral("compile %1: %2").arg(compiled).arg(engine.MessageLines().join(QString())));
            const bool ran = engine.Execute();
            log.append(QStringLiteral("run %1: %2").arg(ran).arg(engine.ErrorText()));
        });
    });
    ASSERT_TRUE(engine.Compile(
        {QStringLiteral("begin ShowMessage('before'); ExecuteScript; ShowMessage('after'); end.")}));
    EXPECT_TRUE(engine.Execute());
    EXPECT_EQ(engine.ErrorText(), QString());
    EXPECT_EQ(log,
              QStringList({QStringLiteral("before"),
                           QStringLiteral("compile 0: [Error]: Script engine already running"),
                           QStringLiteral("run 0: Script engine already running"), QStringLiteral("after")}));
    EXPECT_TRUE(engine.IsCompiled()); // the running script was kept
}

TEST(ScriptRuntime, EveryRunStartsFromTheInitialValues)
{
    Script::Engine engine;
    QStringList shown;
    engine.SetCompileHook([&](Script::Engine &compiling) {
        compiling.AddRoutine(QStringLiteral("procedure ShowMessage(const S: string);"),
                             [&](Script::Call &call) { shown.append(call.String(0)); });
    });
    ASSERT_TRUE(
        engine.Compile({QStringLiteral("var n: Integer = 1; s: string; begin n := n + 1; s := s + 'x'; "
                                       "ShowMessage(IntToStr(n) + s); end.")}));
    EXPECT_TRUE(engine.Execute());
    EXPECT_TRUE(engine.Execute());
    EXPECT_EQ(shown, QStringList({QStringLiteral("2x"), QStringLiteral("2x")}));
}

TEST(ScriptRuntime, NothingRunsBeforeACompilationSucceeds)
{
    Script::Engine engine;
    EXPECT_FALSE(engine.Execute());
    EXPECT_EQ(engine.ErrorText(), QStringLiteral("No compiled script to run"));
    ASSERT_TRUE(engine.Compile({QStringLiteral("begin end.")}));
    EXPECT_FALSE(engine.Compile({QStringLiteral("begin")}));
    EXPECT_FALSE(engine.IsCompiled());
    EXPECT_FALSE(engine.Execute());
}

} // namespace
