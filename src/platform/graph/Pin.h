#pragma once

#include "MediaType.h"
#include "platform/core/Result.h"

#include <string>
#include <vector>

class Filter;

enum PIN_DIRECTION { PINDIR_INPUT = 0, PINDIR_OUTPUT = 1 };

// A connection point of a filter. Two pins of opposite direction connect with one agreed media
// type. Connections are made and broken on the UI thread while the graph is stopped; streaming
// threads only read them.
class Pin
{
  public:
    Pin(Filter &owner, std::string name, PIN_DIRECTION direction);
    virtual ~Pin();
    Pin(const Pin &) = delete;
    Pin &operator=(const Pin &) = delete;

    Filter &Owner() const { return owner_; }
    const std::string &Name() const { return name_; }
    PIN_DIRECTION Direction() const { return direction_; }

    // The peer pin, or nullptr when not connected.
    Pin *ConnectedTo() const { return peer_; }
    bool IsConnected() const { return peer_ != nullptr; }
    // The agreed type; VFW_E_NOT_CONNECTED when not connected.
    HRESULT ConnectionMediaType(MediaType &type) const;
    // The pin category (PIN_CATEGORY_CAPTURE...), GUID_NULL for none.
    virtual Guid Category() const { return GUID_NULL; }

    // The complete types this pin offers, most preferred first.
    virtual std::vector<MediaType> MediaTypes() const { return {}; }
    // S_OK when this pin can connect with `type`, else VFW_E_TYPE_NOT_ACCEPTED.
    virtual HRESULT CheckMediaType(const MediaType &type) const = 0;

    // Breaks the connection at both ends: S_OK, S_FALSE when not connected, VFW_E_NOT_STOPPED
    // while either filter streams.
    HRESULT Disconnect();

  protected:
    // Connection hooks on this side, in this order once both pins accepted the type: a failure
    // from either undoes the connection. BreakConnect() runs when a connection ends.
    virtual HRESULT SetMediaType(const MediaType &) { return S_OK; }
    virtual HRESULT CompleteConnect(Pin &) { return S_OK; }
    virtual void BreakConnect() {}

  private:
    friend class OutputPin;
    void Unlink();

    Filter &owner_;
    const std::string name_;
    const PIN_DIRECTION direction_;
    Pin *peer_ = nullptr;
    MediaType type_;
};

// True when `type` fills the fields `pattern` leaves open: null GUIDs in the pattern match
// anything, and an empty pattern format block matches any block.
bool MediaTypeMatches(const MediaType &pattern, const MediaType &type);
// True when `type` names a major type, subtype and format type and holds a format block (a type
// a connection can use).
bool IsCompleteMediaType(const MediaType &type);
