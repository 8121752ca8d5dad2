#include <QApplication>
#include <QMainWindow>
#include <QTimer>

#include <cstdlib>

namespace {

// Without a display the program runs on Qt's offscreen platform, so command-line jobs work on
// a server. The toolkit's own variables decide when they are set.
void ChooseHeadlessPlatform()
{
    const bool hasDisplay = std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
    if (!hasDisplay && !std::getenv("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

bool AskedToQuit(const QStringList &arguments)
{
    for (const QString &a : arguments.mid(1))
        if (a.compare(QLatin1String("/quit"), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    ChooseHeadlessPlatform();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrin"));
    QApplication::setOrganizationName(QStringLiteral("Marvo Tessaly"));

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Kestrin"));
    window.resize(960, 640);
    window.show();
    if (AskedToQuit(QApplication::arguments()))
        QTimer::singleShot(0, &window, &QWidget::close);
    return app.exec();
}
