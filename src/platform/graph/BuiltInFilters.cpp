#include "AsyncFileSource.h"
#include "AudioRenderer.h"
#include "AvformatFileSplitter.h"
#include "AviSplitter.h"
#include "ClassRegistry.h"
#include "DecoderClasses.h"
#include "DvSplitter.h"
#include "LavSplitterSource.h"
#include "MediaGuids.h"
#include "NullAudioRenderer.h"
#include "NullVideoRenderer.h"
#include "VideoMixingRenderer.h"

void RegisterBuiltInFilters(ClassRegistry &registry)
{
    registry.Register({CLSID_LAVSplitterSource,
                       "LAV Splitter Source",
                       MERIT_NORMAL,
                       CLSID_LegacyAmFilterCategory,
                       {},
                       {{MEDIATYPE_Video, GUID_NULL}, {MEDIATYPE_Audio, GUID_NULL}},
                       [] { return std::make_shared<LavSplitterSource>(); }});
    registry.Register(
        {CLSID_WMAsfReader,
         "WM ASF Reader",
         MERIT_NORMAL,
         CLSID_LegacyAmFilterCategory,
         {},
         {{MEDIATYPE_Video, GUID_NULL}, {MEDIATYPE_Audio, GUID_NULL}},
         [] { return std::make_shared<LavSplitterSource>(CLSID_WMAsfReader, "WM ASF Reader", "asf"); }});
    registry.Register({CLSID_AsyncReader,
                       "File Source (Async.)",
                       MERIT_UNLIKELY,
                       CLSID_LegacyAmFilterCategory,
                       {},
                       {{MEDIATYPE_Stream, GUID_NULL}},
                       [] { return std::make_shared<AsyncFileSource>(); }});
    registry.Register(
        {CLSID_AviSplitter,
         "AVI Splitter",
         MERIT_NORMAL,
         CLSID_LegacyAmFilterCategory,
         {{MEDIATYPE_Stream, MEDIASUBTYPE_Avi}},
         {{MEDIATYPE_Video, GUID_NULL}, {MEDIATYPE_Audio, GUID_NULL}, {MEDIATYPE_Interleaved, GUID_NULL}},
         [] { return std::make_shared<AviSplitter>(); }});
    registry.Register(
        {CLSID_MPEG2Splitter,
         "MPEG-2 Splitter",
         MERIT_NORMAL,
         CLSID_LegacyAmFilterCategory,
         {{MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_PROGRAM}, {MEDIATYPE_Stream, MEDIASUBTYPE_MPEG2_TRANSPORT}},
         {{MEDIATYPE_Video, GUID_NULL}, {MEDIATYPE_Audio, GUID_NULL}},
         &AvformatFileSplitter::Mpeg2Splitter});
    registry.Register({CLSID_MPEG1Splitter,
                       "MPEG-I Stream Splitter",
                       MERIT_NORMAL,
                       CLSID_LegacyAmFilterCategory,
                       {{MEDIATYPE_Stream, MEDIASUBTYPE_MPEG1System}},
                       {{MEDIATYPE_Video, GUID_NULL}, {MEDIATYPE_Audio, GUID_NULL}},
                       &AvformatFileSplitter::Mpeg1StreamSplitter});
    registry.Register({CLSID_WAVEParser,
                       "Wave Parser",
                       MERIT_NORMAL,
                       CLSID_LegacyAmFilterCategory,
                       {{MEDIATYPE_Stream, MEDIASUBTYPE_WAVE}},
                       {{MEDIATYPE_Audio, GUID_NULL}},
                       &AvformatFileSplitter::WaveParser});
    registry.Register({CLSID_DVSplitter,
                       "DV Splitter",
                       MERIT_NORMAL,
                       CLSID_LegacyAmFilterCategory,
                       {{MEDIATYPE_Interleaved, GUID_NULL}},
                       {{MEDIATYPE_Video, MEDIASUBTYPE_dvsd}, {MEDIATYPE_Audio, MEDIASUBTYPE_PCM}},
                       [] { return std::make_shared<DvSplitter>(); }});
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
    // The real renderers are made by class id; like the platform's, they are never picked by
    // intelligent connection.
    registry.Register({VideoMixingRenderer::ClassId,
                       "Video Mixing Renderer 9",
                       MERIT_DO_NOT_USE,
                       CLSID_LegacyAmFilterCategory,
                       {{MEDIATYPE_Video, MEDIASUBTYPE_RGB32}},
                       {},
                       [] { return std::make_shared<VideoMixingRenderer>(); }});
    registry.Register({AudioRenderer::ClassId,
                       "Default DirectSound Device",
                       MERIT_DO_NOT_USE,
                       CLSID_AudioRendererCategory,
                       {{MEDIATYPE_Audio, MEDIASUBTYPE_PCM}, {MEDIATYPE_Audio, MEDIASUBTYPE_IEEE_FLOAT}},
                       {},
                       [] { return std::make_shared<AudioRenderer>(); }});
    RegisterDecoderClasses(registry);
}
