#pragma once

#include "Filter.h"
#include "InputPin.h"
#include "StreamingOutputPin.h"

// {4EB31670-9FC6-11CF-AF6E-00AA00B67A42}
inline constexpr Guid CLSID_DVSplitter{
    0x4EB31670, 0x9FC6, 0x11CF, {0xAF, 0x6E, 0x00, 0xAA, 0x00, 0xB6, 0x7A, 0x42}};

// "DV Splitter": whole interleaved DV frames in (MEDIATYPE_Interleaved, FORMAT_DvInfo), a DV
// video pin (dvsd, 720×576 or 720×480) and a 16-bit PCM stereo audio pin out. The video pin
// passes each frame on unchanged; the audio pin carries the frame's first stereo pair, decoded
// from its audio DIF blocks. Frames whose audio differs in rate from the connection's format, or
// that hold no audio, give no audio sample.
class DvSplitter : public Filter
{
  public:
    DvSplitter();

  protected:
    HRESULT OnActive() override;
    HRESULT OnInactive() override;

  private:
    class In;
    class Out;

    // Upstream streaming thread.
    HRESULT ProcessFrame(const SamplePtr &frame);
    void SetInputType(const MediaType &type);

    In *in_;
    Out *video_;
    Out *audio_;
    int samplesPerSec_ = 48000;
};
