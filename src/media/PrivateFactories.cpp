#include "PrivateFactories.h"

void TPrivateFactories::Add(const Guid &classId, const QString &libraryPath)
{
    factories_.push_back(PrivateFactory::Load(libraryPath.toStdString(), classId));
}

PrivateFactory *TPrivateFactories::Find(const Guid &classId) const
{
    for (auto it = factories_.rbegin(); it != factories_.rend(); ++it)
        if ((*it)->ClassId() == classId)
            return it->get();
    return nullptr;
}

TPrivateFactories &PrivateFactories()
{
    static TPrivateFactories factories;
    return factories;
}
