#pragma once

#include "platform/core/Result.h"
#include "platform/registry/RegistryNode.h"

#include <QString>

#include <functional>

// The current user's registry hive, kept in one .reg file. The file is read on first use and
// written back whole, atomically (temporary file in the same folder, fsync, rename), when
// Flush is called: by a key handle closing after changes, by a key deletion or an import, and
// when the store goes away. A burst of writes through one open key thus costs one write.
//
// A file that cannot be read or holds malformed lines is reported once (qWarning and
// LoadError) and whatever could be read is used. It is not lost: the first save after such a
// load first copies it to "<file>.corrupt"; when that copy fails the save is refused.
//
// Not thread-safe: the program uses it on the UI thread only.
class RegistryStore
{
  public:
    // Moves the finished temporary file into place; returns false on failure.
    using RenameFunction = std::function<bool(const QString &from, const QString &to)>;

    explicit RegistryStore(QString filePath);
    ~RegistryStore();
    RegistryStore(const RegistryStore &) = delete;
    RegistryStore &operator=(const RegistryStore &) = delete;

    // The process's store at the per-user default path; saved at exit.
    static RegistryStore &User();
    // "<generic config folder>/Marvo Tessaly/registry.reg".
    static QString DefaultFilePath();

    const QString &FilePath() const { return filePath_; }
    // Saves pending changes to the current file, then starts over, unloaded, at the new one.
    void SetFilePath(const QString &filePath);
    // Replaces the rename step of saving (the default is the system's atomic rename).
    void SetRenameFunction(RenameFunction rename);

    bool IsLoaded() const { return loaded_; }
    // The hive's root key; loads the file on first use. Callers that change the tree call
    // MarkChanged.
    RegistryNode &Root();
    void MarkChanged() { changed_ = true; }
    bool HasUnsavedChanges() const { return changed_; }
    // Writes the file when there are unsaved changes. On failure the previous file is left
    // as it was, the changes stay pending and SaveError tells why.
    HRESULT Flush();

    bool KeyExists(const QString &path);
    // Deletes the key at the path below the hive with all its subkeys and saves.
    // E_FILE_NOT_FOUND when there is no such key, E_INVALIDARG for the hive itself.
    HRESULT DeleteKeyTree(const QString &path);

    // Set when the file was there but could not be read cleanly; empty otherwise.
    const QString &LoadError() const { return loadError_; }
    const QString &SaveError() const { return saveError_; }

  private:
    void Load();
    HRESULT KeepCorruptFile();
    HRESULT WriteAtomically(const QByteArray &bytes);
    HRESULT FailSave(const QString &reason);

    QString filePath_;
    RenameFunction rename_;
    RegistryNode root_;
    bool loaded_ = false;
    bool changed_ = false;
    // The loaded file had problems and has not been copied aside yet.
    bool mustKeepCorruptFile_ = false;
    QString loadError_;
    QString saveError_;
};
