#include "Result.h"

#include <cstdio>

namespace
{

struct ResultEntry {
    HRESULT code;
    const char *text;
};

constexpr ResultEntry Texts[] = {
    {S_OK, "The operation completed successfully."},
    {S_FALSE, "The operation completed with a false result."},
    {E_NOTIMPL, "Not implemented."},
    {E_NOINTERFACE, "No such interface supported."},
    {E_POINTER, "Invalid pointer."},
    {E_ABORT, "Operation aborted."},
    {E_FAIL, "Unspecified error."},
    {E_UNEXPECTED, "Catastrophic failure."},
    {E_ACCESSDENIED, "Access is denied."},
    {E_OUTOFMEMORY, "Not enough memory resources are available to complete this operation."},
    {E_INVALIDARG, "The parameter is incorrect."},
    {E_FILE_NOT_FOUND, "The system cannot find the file specified."},
    {CLASS_E_CLASSNOTAVAILABLE, "ClassFactory cannot supply requested class."},
    {REGDB_E_CLASSNOTREG, "Class not registered."},
    {OLE_E_ADVISENOTSUPPORTED, "This implementation doesn't take advises."},
    {DV_E_FORMATETC, "Invalid FORMATETC structure."},
    {VFW_S_NO_MORE_ITEMS, "The end of the list has been reached."},
    {VFW_S_STATE_INTERMEDIATE, "The state transition has not completed."},
    {VFW_S_PARTIAL_RENDER, "Some of the streams in this movie are in an unsupported format."},
    {VFW_E_INVALIDMEDIATYPE, "An invalid media type was specified."},
    {VFW_E_ENUM_OUT_OF_SYNC, "The enumerator has become invalid."},
    {VFW_E_ALREADY_CONNECTED, "At least one of the pins involved in the operation is already connected."},
    {VFW_E_NO_ACCEPTABLE_TYPES, "There is no common media type between these pins."},
    {VFW_E_INVALID_DIRECTION, "Two pins of the same direction cannot be connected together."},
    {VFW_E_NOT_CONNECTED, "The operation cannot be performed because the pins are not connected."},
    {VFW_E_NOT_COMMITTED, "Cannot allocate a sample when the allocator is not active."},
    {VFW_E_NO_CLOCK, "This object does not have a reference clock."},
    {VFW_E_NOT_FOUND, "An object or name was not found."},
    {VFW_E_CANNOT_CONNECT, "No combination of intermediate filters could be found to make the connection."},
    {VFW_E_CANNOT_RENDER, "No combination of filters could be found to render the stream."},
    {VFW_E_NOT_STOPPED, "The operation could not be performed because the filter graph is not stopped."},
    {VFW_E_NOT_PAUSED, "The operation could not be performed because the filter graph is not paused."},
    {VFW_E_NOT_RUNNING, "The operation could not be performed because the filter graph is not running."},
    {VFW_E_WRONG_STATE, "The operation could not be performed because the filter is in the wrong state."},
    {VFW_E_TYPE_NOT_ACCEPTED, "This media type is not accepted."},
    {VFW_E_SAMPLE_REJECTED, "The sample was rejected."},
    {VFW_E_TIMEOUT, "The operation timed out."},
    {VFW_E_INVALID_FILE_FORMAT, "The file format is invalid."},
    {VFW_E_UNKNOWN_FILE_TYPE, "The media type of this file is not recognized."},
    {VFW_E_CANNOT_LOAD_SOURCE_FILTER, "The source filter for this file could not be loaded."},
    {VFW_E_UNSUPPORTED_STREAM, "Cannot play back the file: the format is not supported."},
};

} // namespace

std::string ResultText(HRESULT hr)
{
    for (const auto &entry : Texts)
        if (entry.code == hr)
            return entry.text;
    char buf[64];
    std::snprintf(buf, sizeof buf, "Unknown error 0x%08X.", static_cast<uint32_t>(hr));
    return buf;
}
