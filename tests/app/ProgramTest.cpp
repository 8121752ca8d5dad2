// Runs the built program as a user would, on the offscreen platform.
#include "framework/ProgramIdentity.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace
{

struct Outcome {
    bool finished;
    int exitCode;
    QString out;
};

Outcome RunProgram(const QStringList &arguments, int waitMs)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(KESTRIN_EXECUTABLE), arguments);
    if (!program.waitForStarted(5000))
        return {false, -1, QString()};
    const bool finished = program.waitForFinished(waitMs);
    if (!finished) {
        program.kill();
        program.waitForFinished(5000);
    }
    return {finished, program.exitCode(), QString::fromLocal8Bit(program.readAllStandardOutput())};
}

TEST(Program, VersionPrintsTheTitleAndExits)
{
    const Outcome o = RunProgram({"--version"}, 10000);
    ASSERT_TRUE(o.finished);
    EXPECT_EQ(o.exitCode, 0);
    EXPECT_EQ(o.out, ProgramIdentity::Title() + "\n");
    EXPECT_TRUE(o.out.startsWith("Kestrin 1.")) << o.out.toStdString();
}

TEST(Program, HelpListsEverySwitchOfTheMainWindowGroupedByList)
{
    const Outcome o = RunProgram({"--help"}, 10000);
    ASSERT_TRUE(o.finished);
    EXPECT_EQ(o.exitCode, 0);
    for (const char *expected : {"[am]", "[gpal]", "[vidman]", "[audman]", "[NavMan]", "[ficman]", "  /g ",
                                 "  /fs +fs -fs ", "  /o=aWidestring ", "  /n=aInteger ", "  /inpos=x,y ",
                                 "  /StrPos=aWidestring ", "  /vol=aInteger "})
        EXPECT_TRUE(o.out.contains(expected)) << expected;
    EXPECT_FALSE(o.out.contains("[al_script]"));
    EXPECT_FALSE(o.out.contains("[ficman_script]"));
    EXPECT_LT(o.out.indexOf("[am]"), o.out.indexOf("[gpal]"));
    EXPECT_LT(o.out.indexOf("[vidman]"), o.out.indexOf("[NavMan]"));
}

struct QuitCase {
    QStringList arguments;
    bool quits;
};

TEST(Program, CommandLineRunsAtStartAndQuitClosesTheWindow)
{
    const QuitCase cases[] = {
        {{"/quit"}, true},
        {{"/QUIT", "/n=5", "+fs", "/g"}, true},
        {{"bare", "/nosuch", "fs=1", "-quit"}, true},
        {{"/n=5", "/fs"}, false},
        {{}, false},
    };
    for (const QuitCase &c : cases) {
        const Outcome o = RunProgram(c.arguments, c.quits ? 20000 : 1500);
        EXPECT_EQ(o.finished, c.quits) << c.arguments.join(' ').toStdString();
        if (c.quits) {
            EXPECT_EQ(o.exitCode, 0) << c.arguments.join(' ').toStdString();
        }
    }
}

} // namespace
