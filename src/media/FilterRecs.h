#pragma once

#include "platform/graph/Graph.h"

#include <QString>
#include <deque>

// A filter class the program may instantiate: by class id, from the platform's class registry
// or, when private, from a private decoder library first. Records live until the end of the
// process; holders keep plain pointers.
struct TFilterRec {
    Guid ClassId;
    QString Name;
    bool IsPrivate = false;
};

// The process-wide list of filter records. UI thread only.
class TFilterRecs
{
  public:
    // The sentinels "No Video Decoder" and "No Audio Decoder" come first.
    TFilterRecs();

    // The last record with all three equal (name compared exactly), else a new one appended.
    TFilterRec *FindOrAdd(const Guid &classId, const QString &name, bool isPrivate);
    TFilterRec *NoVideoDecoder() const { return noVideoDecoder_; }
    TFilterRec *NoAudioDecoder() const { return noAudioDecoder_; }
    size_t Count() const { return records_.size(); }

  private:
    std::deque<TFilterRec> records_; // a deque keeps records in place as it grows
    TFilterRec *noVideoDecoder_;
    TFilterRec *noAudioDecoder_;
};

TFilterRecs &FilterRecs();

// A new filter of the record's class: from the private library's factory when the record is
// private and its factory works, else from the class registry. nullptr when neither makes one.
FilterPtr CreateFilter(const TFilterRec &record, ClassRegistry &registry = ClassRegistry::Default());
