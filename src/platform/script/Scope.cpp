#include "Scope.h"

namespace Script
{

Symbol *Scope::Find(const QString &key) const
{
    for (const Scope *scope = this; scope; scope = scope->parent_)
        if (Symbol *symbol = scope->FindHere(key))
            return symbol;
    return nullptr;
}

Symbol &Scope::Add(const QString &key, Symbol symbol)
{
    symbols_.push_back(std::make_unique<Symbol>(std::move(symbol)));
    index_.insert(key, symbols_.back().get());
    return *symbols_.back();
}

} // namespace Script
