#include "platform/graph/MediaGuids.h"
#include "platform/graph/PrivateFactory.h"
#include "platform/graph/TransInPlaceFilter.h"

#include <gtest/gtest.h>

namespace
{

// The class the test plugin makes.
const Guid PluginClass = *Guid::FromString("{0D6C3B2A-1F4E-4A5B-8C7D-9E0F1A2B3C4D}");

} // namespace

TEST(PrivateFactory, CreatesFiltersFromALoadedLibrary)
{
    auto factory = PrivateFactory::Load(GRAPH_TEST_PLUGIN, PluginClass);
    ASSERT_TRUE(factory->HasLibrary());
    ASSERT_TRUE(factory->HasFactory());
    std::shared_ptr<Filter> filter;
    ASSERT_EQ(factory->CreateInstance(filter), S_OK);
    EXPECT_EQ(filter->ClassId(), PluginClass);
    EXPECT_EQ(filter->Name(), "Plugin Pass-through");
    auto *transform = filter->Query<TransInPlaceFilter>();
    ASSERT_NE(transform, nullptr);

    // The filter keeps its library loaded after the factory is freed.
    factory.reset();
    EXPECT_EQ(filter->PinCount(), 2u);
    MediaType video;
    video.majortype = MEDIATYPE_Video;
    EXPECT_EQ(transform->Input()->CheckMediaType(video), S_OK);
    video.majortype = MEDIATYPE_Audio;
    EXPECT_EQ(transform->Input()->CheckMediaType(video), VFW_E_TYPE_NOT_ACCEPTED);
}

TEST(PrivateFactory, LibrariesWithoutTheClassLeaveAnEmptyFactory)
{
    struct Case {
        const char *name;
        std::string path;
        Guid classId;
        bool library;
    };
    const Case cases[] = {
        {"unknown class", GRAPH_TEST_PLUGIN, *Guid::FromString("{11111111-2222-3333-4444-555555555555}"),
         true},
        {"missing library", "/nonexistent/LAV/LAVVideo.so", PluginClass, false},
        {"not a library", "/etc/hostname", PluginClass, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto factory = PrivateFactory::Load(c.path, c.classId);
        EXPECT_EQ(factory->HasLibrary(), c.library);
        EXPECT_FALSE(factory->HasFactory());
        std::shared_ptr<Filter> filter;
        EXPECT_EQ(factory->CreateInstance(filter), E_FAIL);
        EXPECT_FALSE(filter);
    }
}
