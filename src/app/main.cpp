#include "framework/ProgramIdentity.h"
#include "grab/ShowForm.h"

#include <QApplication>
#include <QTextStream>

#include <cstdlib>
#include <cstring>

#include <malloc.h>

namespace
{

// Without a display the program runs on Qt's offscreen platform, so command-line jobs work on
// a server. The toolkit's own variables decide when they are set.
void ChooseHeadlessPlatform()
{
    const bool hasDisplay =
        !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (!hasDisplay && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

bool HasOption(int argc, char *argv[], const char *option)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], option) == 0)
            return true;
    return false;
}

QString HelpText(const TKSSwitch &commandLine)
{
    QString text;
    QTextStream out(&text);
    out << ProgramIdentity::Title() << "\n\n"
        << "Usage: kestrin [argument ...]\n"
        << "Each argument is a switch after \"+\" (on), \"-\" (off) or \"/\" (toggle or run), optionally\n"
        << "followed by \"=\" and a value. The arguments run in order once the window is shown;\n"
        << "/quit closes the program after them. Switch names ignore case.\n\n"
        << "  --help     show this text and exit\n"
        << "  --version  show the program's name and version and exit\n";
    for (const auto &list : commandLine.Lists()) {
        if (!list)
            continue;
        out << "\n[" << list->objectName() << "]\n";
        for (TCustomAbstractAction *action : list->Actions()) {
            if (action->Switch.isEmpty())
                continue;
            const QString about = !action->Hint().isEmpty()      ? action->Hint()
                                  : !action->Caption().isEmpty() ? action->Caption()
                                                                 : action->ScriptName;
            out << "  " << action->SwitchSyntax().leftJustified(28) << ' ' << about << '\n';
        }
    }
    return text;
}

// The folder of the program file, where the portable preferences live.
QString ProgramFolder()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

void Print(const QString &text)
{
    QTextStream(stdout) << text;
}

// Pictures come and go in blocks of megabytes (8 MB for a 1080p frame). By default the C library
// maps most such blocks afresh and hands freed heap back to the kernel, so every new picture
// faults its pages in one by one: a third of a grab's time. Blocks up to 32 MB come from the heap
// and up to 256 MB of freed heap is kept for the next pictures.
void KeepPictureMemory()
{
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
}

} // namespace

int main(int argc, char *argv[])
{
    if (HasOption(argc, argv, "--version")) {
        Print(ProgramIdentity::Title() + QLatin1Char('\n'));
        return EXIT_SUCCESS;
    }
    if (HasOption(argc, argv, "--help")) {
        // Actions need the GUI side of Qt, though no window opens: the offscreen platform
        // serves with or without a display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        TShowForm form(ProgramFolder());
        Print(HelpText(form.Switch()));
        return EXIT_SUCCESS;
    }

    KeepPictureMemory();
    ChooseHeadlessPlatform();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrin"));
    QApplication::setOrganizationName(ProgramIdentity::Maker());

    // The switch runs the command line at the application's first activation.
    TShowForm form(ProgramFolder());
    form.show();
    return app.exec();
}
