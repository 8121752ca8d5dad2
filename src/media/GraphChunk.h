#pragma once

#include "platform/graph/MediaType.h"

#include <QString>

class TGrapheMan;
class TMediaDevice;

// A piece of a media file that can be put into a graph: a device (the filters that read the file
// or split one of its streams) or a source (one video or audio stream of a device). A chunk is
// either not connected or connected to exactly one graph manager. UI thread only.
class TGraphChunk
{
  public:
    TGraphChunk(const TGraphChunk &) = delete;
    TGraphChunk &operator=(const TGraphChunk &) = delete;
    virtual ~TGraphChunk() = default;

    // The graph manager the chunk is connected to, or nullptr.
    TGrapheMan *Manager() const { return manager_; }
    const QString &Name() const { return name_; }
    // The name, followed by " #" and the number from the second chunk of a kind on.
    QString DisplayName() const;
    // 1-based rank among the chunks of its kind under the same parent.
    int Number() const { return number_; }
    // The device this chunk hangs under, or nullptr for a file's own device.
    TMediaDevice *Parent() const { return parent_; }
    // The media's duration as the connected graph's seeking reports it; 0 when not connected or
    // when the graph cannot tell.
    REFERENCE_TIME GraphDuration() const;

  protected:
    TGraphChunk(QString name, TMediaDevice *parent, int number);

    void SetManager(TGrapheMan *manager) { manager_ = manager; }

  private:
    TGrapheMan *manager_ = nullptr;
    const QString name_;
    TMediaDevice *const parent_;
    const int number_;
};
