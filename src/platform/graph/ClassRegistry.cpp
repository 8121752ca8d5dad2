#include "ClassRegistry.h"

#include <algorithm>

ClassRegistry &ClassRegistry::Default()
{
    static ClassRegistry *registry = [] {
        auto *made = new ClassRegistry; // lives to the end of the process, like the system's store
        RegisterBuiltInFilters(*made);
        return made;
    }();
    return *registry;
}

void ClassRegistry::Register(FilterClass filterClass)
{
    std::lock_guard lock(mutex_);
    classes_.push_back(std::move(filterClass));
}

const FilterClass *ClassRegistry::Find(const Guid &classId) const
{
    std::lock_guard lock(mutex_);
    for (auto it = classes_.rbegin(); it != classes_.rend(); ++it)
        if (it->classId == classId)
            return &*it;
    return nullptr;
}

const FilterClass *ClassRegistry::FindByName(std::string_view name) const
{
    std::lock_guard lock(mutex_);
    for (auto it = classes_.rbegin(); it != classes_.rend(); ++it)
        if (it->name == name)
            return &*it;
    return nullptr;
}

std::vector<const FilterClass *>
ClassRegistry::Sorted(const std::function<bool(const FilterClass &)> &keep) const
{
    std::vector<const FilterClass *> found;
    {
        std::lock_guard lock(mutex_);
        std::vector<Guid> seen; // a class id met once hides its older registrations
        for (auto it = classes_.rbegin(); it != classes_.rend(); ++it) {
            if (std::find(seen.begin(), seen.end(), it->classId) != seen.end())
                continue;
            seen.push_back(it->classId);
            if (keep(*it))
                found.push_back(&*it);
        }
    }
    // Newest registrations were met first; equal merits keep registration order.
    std::reverse(found.begin(), found.end());
    std::stable_sort(found.begin(), found.end(),
                     [](const FilterClass *a, const FilterClass *b) { return a->merit > b->merit; });
    return found;
}

std::vector<const FilterClass *> ClassRegistry::Classes(const Guid &category, uint32_t minMerit) const
{
    return Sorted([&](const FilterClass &c) { return c.category == category && c.merit >= minMerit; });
}

std::vector<const FilterClass *> ClassRegistry::ClassesTaking(const MediaType &type) const
{
    return Sorted([&](const FilterClass &c) {
        if (c.merit <= MERIT_DO_NOT_USE)
            return false;
        return std::any_of(c.inputs.begin(), c.inputs.end(), [&](const PinTypeRec &in) {
            return (in.majortype.IsNull() || in.majortype == type.majortype) &&
                   (in.subtype.IsNull() || in.subtype == type.subtype);
        });
    });
}

HRESULT ClassRegistry::CreateInstance(const Guid &classId, std::shared_ptr<Filter> &filter) const
{
    const FilterClass *filterClass = Find(classId);
    if (!filterClass || !filterClass->create)
        return REGDB_E_CLASSNOTREG;
    filter = filterClass->create();
    return filter ? S_OK : E_FAIL;
}
