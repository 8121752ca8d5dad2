#pragma once

#include "PreferencesMan.h"
#include "platform/registry/RegistryKey.h"

class RegistryStore;

// The normal backend: a key of the per-user registry store (e.g. "Software\Marvo Tessaly\Kestrin").
// Strings are REG_SZ, Booleans and integers REG_DWORD, floating numbers 8-byte REG_BINARY doubles.
class TRegPreferencesMan final : public TPreferencesMan
{
  public:
    // Opens `basePath`, creating it when needed.
    TRegPreferencesMan(RegistryStore &store, const QString &basePath);
    ~TRegPreferencesMan() override;

    bool GetValueNames(QStringList &list) override;
    bool GetKeyNames(QStringList &list) override;
    bool OpenKey(const QString &name, bool create) override;
    bool CloseKey() override;
    bool WriteString(const QString &name, const QString &text) override;
    bool ReadString(const QString &name, QString &text) override;
    bool DeleteValue(const QString &name) override;
    bool WriteBool(const QString &name, bool b) override;
    bool ReadBool(const QString &name, bool &b) override;
    bool WriteInteger(const QString &name, int n) override;
    bool ReadInteger(const QString &name, int &n) override;
    bool WriteFloat(const QString &name, double x) override;
    bool ReadFloat(const QString &name, double &x) override;

  private:
    QString FullPath(const QString &path) const;
    bool OpenPath(const QString &path, KeyOpening opening);

    RegistryStore &store_;
    QString basePath_;
    RegistryKey key_;
};
