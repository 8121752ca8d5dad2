#pragma once

#include <QString>
#include <QStringList>

// Where the preferences are kept: the per-user registry store, an INI file beside the program,
// or nowhere.
enum TSavePreferences { spRegistre = 0, spPortable = 1, spNone = 2 };

// A preferences backend: a tree of keys holding named typed values, walked with a current key
// (path of names joined by "\", empty for the root). Every operation returns true on success; a
// failed read leaves its variable unchanged. UI thread only.
class TPreferencesMan
{
  public:
    virtual ~TPreferencesMan() = default;

    virtual bool GetValueNames(QStringList &list) = 0;
    virtual bool GetKeyNames(QStringList &list) = 0;
    virtual bool OpenKey(const QString &name, bool create) = 0;
    virtual bool CloseKey() = 0;
    virtual bool WriteString(const QString &name, const QString &text) = 0;
    virtual bool ReadString(const QString &name, QString &text) = 0;
    virtual bool DeleteValue(const QString &name) = 0;
    virtual bool WriteBool(const QString &name, bool b) = 0;
    virtual bool ReadBool(const QString &name, bool &b) = 0;
    virtual bool WriteInteger(const QString &name, int n) = 0;
    virtual bool ReadInteger(const QString &name, int &n) = 0;
    virtual bool WriteFloat(const QString &name, double x) = 0;
    virtual bool ReadFloat(const QString &name, double &x) = 0;

    const QString &CurrentPath() const { return currentPath_; }

  protected:
    // The path of subkey `name` below the current key.
    QString ChildPath(const QString &name) const
    {
        return currentPath_.isEmpty() ? name : currentPath_ + QLatin1Char('\\') + name;
    }
    // The path of the current key's parent (the root for a top-level key).
    QString ParentPath() const
    {
        const qsizetype cut = currentPath_.lastIndexOf(QLatin1Char('\\'));
        return cut < 0 ? QString() : currentPath_.left(cut);
    }

    QString currentPath_;
};

// The backend of the mode that stores nothing: every operation fails and changes nothing.
class TNonePreferencesMan final : public TPreferencesMan
{
  public:
    bool GetValueNames(QStringList &) override { return false; }
    bool GetKeyNames(QStringList &) override { return false; }
    bool OpenKey(const QString &, bool) override { return false; }
    bool CloseKey() override { return false; }
    bool WriteString(const QString &, const QString &) override { return false; }
    bool ReadString(const QString &, QString &) override { return false; }
    bool DeleteValue(const QString &) override { return false; }
    bool WriteBool(const QString &, bool) override { return false; }
    bool ReadBool(const QString &, bool &) override { return false; }
    bool WriteInteger(const QString &, int) override { return false; }
    bool ReadInteger(const QString &, int &) override { return false; }
    bool WriteFloat(const QString &, double) override { return false; }
    bool ReadFloat(const QString &, double &) override { return false; }
};
