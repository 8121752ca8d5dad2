#include "platform/registry/RegistryStore.h"

#include "platform/registry/RegFileReader.h"
#include "platform/registry/RegFileWriter.h"
#include "platform/registry/RegistryPath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace
{

bool SystemRename(const QString &from, const QString &to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// Makes a finished rename durable: the folder's entry is flushed too.
void SyncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

RegistryStore::RegistryStore(QString filePath) : filePath_(std::move(filePath)), rename_(SystemRename) {}

RegistryStore::~RegistryStore()
{
    Flush();
}

RegistryStore &RegistryStore::User()
{
    static RegistryStore store(DefaultFilePath());
    return store;
}

QString RegistryStore::DefaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Marvo Tessaly/registry.reg");
}

void RegistryStore::SetFilePath(const QString &filePath)
{
    Flush();
    filePath_ = filePath;
    root_.Clear();
    loaded_ = false;
    changed_ = false;
    mustKeepCorruptFile_ = false;
    loadError_.clear();
    saveError_.clear();
}

void RegistryStore::SetRenameFunction(RenameFunction rename)
{
    rename_ = rename ? std::move(rename) : SystemRename;
}

RegistryNode &RegistryStore::Root()
{
    if (!loaded_)
        Load();
    return root_;
}

void RegistryStore::Load()
{
    loaded_ = true;
    QFile file(filePath_);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        loadError_ = QStringLiteral("cannot read %1: %2").arg(filePath_, file.errorString());
    } else {
        RegFileReader reader(root_);
        reader.Apply(file.readAll());
        if (!reader.Issues().isEmpty()) {
            const RegFileIssue &first = reader.Issues().first();
            loadError_ = QStringLiteral("%1, line %2: %3").arg(filePath_).arg(first.line).arg(first.message);
            if (reader.Issues().size() > 1)
                loadError_ += QStringLiteral(" (and %1 more lines skipped)").arg(reader.Issues().size() - 1);
        }
    }
    if (!loadError_.isEmpty()) {
        mustKeepCorruptFile_ = true;
        qWarning("registry store: %s", qUtf8Printable(loadError_));
    }
}

HRESULT RegistryStore::Flush()
{
    // Without a load nothing can have changed; writing would replace the file by an empty tree.
    if (!changed_ || !loaded_)
        return S_OK;
    if (mustKeepCorruptFile_) {
        const HRESULT hr = KeepCorruptFile();
        if (FAILED(hr))
            return hr;
    }
    const HRESULT hr = WriteAtomically(RegFileWriter::Write(root_));
    if (SUCCEEDED(hr)) {
        changed_ = false;
        saveError_.clear();
    }
    return hr;
}

HRESULT RegistryStore::KeepCorruptFile()
{
    const QString backup = filePath_ + QStringLiteral(".corrupt");
    QFile::remove(backup);
    if (!QFile::copy(filePath_, backup))
        return FailSave(QStringLiteral("cannot keep the unreadable file as %1").arg(backup));
    mustKeepCorruptFile_ = false;
    return S_OK;
}

HRESULT RegistryStore::WriteAtomically(const QByteArray &bytes)
{
    const QString folder = QFileInfo(filePath_).absolutePath();
    if (!QDir().mkpath(folder))
        return FailSave(QStringLiteral("cannot create the folder %1").arg(folder));
    QTemporaryFile temporary(filePath_ + QStringLiteral(".XXXXXX"));
    if (!temporary.open())
        return FailSave(QStringLiteral("cannot create a temporary file: %1").arg(temporary.errorString()));
    if (temporary.write(bytes) != bytes.size() || !temporary.flush() || ::fsync(temporary.handle()) != 0)
        return FailSave(
            QStringLiteral("cannot write %1: %2").arg(temporary.fileName(), temporary.errorString()));
    temporary.close();
    if (!rename_(temporary.fileName(), filePath_))
        return FailSave(QStringLiteral("cannot replace %1").arg(filePath_));
    temporary.setAutoRemove(false);
    SyncFolder(folder);
    return S_OK;
}

HRESULT RegistryStore::FailSave(const QString &reason)
{
    saveError_ = reason;
    qWarning("registry store: %s", qUtf8Printable(reason));
    return E_FAIL;
}

bool RegistryStore::KeyExists(const QString &path)
{
    return Root().Find(RegistryPath::Split(path)) != nullptr;
}

HRESULT RegistryStore::DeleteKeyTree(const QString &path)
{
    const QStringList names = RegistryPath::Split(path);
    if (names.isEmpty())
        return E_INVALIDARG;
    RegistryNode *parent = Root().Find(names.mid(0, names.size() - 1));
    if (!parent || !parent->RemoveSubkey(names.last()))
        return E_FILE_NOT_FOUND;
    MarkChanged();
    return Flush();
}
