#pragma once

#include "ClassFactory.h"
#include "Filter.h"

#include <memory>
#include <string>

// A class factory taken from a plugin library: the library at a path is loaded, its exported
// "DllGetClassObject" is asked for a factory of one class id, and filters are created from it.
// The library stays loaded while the factory or any filter created from it lives. UI thread.
class PrivateFactory
{
  public:
    // Loads `libraryPath` and asks it for `classId`. Never null: a library that cannot be loaded
    // or has no factory for the class gives a PrivateFactory without one (HasFactory() false).
    static std::unique_ptr<PrivateFactory> Load(const std::string &libraryPath, const Guid &classId);
    ~PrivateFactory();

    const Guid &ClassId() const { return classId_; }
    bool HasLibrary() const { return library_ != nullptr; }
    bool HasFactory() const { return factory_ != nullptr; }
    // E_FAIL without a factory; else the factory's answer.
    HRESULT CreateInstance(std::shared_ptr<Filter> &filter);

  private:
    struct Library;
    explicit PrivateFactory(const Guid &classId);

    Guid classId_;
    std::shared_ptr<Library> library_;
    std::unique_ptr<ClassFactory> factory_;
};
