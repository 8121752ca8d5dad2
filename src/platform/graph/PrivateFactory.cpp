#include "PrivateFactory.h"

#include <dlfcn.h>

// A loaded library, unloaded when the last factory or filter made from it goes.
struct PrivateFactory::Library {
    void *handle;
    explicit Library(void *h) : handle(h) {}
    ~Library() { dlclose(handle); }
};

PrivateFactory::PrivateFactory(const Guid &classId) : classId_(classId) {}

PrivateFactory::~PrivateFactory() = default;

std::unique_ptr<PrivateFactory> PrivateFactory::Load(const std::string &libraryPath, const Guid &classId)
{
    std::unique_ptr<PrivateFactory> factory(new PrivateFactory(classId));
    void *handle = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return factory;
    factory->library_ = std::make_shared<Library>(handle);
    auto entry = reinterpret_cast<DllGetClassObjectFunction>(dlsym(handle, "DllGetClassObject"));
    if (!entry)
        return factory;
    void *object = nullptr;
    if (SUCCEEDED(entry(&classId, &IID_IClassFactory, &object)) && object)
        factory->factory_.reset(static_cast<ClassFactory *>(object));
    return factory;
}

HRESULT PrivateFactory::CreateInstance(std::shared_ptr<Filter> &filter)
{
    if (!factory_)
        return E_FAIL;
    std::shared_ptr<Filter> made;
    const HRESULT hr = factory_->CreateInstance(made);
    if (FAILED(hr) || !made)
        return FAILED(hr) ? hr : E_FAIL;
    // The filter's code lives in the library: the filter keeps the library loaded.
    filter =
        std::shared_ptr<Filter>(made.get(), [made, library = library_](Filter *) mutable { made.reset(); });
    return S_OK;
}
