#include "PlaybackRig.h"
#include "support/MediaFacts.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

TEST(DamagedMedia, FilesNoFilterCanReadFailWithACodeAndLeaveTheGraphEmpty)
{
    struct Case {
        std::string path;
        HRESULT expected;
    };
    const Case cases[] = {
        {TestMedia::Path(MediaFacts::EmptyMp4).toStdString(), VFW_E_UNKNOWN_FILE_TYPE},
        {"/nonexistent/clip.mp4", E_FILE_NOT_FOUND},
        {"/etc/passwd", VFW_E_UNKNOWN_FILE_TYPE},
    };
    for (const Case &c : cases) {
        Graph graph;
        FilterPtr source;
        EXPECT_EQ(graph.AddSourceFilter(c.path, "", source), c.expected) << c.path;
        EXPECT_FALSE(source);
        EXPECT_TRUE(graph.Filters().empty());
    }
}

// Damaged files play to a clean end: what can be decoded is shown, the rest is skipped.
TEST(DamagedMedia, PlaysCutAndScrambledFilesToACleanEnd)
{
    struct Case {
        const char *file;
        int64_t minPictures, maxPictures;
    };
    const Case cases[] = {
        {MediaFacts::TruncatedIndexFirstMp4, 1, MediaFacts::H264Aac.video->frames - 1},
        {MediaFacts::TruncatedNoIndexMp4, 0, MediaFacts::H264Aac.video->frames - 1},
        {MediaFacts::GarbageMiddleMpg, MediaFacts::Mpeg2Ps.video->frames / 2,
         MediaFacts::Mpeg2Ps.video->frames},
        {MediaFacts::TruncatedDv, MediaFacts::TruncatedDvWholeFrames, MediaFacts::TruncatedDvWholeFrames + 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        PlaybackRig rig;
        const HRESULT built = rig.Build(TestMedia::Path(c.file));
        if (FAILED(built)) {
            // Only a file cut before any picture may be unreadable.
            EXPECT_EQ(c.minPictures, 0);
            continue;
        }
        ASSERT_EQ(rig.graph.SetSyncSource(nullptr), S_OK);
        ASSERT_TRUE(rig.RunToCompletion(30000));
        ASSERT_TRUE(rig.video);
        const int64_t pictures = rig.video->Stats().rendered;
        EXPECT_GE(pictures, c.minPictures);
        EXPECT_LE(pictures, c.maxPictures);
        EXPECT_EQ(rig.graph.Stop(), S_OK);
    }
}
