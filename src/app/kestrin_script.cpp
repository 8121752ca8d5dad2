// kestrin-script FILE: compiles and runs a script file with the standard routines and
// ShowMessage, which prints its text as a line on standard output. Compiler messages and the
// run-time error go to standard error. Exit status: 0 when the script ran to its end, 1 when it
// did not compile or failed while running, 2 when the file could not be read.
#include "platform/script/Call.h"
#include "platform/script/Engine.h"

#include <QFile>
#include <QStringList>

#include <cstdio>

namespace
{

void PrintLine(FILE *stream, const QString &text)
{
    std::fputs((text + QLatin1Char('\n')).toUtf8().constData(), stream);
    std::fflush(stream);
}

QStringList ReadLines(QFile &file)
{
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (QString &line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return lines;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fputs("Usage: kestrin-script FILE\n", stderr);
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        PrintLine(stderr, QStringLiteral("Cannot read %1: %2").arg(file.fileName(), file.errorString()));
        return 2;
    }
    Script::Engine engine;
    engine.SetCompileHook([](Script::Engine &compiling) {
        compiling.AddRoutine(QStringLiteral("procedure ShowMessage(const S: string);"),
                             [](Script::Call &call) { PrintLine(stdout, call.String(0)); });
    });
    const bool compiled = engine.Compile(ReadLines(file));
    for (const QString &line : engine.MessageLines())
        PrintLine(stderr, line);
    if (!compiled)
        return 1;
    if (!engine.Execute()) {
        PrintLine(stderr, QStringLiteral("Run-time error: ") + engine.ErrorText());
        return 1;
    }
    return 0;
}
