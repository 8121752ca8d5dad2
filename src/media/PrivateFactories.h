#pragma once

#include "platform/graph/PrivateFactory.h"

#include <QString>
#include <memory>
#include <vector>

// The class factories taken from the private decoder libraries, in registration order. One
// process-wide list; UI thread only.
class TPrivateFactories
{
  public:
    // Loads `libraryPath` for `classId` and appends the factory, whether loading succeeded or not.
    void Add(const Guid &classId, const QString &libraryPath);
    // The last factory with `classId`, or nullptr.
    PrivateFactory *Find(const Guid &classId) const;

  private:
    std::vector<std::unique_ptr<PrivateFactory>> factories_;
};

TPrivateFactories &PrivateFactories();
