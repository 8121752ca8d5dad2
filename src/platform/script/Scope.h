#pragma once

#include "Symbol.h"

#include <QHash>

#include <memory>
#include <vector>

namespace Script
{

// A level of names: the standard routines and types, the host's declarations, the script's
// globals, a routine's parameters and locals, an exception handler's variable. Look-ups fall back
// to the enclosing scope; keys are case-folded names.
class Scope
{
  public:
    explicit Scope(Scope *parent = nullptr) : parent_(parent) {}
    Scope(const Scope &) = delete;
    Scope &operator=(const Scope &) = delete;

    Symbol *Find(const QString &key) const;
    Symbol *FindHere(const QString &key) const { return index_.value(key); }

    // Adds a symbol under `key`, which must be new in this scope.
    Symbol &Add(const QString &key, Symbol symbol);

    // The symbols of this scope in the order they were added.
    const std::vector<std::unique_ptr<Symbol>> &Symbols() const { return symbols_; }

  private:
    Scope *parent_;
    QHash<QString, Symbol *> index_;
    std::vector<std::unique_ptr<Symbol>> symbols_;
};

} // namespace Script
