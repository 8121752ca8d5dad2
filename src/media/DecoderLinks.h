#pragma once

#include "media/FilterRecs.h"

#include <vector>

class TPreferencesMan;

// A stream's media type as its device delivers it: the key decoder choices are remembered by.
struct MediaTypeKey {
    Guid majortype;
    Guid subtype;
    Guid formattype;
    friend bool operator==(const MediaTypeKey &, const MediaTypeKey &) = default;
};

struct TDecoderLink {
    MediaTypeKey Key;
    TFilterRec *Decoder; // not owned
};

// Which decoder was chosen for which stream type. Two process-wide lists, for video and audio,
// kept in the preferences. UI thread only.
class TDecoderLinks
{
  public:
    TDecoderLinks();

    // -1 when no link has all three GUIDs of `key`.
    int IndexOf(const MediaTypeKey &key) const;
    void SetDecoder(const MediaTypeKey &key, TFilterRec *record);
    TFilterRec *GetDecoder(const MediaTypeKey &key) const;
    void Forget(const MediaTypeKey &key);
    const std::vector<TDecoderLink> &Links() const { return links_; }

    // Reads every subkey of the preferences' current key as a link; a subkey with a missing or
    // malformed GUID is skipped.
    void LoadLinks(TPreferencesMan &prefs);
    // Writes the links as subkeys "dc0", "dc1"... of the current key; deletes nothing.
    void SaveLinks(TPreferencesMan &prefs) const;

  private:
    std::vector<TDecoderLink> links_;
};

TDecoderLinks &VideoDecoderLinks();
TDecoderLinks &AudioDecoderLinks();
