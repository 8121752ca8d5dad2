#include "platform/graph/ClassRegistry.h"
#include "platform/graph/CodecMediaType.h"
#include "platform/graph/DecoderClasses.h"
#include "platform/graph/LavSplitterSource.h"
#include "platform/graph/MediaGuids.h"

#include <gtest/gtest.h>

namespace
{

MediaType TypeOf(const Guid &major, const Guid &subtype)
{
    MediaType type;
    type.majortype = major;
    type.subtype = subtype;
    return type;
}

std::vector<std::string> Names(const std::vector<const FilterClass *> &classes)
{
    std::vector<std::string> names;
    for (const FilterClass *c : classes)
        names.push_back(c->name);
    return names;
}

} // namespace

TEST(ClassRegistry, DecodersForATypeComeNativeFirstWithoutHardwareWrappers)
{
    struct Case {
        MediaType type;
        std::vector<std::string> firstTwo;
    };
    const Case cases[] = {
        {TypeOf(MEDIATYPE_Video, MEDIASUBTYPE_AVC1), {"FFmpeg Video Decoder (h264)"}},
        {TypeOf(MEDIATYPE_Video, MEDIASUBTYPE_MPEG2_VIDEO),
         {"FFmpeg Video Decoder (mpeg2video)", "FFmpeg Video Decoder (mpegvideo)"}},
        {TypeOf(MEDIATYPE_Audio, MediaGuids::FourCC(0x00FF)),
         {"FFmpeg Audio Decoder (aac)", "FFmpeg Audio Decoder (aac_fixed)"}},
    };
    for (const Case &c : cases) {
        const auto names = Names(ClassRegistry::Default().ClassesTaking(c.type));
        ASSERT_GE(names.size(), c.firstTwo.size());
        EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + c.firstTwo.size()), c.firstTwo);
        for (const std::string &name : names)
            for (const char *hardware : {"cuvid", "qsv", "v4l2m2m"})
                EXPECT_EQ(name.find(hardware), std::string::npos) << name;
    }
}

TEST(ClassRegistry, DecoderClassIdsComeFromTheDecoderName)
{
    // Fixed values: remembered decoder choices must survive a restart.
    EXPECT_EQ(DecoderClassId("h264").ToString(), "{5F43DAC6-D889-51C6-9669-F9220392E124}");
    EXPECT_NE(DecoderClassId("aac"), DecoderClassId("aac_fixed"));
    const FilterClass *h264 = ClassRegistry::Default().Find(DecoderClassId("h264"));
    ASSERT_NE(h264, nullptr);
    EXPECT_EQ(h264->name, "FFmpeg Video Decoder (h264)");
    std::shared_ptr<Filter> made;
    ASSERT_EQ(ClassRegistry::Default().CreateInstance(h264->classId, made), S_OK);
    EXPECT_EQ(made->ClassId(), h264->classId);
}

TEST(ClassRegistry, LooksUpByNameAndCategoryAndRefusesUnknownClasses)
{
    ClassRegistry registry;
    const Guid a = *Guid::FromString("{00000001-0000-0000-0000-000000000001}");
    const Guid b = *Guid::FromString("{00000002-0000-0000-0000-000000000002}");
    registry.Register({a, "Low", MERIT_UNLIKELY, CLSID_LegacyAmFilterCategory, {}, {}, nullptr});
    registry.Register({b, "High", MERIT_PREFERRED, CLSID_LegacyAmFilterCategory, {}, {}, nullptr});
    registry.Register({a, "Low again", MERIT_NORMAL, CLSID_AudioRendererCategory, {}, {}, nullptr});

    EXPECT_EQ(registry.FindByName("High")->classId, b);
    EXPECT_EQ(registry.Find(a)->name, "Low again"); // the later registration hides the earlier
    EXPECT_EQ(Names(registry.Classes(CLSID_LegacyAmFilterCategory)), std::vector<std::string>{"High"});
    EXPECT_EQ(Names(registry.Classes(CLSID_AudioRendererCategory)), std::vector<std::string>{"Low again"});
    std::shared_ptr<Filter> made;
    EXPECT_EQ(registry.CreateInstance(a, made), REGDB_E_CLASSNOTREG); // no way to create it
    EXPECT_EQ(registry.CreateInstance(GUID_NULL, made), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(ClassRegistry::Default().FindByName("LAV Splitter Source")->classId, CLSID_LAVSplitterSource);
}
