// A plugin library with one filter class, made the way third-party filter libraries are: it
// exports the factory entry point and builds its filter on the host's framework.
#include "platform/graph/ClassFactory.h"
#include "platform/graph/TransInPlaceFilter.h"

namespace
{

// {0D6C3B2A-1F4E-4A5B-8C7D-9E0F1A2B3C4D}
constexpr Guid PluginFilterClass{
    0x0D6C3B2A, 0x1F4E, 0x4A5B, {0x8C, 0x7D, 0x9E, 0x0F, 0x1A, 0x2B, 0x3C, 0x4D}};

// Passes video through and counts it.
class PluginFilter : public TransInPlaceFilter
{
  public:
    PluginFilter() : TransInPlaceFilter(PluginFilterClass, "Plugin Pass-through") {}

  protected:
    HRESULT CheckInputType(const MediaType &type) override
    {
        return type.majortype.Data1 == 0x73646976 ? S_OK : VFW_E_TYPE_NOT_ACCEPTED; // 'vids'
    }
    HRESULT Transform(Sample &) override { return S_OK; }
};

class PluginFactory : public ClassFactory
{
  public:
    HRESULT CreateInstance(std::shared_ptr<Filter> &filter) override
    {
        filter = std::make_shared<PluginFilter>();
        return S_OK;
    }
};

} // namespace

extern "C" __attribute__((visibility("default"))) HRESULT
DllGetClassObject(const Guid *classId, const Guid *interfaceId, void **object)
{
    if (!classId || !interfaceId || !object)
        return E_POINTER;
    *object = nullptr;
    if (*interfaceId != IID_IClassFactory || *classId != PluginFilterClass)
        return CLASS_E_CLASSNOTAVAILABLE;
    *object = new PluginFactory;
    return S_OK;
}
