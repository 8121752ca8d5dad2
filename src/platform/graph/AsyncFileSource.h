#pragma once

#include "AsyncReader.h"
#include "FileSourceFilter.h"
#include "Filter.h"
#include "OutputPin.h"

inline constexpr Guid CLSID_AsyncReader{
    0xE436EBB5, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};

// "File Source (Async.)": one output pin of MEDIATYPE_Stream through which the downstream
// splitter pulls the file's bytes. The subtype names the container when the first bytes tell it
// (AVI, WAVE, MPEG program or transport stream, ASF), else it is the null GUID.
class AsyncFileSource : public Filter, public FileSourceFilter
{
  public:
    AsyncFileSource();
    ~AsyncFileSource() override;

    // UI thread, once. `type`, when given, sets the offered subtype.
    HRESULT Load(const std::string &path, const MediaType *type) override;
    HRESULT GetCurFile(std::string &path) const override;

  private:
    class StreamPin : public OutputPin, public AsyncReader
    {
      public:
        explicit StreamPin(AsyncFileSource &owner);
        std::vector<MediaType> MediaTypes() const override;
        HRESULT CheckMediaType(const MediaType &type) const override;
        HRESULT SyncRead(int64_t offset, int32_t length, uint8_t *buffer, int32_t &read) override;
        HRESULT Length(int64_t &total, int64_t &available) override;

      private:
        AsyncFileSource &source_;
    };

    static Guid SniffSubtype(int fd);

    StreamPin *pin_ = nullptr;
    std::string path_;
    int fd_ = -1;
    int64_t length_ = 0;
    MediaType type_;
};
