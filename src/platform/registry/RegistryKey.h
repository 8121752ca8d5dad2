#pragma once

#include "platform/core/Result.h"
#include "platform/registry/RegistryStore.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

enum class KeyOpening { ExistingOnly, CreateIfMissing };

// An open key of a registry store, by its path below the current user's hive. The key is
// looked up again on every call, so a handle whose key was deleted meanwhile simply finds
// nothing (reads give nothing, writes E_FILE_NOT_FOUND). Changes made through the handle are
// saved when it is closed or destroyed. Names of keys and values are matched without regard
// to case. Use on the thread that uses its store.
class RegistryKey
{
  public:
    RegistryKey() = default;
    ~RegistryKey();
    RegistryKey(RegistryKey &&other) noexcept;
    RegistryKey &operator=(RegistryKey &&other) noexcept;

    // Opens (or creates) the key at a path like "Software\Marvo Tessaly\Kestrin"; closes the
    // key held before. E_FILE_NOT_FOUND when it is missing and may not be created,
    // E_INVALIDARG for names holding line breaks (so do value writes).
    HRESULT Open(RegistryStore &store, const QString &path, KeyOpening opening);
    // Saves the store when anything was changed through this handle; the result is that save's.
    HRESULT Close();

    bool IsOpen() const { return store_ != nullptr; }
    bool Exists() const { return Node() != nullptr; }
    QString Path() const { return path_.join(QLatin1Char('\\')); }

    QStringList ValueNames() const;
    QStringList SubkeyNames() const;
    bool HasSubkeys() const;
    bool ValueExists(const QString &name) const;
    // The type and size in bytes of a value; false when it does not exist.
    bool QueryValue(const QString &name, RegistryValueType &type, qsizetype &sizeBytes) const;

    std::optional<RegistryValue> ReadValue(const QString &name) const;
    // REG_SZ or REG_EXPAND_SZ text without its terminating zero.
    std::optional<QString> ReadString(const QString &name) const;
    std::optional<QStringList> ReadMultiString(const QString &name) const;
    std::optional<uint32_t> ReadDword(const QString &name) const;
    std::optional<uint64_t> ReadQword(const QString &name) const;
    // The bytes of a REG_BINARY value.
    std::optional<QByteArray> ReadBinary(const QString &name) const;

    HRESULT WriteValue(const RegistryValue &value);
    HRESULT WriteString(const QString &name, const QString &text);
    HRESULT WriteDword(const QString &name, uint32_t number);
    HRESULT WriteQword(const QString &name, uint64_t number);
    HRESULT WriteBinary(const QString &name, const QByteArray &bytes);
    HRESULT DeleteValue(const QString &name);

  private:
    RegistryNode *Node() const;

    RegistryStore *store_ = nullptr;
    QStringList path_;
    bool changed_ = false;
};
