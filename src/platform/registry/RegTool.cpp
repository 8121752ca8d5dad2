#include "platform/registry/RegTool.h"

#include "platform/registry/RegistryPath.h"

#include <QFile>
#include <QProcess>

int RegTool::Run(const QStringList &arguments)
{
    const QString operation = arguments.value(0).toLower();
    if (operation == QLatin1String("import"))
        return RunImport(arguments);
    if (operation == QLatin1String("delete"))
        return RunDelete(arguments);
    return Fail(QStringLiteral("ERROR: Invalid syntax."));
}

int RegTool::RunCommandLine(const QString &parameters)
{
    return Run(QProcess::splitCommand(parameters));
}

int RegTool::Fail(const QString &message)
{
    qWarning("reg: %s", qUtf8Printable(message));
    return 1;
}

int RegTool::RunImport(const QStringList &arguments)
{
    if (arguments.size() != 2)
        return Fail(QStringLiteral("ERROR: Invalid syntax."));
    QList<RegFileIssue> issues;
    const HRESULT hr = Import(arguments.at(1), &issues);
    for (const RegFileIssue &issue : issues)
        qWarning("reg: %s, line %d: %s", qUtf8Printable(arguments.at(1)), issue.line,
                 qUtf8Printable(issue.message));
    if (FAILED(hr))
        return Fail(QStringLiteral("ERROR: Error accessing the registry: %1")
                        .arg(QString::fromStdString(ResultText(hr))));
    return 0;
}

int RegTool::RunDelete(const QStringList &arguments)
{
    // Without /F the tool would ask for a confirmation nobody can give here.
    const bool forced =
        arguments.size() == 3 && arguments.at(2).compare(QLatin1String("/F"), Qt::CaseInsensitive) == 0;
    if (!forced)
        return Fail(QStringLiteral("ERROR: Invalid syntax: delete KEY /F expected."));
    const HRESULT hr = Delete(arguments.at(1));
    if (hr == E_FILE_NOT_FOUND)
        return Fail(
            QStringLiteral("ERROR: The system was unable to find the specified registry key or value."));
    if (FAILED(hr))
        return Fail(QStringLiteral("ERROR: %1").arg(QString::fromStdString(ResultText(hr))));
    return 0;
}

HRESULT RegTool::Import(const QString &filePath, QList<RegFileIssue> *issues)
{
    QFile file(filePath);
    if (!file.exists())
        return E_FILE_NOT_FOUND;
    if (!file.open(QIODevice::ReadOnly))
        return E_ACCESSDENIED;
    RegFileReader reader(store_.Root());
    const bool applied = reader.Apply(file.readAll());
    if (issues)
        *issues = reader.Issues();
    if (!applied)
        return E_INVALIDARG;
    store_.MarkChanged();
    return store_.Flush();
}

HRESULT RegTool::Delete(const QString &fullKeyPath)
{
    const std::optional<QString> below = RegistryPath::BelowCurrentUser(fullKeyPath);
    if (!below)
        return E_INVALIDARG;
    return store_.DeleteKeyTree(*below);
}
