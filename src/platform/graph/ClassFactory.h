#pragma once

#include "platform/core/Guid.h"
#include "platform/core/Result.h"

#include <memory>

class Filter;

// Creates filters of one class. Plugin libraries hand one out from their exported entry point.
class ClassFactory
{
  public:
    virtual ~ClassFactory() = default;
    virtual HRESULT CreateInstance(std::shared_ptr<Filter> &filter) = 0;
};

// {00000001-0000-0000-C000-000000000046}: the interface id asked of the entry point.
inline constexpr Guid IID_IClassFactory{
    0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// The C entry point a plugin library exports under the name "DllGetClassObject". On success it
// stores a new ClassFactory (owned by the caller, freed with delete before the library is
// unloaded) in *object; CLASS_E_CLASSNOTAVAILABLE for a class it does not make.
using DllGetClassObjectFunction = HRESULT (*)(const Guid *classId, const Guid *interfaceId, void **object);
