#pragma once

#include "platform/core/Result.h"
#include "platform/registry/RegFileReader.h"
#include "platform/registry/RegistryStore.h"

#include <QString>
#include <QStringList>

// The two operations of the system's registry tool the program runs, done in process on a
// registry store: "import FILE" and "delete KEY /F". Run answers with the tool's exit code
// (0 done, 1 failed) and reports failures with qWarning, as the tool prints them.
// Use on the thread that uses the store.
class RegTool
{
  public:
    explicit RegTool(RegistryStore &store) : store_(store) {}

    int Run(const QStringList &arguments);
    // The arguments as one parameter text, split as a command line (double quotes group).
    int RunCommandLine(const QString &parameters);

    // Imports a .reg file into the store and saves it; issues (when given) receives the
    // skipped lines. E_FILE_NOT_FOUND for a missing file, E_INVALIDARG when it is no .reg file.
    HRESULT Import(const QString &filePath, QList<RegFileIssue> *issues = nullptr);
    // Deletes a key of the current user's hive ("HKCU\..." or "HKEY_CURRENT_USER\...") with
    // its subkeys. E_INVALIDARG for other hives and for the hive itself.
    HRESULT Delete(const QString &fullKeyPath);

  private:
    int RunImport(const QStringList &arguments);
    int RunDelete(const QStringList &arguments);
    static int Fail(const QString &message);

    RegistryStore &store_;
};
