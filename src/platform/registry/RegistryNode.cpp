#include "platform/registry/RegistryNode.h"

#include <algorithm>

namespace
{

bool SameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

RegistryNode::RegistryNode(QString name) : name_(std::move(name)) {}

std::vector<std::unique_ptr<RegistryNode>>::const_iterator RegistryNode::LowerBound(const QString &name) const
{
    return std::lower_bound(subkeys_.begin(), subkeys_.end(), name,
                            [](const std::unique_ptr<RegistryNode> &node, const QString &key) {
                                return node->name_.compare(key, Qt::CaseInsensitive) < 0;
                            });
}

RegistryNode *RegistryNode::Subkey(const QString &name) const
{
    const auto it = LowerBound(name);
    return it != subkeys_.end() && SameName((*it)->name_, name) ? it->get() : nullptr;
}

RegistryNode &RegistryNode::AddSubkey(const QString &name)
{
    const auto it = LowerBound(name);
    if (it != subkeys_.end() && SameName((*it)->name_, name))
        return **it;
    return **subkeys_.insert(it, std::make_unique<RegistryNode>(name));
}

bool RegistryNode::RemoveSubkey(const QString &name)
{
    const auto it = LowerBound(name);
    if (it == subkeys_.end() || !SameName((*it)->name_, name))
        return false;
    subkeys_.erase(it);
    return true;
}

QStringList RegistryNode::SubkeyNames() const
{
    QStringList names;
    for (const auto &node : subkeys_)
        names << node->name_;
    return names;
}

RegistryNode *RegistryNode::Find(const QStringList &path)
{
    RegistryNode *node = this;
    for (const QString &name : path) {
        node = node->Subkey(name);
        if (!node)
            return nullptr;
    }
    return node;
}

RegistryNode &RegistryNode::FindOrCreate(const QStringList &path)
{
    RegistryNode *node = this;
    for (const QString &name : path)
        node = &node->AddSubkey(name);
    return *node;
}

qsizetype RegistryNode::ValueIndex(const QString &name) const
{
    const auto it = std::find_if(values_.begin(), values_.end(),
                                 [&](const RegistryValue &value) { return SameName(value.name, name); });
    return it == values_.end() ? -1 : it - values_.begin();
}

const RegistryValue *RegistryNode::Value(const QString &name) const
{
    const qsizetype index = ValueIndex(name);
    return index < 0 ? nullptr : &values_[index];
}

void RegistryNode::SetValue(const RegistryValue &value)
{
    const qsizetype index = ValueIndex(value.name);
    if (index < 0) {
        values_.push_back(value);
        return;
    }
    values_[index].type = value.type;
    values_[index].data = value.data;
}

bool RegistryNode::RemoveValue(const QString &name)
{
    const qsizetype index = ValueIndex(name);
    if (index < 0)
        return false;
    values_.erase(values_.begin() + index);
    return true;
}

QStringList RegistryNode::ValueNames() const
{
    QStringList names;
    for (const RegistryValue &value : values_)
        names << value.name;
    return names;
}

void RegistryNode::Clear()
{
    values_.clear();
    subkeys_.clear();
}
