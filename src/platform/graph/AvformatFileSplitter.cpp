#include "AvformatFileSplitter.h"

#include "InputPin.h"
#include "MediaGuids.h"

#include <algorithm>

class AvformatFileSplitter::In : public InputPin
{
  public:
    explicit In(AvformatFileSplitter &owner) : InputPin(owner, "Input"), splitter_(owner) {}

    HRESULT CheckMediaType(const MediaType &type) const override
    {
        const auto &accepted = splitter_.accepted_;
        return type.majortype == MEDIATYPE_Stream &&
                       std::find(accepted.begin(), accepted.end(), type.subtype) != accepted.end()
                   ? S_OK
                   : VFW_E_TYPE_NOT_ACCEPTED;
    }
    // The file is read by libavformat, never pushed.
    HRESULT Receive(const SamplePtr &) override { return E_UNEXPECTED; }

  protected:
    HRESULT CompleteConnect(Pin &peer) override { return splitter_.OpenUpstreamFile(peer); }

  private:
    AvformatFileSplitter &splitter_;
};

AvformatFileSplitter::AvformatFileSplitter(const Guid &classId, std::string name, const char *demuxer,
                                           std::vector<Guid> accepted)
    : LavSplitterSource(classId, std::move(name), demuxer), accepted_(std::move(accepted))
{
    AddPin<In>(*this);
}

HRESULT AvformatFileSplitter::OpenUpstreamFile(Pin &peer)
{
    auto *source = peer.Owner().Query<FileSourceFilter>();
    std::string path;
    if (!source || FAILED(source->GetCurFile(path)))
        return VFW_E_TYPE_NOT_ACCEPTED;
    std::string opened;
    if (opened_) // the stream pins of the first connection stay; only the same file fits them
        return GetCurFile(opened) == S_OK && opened == path ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    const HRESULT hr = Load(path, nullptr);
    opened_ = SUCCEEDED(hr);
    return SUCCEEDED(hr) ? S_OK : hr;
}

std::shared_ptr<Filter> AvformatFileSplitter::Mpeg2Splitter()
{
    return std::make_shared<AvformatFileSplitter>(CLSID_MPEG2Splitter, "MPEG-2 Splitter", nullptr,
                                                  std::vector<Guid>{MEDIASUBTYPE_MPEG2_PROGRAM,
                                                                    MEDIASUBTYPE_MPEG2_TRANSPORT,
                                                                    MEDIASUBTYPE_MPEG1System});
}

std::shared_ptr<Filter> AvformatFileSplitter::Mpeg1StreamSplitter()
{
    return std::make_shared<AvformatFileSplitter>(
        CLSID_MPEG1Splitter, "MPEG-I Stream Splitter", "mpeg",
        std::vector<Guid>{MEDIASUBTYPE_MPEG1System, MEDIASUBTYPE_MPEG2_PROGRAM});
}

std::shared_ptr<Filter> AvformatFileSplitter::WaveParser()
{
    return std::make_shared<AvformatFileSplitter>(CLSID_WAVEParser, "Wave Parser", "wav",
                                                  std::vector<Guid>{MEDIASUBTYPE_WAVE});
}
