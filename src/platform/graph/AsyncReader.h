#pragma once

#include "platform/core/Result.h"

#include <cstdint>

// The pull side of a byte-stream connection: the downstream filter reads the upstream file at
// the offsets it chooses. Found on a connected output pin with dynamic_cast. Any thread may call
// both functions, at the same time.
class AsyncReader
{
  public:
    virtual ~AsyncReader() = default;
    // Reads up to `length` bytes at `offset`: S_OK when all were read, S_FALSE when the file ends
    // first (`read` says how many), E_FAIL on a read error or without a file.
    virtual HRESULT SyncRead(int64_t offset, int32_t length, uint8_t *buffer, int32_t &read) = 0;
    // The file's length in bytes (all of it is available).
    virtual HRESULT Length(int64_t &total, int64_t &available) = 0;
};
