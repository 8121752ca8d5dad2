#pragma once

#include <cstdint>
#include <string>

// Result codes with the platform's numbers: negative values are failures.
using HRESULT = int32_t;

constexpr HRESULT MakeResult(uint32_t value)
{
    return static_cast<HRESULT>(value);
}

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = MakeResult(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = MakeResult(0x80004002);
inline constexpr HRESULT E_POINTER = MakeResult(0x80004003);
inline constexpr HRESULT E_ABORT = MakeResult(0x80004004);
inline constexpr HRESULT E_FAIL = MakeResult(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = MakeResult(0x8000FFFF);
inline constexpr HRESULT E_ACCESSDENIED = MakeResult(0x80070005);
inline constexpr HRESULT E_OUTOFMEMORY = MakeResult(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = MakeResult(0x80070057);
inline constexpr HRESULT E_FILE_NOT_FOUND = MakeResult(0x80070002); // from the system's ERROR_FILE_NOT_FOUND
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = MakeResult(0x80040111);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = MakeResult(0x80040154);
inline constexpr HRESULT OLE_E_ADVISENOTSUPPORTED = MakeResult(0x80040003);
inline constexpr HRESULT DV_E_FORMATETC = MakeResult(0x80040064);

inline constexpr HRESULT VFW_S_NO_MORE_ITEMS = MakeResult(0x00040103);
inline constexpr HRESULT VFW_S_STATE_INTERMEDIATE = MakeResult(0x00040237);
inline constexpr HRESULT VFW_S_PARTIAL_RENDER = MakeResult(0x00040242);
inline constexpr HRESULT VFW_E_INVALIDMEDIATYPE = MakeResult(0x80040200);
inline constexpr HRESULT VFW_E_ENUM_OUT_OF_SYNC = MakeResult(0x80040203);
inline constexpr HRESULT VFW_E_ALREADY_CONNECTED = MakeResult(0x80040204);
inline constexpr HRESULT VFW_E_NO_ACCEPTABLE_TYPES = MakeResult(0x80040207);
inline constexpr HRESULT VFW_E_INVALID_DIRECTION = MakeResult(0x80040208);
inline constexpr HRESULT VFW_E_NOT_CONNECTED = MakeResult(0x80040209);
inline constexpr HRESULT VFW_E_NOT_COMMITTED = MakeResult(0x80040211);
inline constexpr HRESULT VFW_E_NO_CLOCK = MakeResult(0x80040213);
inline constexpr HRESULT VFW_E_NOT_FOUND = MakeResult(0x80040216);
inline constexpr HRESULT VFW_E_CANNOT_CONNECT = MakeResult(0x80040217);
inline constexpr HRESULT VFW_E_CANNOT_RENDER = MakeResult(0x80040218);
inline constexpr HRESULT VFW_E_NOT_STOPPED = MakeResult(0x80040224);
inline constexpr HRESULT VFW_E_NOT_PAUSED = MakeResult(0x80040225);
inline constexpr HRESULT VFW_E_NOT_RUNNING = MakeResult(0x80040226);
inline constexpr HRESULT VFW_E_WRONG_STATE = MakeResult(0x80040227);
inline constexpr HRESULT VFW_E_TYPE_NOT_ACCEPTED = MakeResult(0x8004022A);
inline constexpr HRESULT VFW_E_SAMPLE_REJECTED = MakeResult(0x8004022B);
inline constexpr HRESULT VFW_E_TIMEOUT = MakeResult(0x8004022E);
inline constexpr HRESULT VFW_E_INVALID_FILE_FORMAT = MakeResult(0x8004022F);
inline constexpr HRESULT VFW_E_UNKNOWN_FILE_TYPE = MakeResult(0x80040240);
inline constexpr HRESULT VFW_E_CANNOT_LOAD_SOURCE_FILTER = MakeResult(0x80040241);
inline constexpr HRESULT VFW_E_UNSUPPORTED_STREAM = MakeResult(0x80040265);

constexpr bool SUCCEEDED(HRESULT hr)
{
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr)
{
    return hr < 0;
}

// A readable text for a result code, as the platform's error lookup would give it; codes
// without a text of their own get a generic one naming the number.
std::string ResultText(HRESULT hr);
