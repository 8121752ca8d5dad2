#include "ClassRegistry.h"
#include "DecoderClasses.h"
#include "LavSplitterSource.h"
#include "MediaGuids.h"
#include "NullAudioRenderer.h"
#include "NullVideoRenderer.h"

void RegisterBuiltInFilters(ClassRegistry &registry)
{
    registry.Register({CLSID_LAVSplitterSource,
                       "LAV Splitter Source",
                       MERIT_NORMAL,
                       CLSID_LegacyAmFilterCategory,
                       {},
                       {{MEDIATYPE_Video, GUID_NULL}, {MEDIATYPE_Audio, GUID_NULL}},
                       [] { return std::make_shared<LavSplitterSource>(); }});
    registry.Register({CLSID_NullVideoRenderer,
                       "Null Video Renderer",
                       MERIT_UNLIKELY,
                       CLSID_LegacyAmFilterCategory,
                       {{MEDIATYPE_Video, MEDIASUBTYPE_RGB32}},
                       {},
                       [] { return std::make_shared<NullVideoRenderer>(); }});
    registry.Register({CLSID_NullAudioRenderer,
                       "Null Audio Renderer",
                       MERIT_UNLIKELY,
                       CLSID_AudioRendererCategory,
                       {{MEDIATYPE_Audio, MEDIASUBTYPE_PCM}, {MEDIATYPE_Audio, MEDIASUBTYPE_IEEE_FLOAT}},
                       {},
                       [] { return std::make_shared<NullAudioRenderer>(); }});
    RegisterDecoderClasses(registry);
}
