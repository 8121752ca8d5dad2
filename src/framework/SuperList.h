#pragma once

#include "ActionEx.h"

#include <memory>
#include <vector>

// The pending command-line entries, in order; the list owns them.
class TSuperList
{
  public:
    void Add(TCustomAbstractAction *action, TSwitchMode mode, const QString &value)
    {
        entries_.push_back(std::make_unique<TActionEx>(action, mode, value));
    }
    void Clear() { entries_.clear(); }
    bool IsEmpty() const { return entries_.empty(); }
    size_t Count() const { return entries_.size(); }
    const TActionEx &At(size_t index) const { return *entries_.at(index); }

  private:
    std::vector<std::unique_ptr<TActionEx>> entries_;
};
