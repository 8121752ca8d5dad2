#include "platform/graph/AsyncFileSource.h"
#include "platform/graph/ClassRegistry.h"
#include "platform/graph/MediaGuids.h"
#include "support/TestMedia.h"

#include <QFile>

#include <gtest/gtest.h>

#include <thread>

namespace
{
std::shared_ptr<Filter> LoadedSource(const QString &path, HRESULT &hr)
{
    std::shared_ptr<Filter> filter;
    if (ClassRegistry::Default().CreateInstance(CLSID_AsyncReader, filter) != S_OK)
        return nullptr;
    hr = filter->Query<FileSourceFilter>()->Load(path.toStdString(), nullptr);
    return filter;
}

AsyncReader *ReaderOf(Filter &filter)
{
    return dynamic_cast<AsyncReader *>(filter.GetPin(0));
}
} // namespace

// The source offers a byte stream whose subtype names the container its first bytes show.
TEST(AsyncFileSource, OffersAByteStreamNamingTheContainer)
{
    struct Case {
        const char *file;
        Guid subtype;
    } cases[] = {
        {"dv_pal_16x9_type1.avi", MEDIASUBTYPE_Avi},   {"tone_1khz.wav", MEDIASUBTYPE_WAVE},
        {"mpeg2_mp2.mpg", MEDIASUBTYPE_MPEG2_PROGRAM}, {"mpeg2_mp2.ts", MEDIASUBTYPE_MPEG2_TRANSPORT},
        {"wmv2_wma2.asf", MEDIASUBTYPE_Asf},           {"h264_aac.mp4", GUID_NULL},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        HRESULT hr = E_FAIL;
        const auto filter = LoadedSource(TestMedia::Path(c.file), hr);
        ASSERT_TRUE(filter);
        ASSERT_EQ(hr, S_OK);
        EXPECT_EQ(filter->Name(), "File Source (Async.)");
        ASSERT_EQ(filter->PinCount(), 1u);
        const std::vector<MediaType> types = filter->GetPin(0)->MediaTypes();
        ASSERT_EQ(types.size(), 1u);
        EXPECT_EQ(types[0].majortype, MEDIATYPE_Stream);
        EXPECT_EQ(types[0].subtype, c.subtype);
        std::string path;
        EXPECT_EQ(filter->Query<FileSourceFilter>()->GetCurFile(path), S_OK);
        EXPECT_EQ(path, TestMedia::Path(c.file).toStdString());
    }
}

// Reads from several threads at once return the file's bytes; a read over the end returns what
// there is with S_FALSE; a missing file fails to load.
TEST(AsyncFileSource, ReadsTheFileAtAnyOffsetFromAnyThread)
{
    const QString path = TestMedia::Path("dv_pal_16x9.dv");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray expected = file.readAll();
    HRESULT hr = E_FAIL;
    const auto filter = LoadedSource(path, hr);
    ASSERT_EQ(hr, S_OK);
    AsyncReader *reader = ReaderOf(*filter);
    ASSERT_TRUE(reader);
    int64_t total = 0, available = 0;
    ASSERT_EQ(reader->Length(total, available), S_OK);
    EXPECT_EQ(total, expected.size());

    std::vector<std::thread> threads;
    std::atomic<int> mismatches{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            std::vector<uint8_t> buffer(10007);
            for (int64_t at = t * 1000; at + 10007 <= total; at += 40000) {
                int32_t read = 0;
                if (reader->SyncRead(at, 10007, buffer.data(), read) != S_OK || read != 10007 ||
                    std::memcmp(buffer.data(), expected.constData() + at, 10007) != 0)
                    ++mismatches;
            }
        });
    }
    for (std::thread &t : threads)
        t.join();
    EXPECT_EQ(mismatches, 0);

    std::vector<uint8_t> tail(100);
    int32_t read = -1;
    EXPECT_EQ(reader->SyncRead(total - 40, 100, tail.data(), read), S_FALSE);
    EXPECT_EQ(read, 40);
    EXPECT_EQ(std::memcmp(tail.data(), expected.constData() + total - 40, 40), 0);
    EXPECT_EQ(reader->SyncRead(total + 10, 100, tail.data(), read), S_FALSE);
    EXPECT_EQ(read, 0);
    EXPECT_EQ(reader->SyncRead(-1, 100, tail.data(), read), E_FAIL);

    HRESULT missing = S_OK;
    const auto none = LoadedSource(TestMedia::Path("no-such-file.avi"), missing);
    EXPECT_EQ(missing, E_FILE_NOT_FOUND);
    EXPECT_TRUE(none->GetPin(0)->MediaTypes().empty());
}
