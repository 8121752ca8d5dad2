#include "AsyncFileSource.h"

#include "MediaGuids.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// pread until `length` bytes or the end of the file; -1 on an error.
ssize_t ReadFully(int fd, int64_t offset, size_t length, uint8_t *buffer)
{
    size_t done = 0;
    while (done < length) {
        const ssize_t n = ::pread(fd, buffer + done, length - done, offset + static_cast<int64_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

constexpr uint8_t AsfHeaderGuid[16] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                       0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
} // namespace

AsyncFileSource::AsyncFileSource() : Filter(CLSID_AsyncReader, "File Source (Async.)")
{
    pin_ = AddPin<StreamPin>(*this);
}

AsyncFileSource::~AsyncFileSource()
{
    if (fd_ >= 0)
        ::close(fd_);
}

HRESULT AsyncFileSource::Load(const std::string &path, const MediaType *type)
{
    if (fd_ >= 0)
        return E_FAIL;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return E_FILE_NOT_FOUND;
    struct stat info {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return E_FILE_NOT_FOUND;
    }
    fd_ = fd;
    length_ = info.st_size;
    path_ = path;
    type_.majortype = MEDIATYPE_Stream;
    type_.subtype = type && !type->subtype.IsNull() ? type->subtype : SniffSubtype(fd);
    type_.formattype = FORMAT_None;
    return S_OK;
}

HRESULT AsyncFileSource::GetCurFile(std::string &path) const
{
    path = path_;
    return path_.empty() ? E_FAIL : S_OK;
}

Guid AsyncFileSource::SniffSubtype(int fd)
{
    uint8_t head[16] = {};
    if (ReadFully(fd, 0, sizeof head, head) != static_cast<ssize_t>(sizeof head))
        return GUID_NULL;
    if (std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "AVI ", 4) == 0)
        return MEDIASUBTYPE_Avi;
    if (std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WAVE", 4) == 0)
        return MEDIASUBTYPE_WAVE;
    if (std::memcmp(head, AsfHeaderGuid, 16) == 0)
        return MEDIASUBTYPE_Asf;
    if (head[0] == 0 && head[1] == 0 && head[2] == 1 && head[3] == 0xBA) // pack header: '01' marks MPEG-2
        return (head[4] & 0xC0) == 0x40 ? MEDIASUBTYPE_MPEG2_PROGRAM : MEDIASUBTYPE_MPEG1System;
    uint8_t third[1] = {};
    if (head[0] == 0x47 && ReadFully(fd, 188, 1, third) == 1 && third[0] == 0x47)
        return MEDIASUBTYPE_MPEG2_TRANSPORT;
    return GUID_NULL;
}

AsyncFileSource::StreamPin::StreamPin(AsyncFileSource &owner) : OutputPin(owner, "Output"), source_(owner) {}

std::vector<MediaType> AsyncFileSource::StreamPin::MediaTypes() const
{
    if (source_.fd_ < 0)
        return {};
    return {source_.type_};
}

HRESULT AsyncFileSource::StreamPin::CheckMediaType(const MediaType &type) const
{
    if (source_.fd_ < 0 || type.majortype != MEDIATYPE_Stream)
        return VFW_E_TYPE_NOT_ACCEPTED;
    if (!type.subtype.IsNull() && !source_.type_.subtype.IsNull() && type.subtype != source_.type_.subtype)
        return VFW_E_TYPE_NOT_ACCEPTED;
    return S_OK;
}

HRESULT AsyncFileSource::StreamPin::SyncRead(int64_t offset, int32_t length, uint8_t *buffer, int32_t &read)
{
    read = 0;
    if (source_.fd_ < 0 || offset < 0 || length < 0 || (length > 0 && !buffer))
        return E_FAIL;
    const ssize_t n = ReadFully(source_.fd_, offset, static_cast<size_t>(length), buffer);
    if (n < 0)
        return E_FAIL;
    read = static_cast<int32_t>(n);
    return read == length ? S_OK : S_FALSE;
}

HRESULT AsyncFileSource::StreamPin::Length(int64_t &total, int64_t &available)
{
    total = available = source_.length_;
    return source_.fd_ < 0 ? E_FAIL : S_OK;
}
