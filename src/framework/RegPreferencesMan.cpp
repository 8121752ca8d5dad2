#include "RegPreferencesMan.h"

#include "platform/registry/RegistryStore.h"

#include <cstring>

TRegPreferencesMan::TRegPreferencesMan(RegistryStore &store, const QString &basePath)
    : store_(store), basePath_(basePath)
{
    OpenPath(QString(), KeyOpening::CreateIfMissing);
}

TRegPreferencesMan::~TRegPreferencesMan() = default;

QString TRegPreferencesMan::FullPath(const QString &path) const
{
    return path.isEmpty() ? basePath_ : basePath_ + QLatin1Char('\\') + path;
}

bool TRegPreferencesMan::OpenPath(const QString &path, KeyOpening opening)
{
    RegistryKey key;
    if (FAILED(key.Open(store_, FullPath(path), opening)))
        return false;
    key_ = std::move(key); // closes (and saves) the previous key
    currentPath_ = path;
    return true;
}

bool TRegPreferencesMan::GetValueNames(QStringList &list)
{
    if (!key_.Exists())
        return false;
    list.append(key_.ValueNames());
    return true;
}

bool TRegPreferencesMan::GetKeyNames(QStringList &list)
{
    if (!key_.Exists())
        return false;
    list.append(key_.SubkeyNames());
    return true;
}

bool TRegPreferencesMan::OpenKey(const QString &name, bool create)
{
    return OpenPath(ChildPath(name), create ? KeyOpening::CreateIfMissing : KeyOpening::ExistingOnly);
}

bool TRegPreferencesMan::CloseKey()
{
    return OpenPath(ParentPath(), KeyOpening::ExistingOnly);
}

bool TRegPreferencesMan::WriteString(const QString &name, const QString &text)
{
    return SUCCEEDED(key_.WriteString(name, text));
}

bool TRegPreferencesMan::ReadString(const QString &name, QString &text)
{
    const auto value = key_.ReadString(name);
    if (!value)
        return false;
    text = *value;
    return true;
}

bool TRegPreferencesMan::DeleteValue(const QString &name)
{
    return SUCCEEDED(key_.DeleteValue(name));
}

bool TRegPreferencesMan::WriteBool(const QString &name, bool b)
{
    return SUCCEEDED(key_.WriteDword(name, b ? 1 : 0));
}

bool TRegPreferencesMan::ReadBool(const QString &name, bool &b)
{
    const auto value = key_.ReadDword(name);
    if (!value)
        return false;
    if (*value <= 1) // another number leaves the variable as it was
        b = *value == 1;
    return true;
}

bool TRegPreferencesMan::WriteInteger(const QString &name, int n)
{
    return SUCCEEDED(key_.WriteDword(name, uint32_t(n)));
}

bool TRegPreferencesMan::ReadInteger(const QString &name, int &n)
{
    const auto value = key_.ReadDword(name);
    if (!value)
        return false;
    n = int(*value);
    return true;
}

bool TRegPreferencesMan::WriteFloat(const QString &name, double x)
{
    QByteArray bytes(sizeof x, '\0');
    std::memcpy(bytes.data(), &x, sizeof x); // little-endian host
    return SUCCEEDED(key_.WriteBinary(name, bytes));
}

bool TRegPreferencesMan::ReadFloat(const QString &name, double &x)
{
    const auto bytes = key_.ReadBinary(name);
    if (!bytes || bytes->size() != qsizetype(sizeof x))
        return false;
    std::memcpy(&x, bytes->constData(), sizeof x);
    return true;
}
