#pragma once

#include "platform/graph/Graph.h"
#include "platform/graph/NullAudioRenderer.h"
#include "platform/graph/NullVideoRenderer.h"

#include <QString>

#include <memory>
#include <vector>

// A playback graph for tests: a file source whose every stream is connected, through whatever
// decoders intelligent connection finds, to a null renderer of its own.
struct PlaybackRig {
    Graph graph;
    FilterPtr source;
    std::shared_ptr<NullVideoRenderer> video; // null when the file has no video
    std::vector<std::shared_ptr<NullAudioRenderer>> audio;

    // The result of loading and connecting; every stream must connect.
    HRESULT Build(const QString &path);
    // Runs until the graph reports the end of the media or timeoutMs passes; true on completion.
    bool RunToCompletion(int timeoutMs);
    // The decoder inserted in front of `renderer`, or nullptr.
    Filter *DecoderBefore(const Filter &renderer) const;
};

// What ffprobe says of a file's first stream of a kind ("v" or "a"): decoded frames (video) or
// decoded sample frames (audio). -1 when ffprobe fails.
int64_t ProbedVideoFrames(const QString &path);
int64_t ProbedAudioSamples(const QString &path, int audioIndex);
