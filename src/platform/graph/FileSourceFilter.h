#pragma once

#include "MediaType.h"
#include "platform/core/Result.h"

#include <string>

// A source filter that reads a file. Load() builds the output pins; it is called once, on the UI
// thread, before the filter is connected.
class FileSourceFilter
{
  public:
    virtual ~FileSourceFilter() = default;
    // `type` may be nullptr. VFW_E_UNKNOWN_FILE_TYPE / E_FILE_NOT_FOUND / VFW_E_INVALID_FILE_FORMAT
    // when the file cannot be read.
    virtual HRESULT Load(const std::string &path, const MediaType *type) = 0;
    virtual HRESULT GetCurFile(std::string &path) const = 0;
};
