#pragma once

#include "platform/registry/RegistryValue.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// One key of the registry tree: its values in the order they were first written, and its
// subkeys sorted by name. Names are found without regard to case and keep the case they were
// created with. The node owns its subkeys. Not thread-safe: its store says who may call.
class RegistryNode
{
  public:
    explicit RegistryNode(QString name = QString());
    RegistryNode(const RegistryNode &) = delete;
    RegistryNode &operator=(const RegistryNode &) = delete;

    const QString &Name() const { return name_; }

    RegistryNode *Subkey(const QString &name) const;
    // The subkey of that name, created when missing.
    RegistryNode &AddSubkey(const QString &name);
    bool RemoveSubkey(const QString &name);
    const std::vector<std::unique_ptr<RegistryNode>> &Subkeys() const { return subkeys_; }
    QStringList SubkeyNames() const;

    // The key at the path of names below this one, or nullptr; the empty path is this key.
    RegistryNode *Find(const QStringList &path);
    // The key at the path, creating every missing key on the way.
    RegistryNode &FindOrCreate(const QStringList &path);

    const RegistryValue *Value(const QString &name) const;
    // Stores the value; a value of the same name is replaced and keeps its name's case.
    void SetValue(const RegistryValue &value);
    bool RemoveValue(const QString &name);
    const std::vector<RegistryValue> &Values() const { return values_; }
    QStringList ValueNames() const;

    void Clear();

  private:
    qsizetype ValueIndex(const QString &name) const;
    std::vector<std::unique_ptr<RegistryNode>>::const_iterator LowerBound(const QString &name) const;

    QString name_;
    std::vector<RegistryValue> values_;
    std::vector<std::unique_ptr<RegistryNode>> subkeys_;
};
