#include "platform/graph/ClassRegistry.h"
#include "platform/graph/FileSourceFilter.h"
#include "platform/graph/LavSplitterSource.h"
#include "platform/graph/MediaGuids.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

// The ASF reader is a source made by its class id that reads ASF files and nothing else.
TEST(WMAsfReader, ReadsAsfFilesOnly)
{
    struct Case {
        const char *file;
        bool readable;
    } cases[] = {
        {"wmv2_wma2.wmv", true}, {"wmv2_wma2.asf", true}, {"h264_aac.mp4", false}, {"empty.mp4", false}};
    for (const Case &c : cases) {
        std::shared_ptr<Filter> filter;
        ASSERT_EQ(ClassRegistry::Default().CreateInstance(CLSID_WMAsfReader, filter), S_OK);
        EXPECT_EQ(filter->Name(), "WM ASF Reader");
        auto *source = filter->Query<FileSourceFilter>();
        ASSERT_TRUE(source);
        const HRESULT hr = source->Load(TestMedia::Path(c.file).toStdString(), nullptr);
        EXPECT_EQ(SUCCEEDED(hr), c.readable) << c.file;
        if (!c.readable)
            continue;
        ASSERT_EQ(filter->PinCount(), 2u) << c.file;
        EXPECT_EQ(filter->GetPin(0)->MediaTypes().at(0).majortype, MEDIATYPE_Video);
        EXPECT_EQ(filter->GetPin(1)->MediaTypes().at(0).majortype, MEDIATYPE_Audio);
    }
}
