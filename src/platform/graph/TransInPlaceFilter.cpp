#include "TransInPlaceFilter.h"

// The input pin: checks types with the filter and passes everything through it downstream.
class TransInPlaceFilter::In : public InputPin
{
  public:
    explicit In(TransInPlaceFilter &filter) : InputPin(filter, "Input"), filter_(filter) {}

    HRESULT CheckMediaType(const MediaType &type) const override { return filter_.CheckInputType(type); }

    HRESULT Receive(const SamplePtr &sample) override
    {
        if (IsFlushing() || filter_.State() == State_Stopped)
            return S_FALSE;
        const HRESULT hr = filter_.Transform(*sample);
        if (hr != S_OK)
            return FAILED(hr) ? hr : S_OK;
        const HRESULT delivered = filter_.output_->Deliver(sample);
        return delivered == VFW_E_NOT_CONNECTED ? S_OK : delivered;
    }

    HRESULT BeginFlush() override
    {
        InputPin::BeginFlush();
        return filter_.output_->DeliverBeginFlush();
    }

    HRESULT EndFlush() override
    {
        InputPin::EndFlush();
        return filter_.output_->DeliverEndFlush();
    }

    HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override
    {
        InputPin::NewSegment(start, stop, rate);
        filter_.NewSegment(start, stop, rate);
        return filter_.output_->DeliverNewSegment(start, stop, rate);
    }

    HRESULT EndOfStream() override { return filter_.output_->DeliverEndOfStream(); }

  protected:
    HRESULT SetMediaType(const MediaType &type) override { return filter_.SetMediaType(PINDIR_INPUT, type); }
    HRESULT CompleteConnect(Pin &peer) override { return filter_.CompleteConnect(PINDIR_INPUT, peer); }

  private:
    TransInPlaceFilter &filter_;
};

// The output pin: offers the input's type, only once the input is connected.
class TransInPlaceFilter::Out : public OutputPin
{
  public:
    explicit Out(TransInPlaceFilter &filter) : OutputPin(filter, "Output"), filter_(filter) {}

    std::vector<MediaType> MediaTypes() const override
    {
        std::vector<MediaType> types;
        MediaType type;
        for (int i = 0; filter_.GetMediaType(i, type) == S_OK; ++i)
            types.push_back(type);
        return types;
    }

    HRESULT CheckMediaType(const MediaType &type) const override
    {
        MediaType input;
        if (filter_.input_->ConnectionMediaType(input) != S_OK)
            return VFW_E_NOT_CONNECTED;
        return filter_.CheckTransform(input, type);
    }

    // A source pin upstream may carry codec parameters; they pass through unchanged.
    const AVCodecParameters *CodecParameters() const override
    {
        auto *upstream = dynamic_cast<OutputPin *>(filter_.input_->ConnectedTo());
        return upstream ? upstream->CodecParameters() : nullptr;
    }

  protected:
    HRESULT SetMediaType(const MediaType &type) override { return filter_.SetMediaType(PINDIR_OUTPUT, type); }
    HRESULT CompleteConnect(Pin &peer) override { return filter_.CompleteConnect(PINDIR_OUTPUT, peer); }

  private:
    TransInPlaceFilter &filter_;
};

TransInPlaceFilter::TransInPlaceFilter(const Guid &classId, std::string name)
    : Filter(classId, std::move(name)), input_(AddPin<In>(*this)), output_(AddPin<Out>(*this))
{
}

HRESULT TransInPlaceFilter::CheckTransform(const MediaType &input, const MediaType &output)
{
    return input == output ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT TransInPlaceFilter::GetMediaType(int position, MediaType &type)
{
    if (!input_->IsConnected())
        return VFW_E_NOT_CONNECTED;
    if (position > 0)
        return VFW_S_NO_MORE_ITEMS;
    return input_->ConnectionMediaType(type);
}

HRESULT TransInPlaceFilter::OnActive()
{
    return StartStreaming();
}

HRESULT TransInPlaceFilter::OnInactive()
{
    return StopStreaming();
}
