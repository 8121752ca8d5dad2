#include "platform/registry/RegistryKey.h"

#include "platform/registry/RegistryPath.h"

#include <algorithm>
#include <utility>

namespace
{

// A line break would split the name's line in the store's file.
bool IsValidName(const QString &name)
{
    return !name.contains(QLatin1Char('\r')) && !name.contains(QLatin1Char('\n'));
}

} // namespace

RegistryKey::~RegistryKey()
{
    Close();
}

RegistryKey::RegistryKey(RegistryKey &&other) noexcept
    : store_(std::exchange(other.store_, nullptr)), path_(std::move(other.path_)),
      changed_(std::exchange(other.changed_, false))
{
}

RegistryKey &RegistryKey::operator=(RegistryKey &&other) noexcept
{
    if (this != &other) {
        Close();
        store_ = std::exchange(other.store_, nullptr);
        path_ = std::move(other.path_);
        changed_ = std::exchange(other.changed_, false);
    }
    return *this;
}

HRESULT RegistryKey::Open(RegistryStore &store, const QString &path, KeyOpening opening)
{
    const QStringList names = RegistryPath::Split(path);
    if (!std::all_of(names.begin(), names.end(), IsValidName))
        return E_INVALIDARG;
    bool created = false;
    if (!store.Root().Find(names)) {
        if (opening == KeyOpening::ExistingOnly)
            return E_FILE_NOT_FOUND;
        store.Root().FindOrCreate(names);
        store.MarkChanged();
        created = true;
    }
    Close();
    store_ = &store;
    path_ = names;
    changed_ = created;
    return S_OK;
}

HRESULT RegistryKey::Close()
{
    RegistryStore *store = std::exchange(store_, nullptr);
    const bool changed = std::exchange(changed_, false);
    path_.clear();
    return store && changed ? store->Flush() : S_OK;
}

RegistryNode *RegistryKey::Node() const
{
    return store_ ? store_->Root().Find(path_) : nullptr;
}

QStringList RegistryKey::ValueNames() const
{
    const RegistryNode *node = Node();
    return node ? node->ValueNames() : QStringList();
}

QStringList RegistryKey::SubkeyNames() const
{
    const RegistryNode *node = Node();
    return node ? node->SubkeyNames() : QStringList();
}

bool RegistryKey::HasSubkeys() const
{
    const RegistryNode *node = Node();
    return node && !node->Subkeys().empty();
}

bool RegistryKey::ValueExists(const QString &name) const
{
    return ReadValue(name).has_value();
}

bool RegistryKey::QueryValue(const QString &name, RegistryValueType &type, qsizetype &sizeBytes) const
{
    const std::optional<RegistryValue> value = ReadValue(name);
    if (!value)
        return false;
    type = value->type;
    sizeBytes = value->data.size();
    return true;
}

std::optional<RegistryValue> RegistryKey::ReadValue(const QString &name) const
{
    const RegistryNode *node = Node();
    const RegistryValue *value = node ? node->Value(name) : nullptr;
    return value ? std::optional<RegistryValue>(*value) : std::nullopt;
}

std::optional<QString> RegistryKey::ReadString(const QString &name) const
{
    const std::optional<RegistryValue> value = ReadValue(name);
    return value ? value->ToString() : std::nullopt;
}

std::optional<QStringList> RegistryKey::ReadMultiString(const QString &name) const
{
    const std::optional<RegistryValue> value = ReadValue(name);
    return value ? value->ToMultiString() : std::nullopt;
}

std::optional<uint32_t> RegistryKey::ReadDword(const QString &name) const
{
    const std::optional<RegistryValue> value = ReadValue(name);
    return value ? value->ToDword() : std::nullopt;
}

std::optional<uint64_t> RegistryKey::ReadQword(const QString &name) const
{
    const std::optional<RegistryValue> value = ReadValue(name);
    return value ? value->ToQword() : std::nullopt;
}

std::optional<QByteArray> RegistryKey::ReadBinary(const QString &name) const
{
    const std::optional<RegistryValue> value = ReadValue(name);
    if (!value || value->type != RegistryValueType::Binary)
        return std::nullopt;
    return value->data;
}

HRESULT RegistryKey::WriteValue(const RegistryValue &value)
{
    if (!IsValidName(value.name))
        return E_INVALIDARG;
    RegistryNode *node = Node();
    if (!node)
        return E_FILE_NOT_FOUND;
    node->SetValue(value);
    store_->MarkChanged();
    changed_ = true;
    return S_OK;
}

HRESULT RegistryKey::WriteString(const QString &name, const QString &text)
{
    return WriteValue(RegistryValue::FromString(name, text));
}

HRESULT RegistryKey::WriteDword(const QString &name, uint32_t number)
{
    return WriteValue(RegistryValue::FromDword(name, number));
}

HRESULT RegistryKey::WriteQword(const QString &name, uint64_t number)
{
    return WriteValue(RegistryValue::FromQword(name, number));
}

HRESULT RegistryKey::WriteBinary(const QString &name, const QByteArray &bytes)
{
    return WriteValue(RegistryValue::FromBinary(name, bytes));
}

HRESULT RegistryKey::DeleteValue(const QString &name)
{
    RegistryNode *node = Node();
    if (!node || !node->RemoveValue(name))
        return E_FILE_NOT_FOUND;
    store_->MarkChanged();
    changed_ = true;
    return S_OK;
}
