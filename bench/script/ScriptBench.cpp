// Runs one loop-heavy program (integer arithmetic, a Double sum, string building; ten million
// iterations) in the script engine and the same program in python3, in the same run, and prints
// both times and their ratio. Both must print the same checksum. Usage: bench_script [ITERATIONS]
#include "platform/script/Call.h"
#include "platform/script/Engine.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>

#include <cstdio>

namespace
{

const char *kPascal = R"(var i, iterations: Integer; x, sum: Int64; d: Double; s: string;
begin
  iterations := %1;
  x := 1; sum := 0; d := 0; s := '';
  for i := 1 to iterations do
  begin
    x := (x * 1103515245 + 12345) mod 2147483648;
    sum := sum + x mod 1000;
    if i mod 10 = 0 then
      s := s + Chr(65 + x mod 26);
    d := d + 0.5;
  end;
  Print(IntToStr(sum) + ' ' + IntToStr(Length(s)) + ' ' + IntToStr(Round(d)));
end.)";

// In a function, as Python programs are written for speed: locals are faster than globals there,
// and only a local string is extended in place.
const char *kPython = R"(def main(iterations):
    x = 1; total = 0; d = 0.0; s = ''
    for i in range(1, iterations + 1):
        x = (x * 1103515245 + 12345) % 2147483648
        total = total + x % 1000
        if i % 10 == 0:
            s = s + chr(65 + x % 26)
        d = d + 0.5
    print(total, len(s), round(d))
main(%1)
)";

struct Timing {
    QString output;
    double seconds = 0;
};

bool RunScript(int iterations, Timing &timing)
{
    Script::Engine engine;
    engine.SetCompileHook([&](Script::Engine &compiling) {
        compiling.AddRoutine(QStringLiteral("procedure Print(const S: string);"),
                             [&](Script::Call &call) { timing.output = call.String(0); });
    });
    QElapsedTimer timer;
    timer.start();
    if (!engine.Compile(QString::fromLatin1(kPascal).arg(iterations).split(QLatin1Char('\n')))) {
        std::fprintf(stderr, "%s\n", qPrintable(engine.MessageLines().join(QLatin1Char('\n'))));
        return false;
    }
    if (!engine.Execute()) {
        std::fprintf(stderr, "%s\n", qPrintable(engine.ErrorText()));
        return false;
    }
    timing.seconds = timer.nsecsElapsed() / 1e9;
    return true;
}

bool RunPython(int iterations, Timing &timing)
{
    QProcess python;
    QElapsedTimer timer;
    timer.start();
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"), QString::fromLatin1(kPython).arg(iterations)});
    if (!python.waitForFinished(600000) || python.exitCode() != 0) {
        std::fprintf(stderr, "python3 failed: %s %s\n", qPrintable(python.errorString()),
                     python.readAllStandardError().constData());
        return false;
    }
    timing.seconds = timer.nsecsElapsed() / 1e9;
    timing.output = QString::fromUtf8(python.readAllStandardOutput()).trimmed();
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    const int iterations = argc > 1 ? std::atoi(argv[1]) : 10000000;
    Timing script, python;
    if (!RunScript(iterations, script) || !RunPython(iterations, python))
        return 1;
    std::printf("iterations  %d\n", iterations);
    std::printf("script      %.3f s  (%s)\n", script.seconds, qPrintable(script.output));
    std::printf("python3     %.3f s  (%s)\n", python.seconds, qPrintable(python.output));
    std::printf("python3 time / script time = %.2f\n", python.seconds / script.seconds);
    if (script.output != python.output) {
        std::fprintf(stderr, "the two programs disagree\n");
        return 1;
    }
    return 0;
}
