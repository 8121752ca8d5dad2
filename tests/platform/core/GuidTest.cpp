#include "platform/core/Guid.h"
#include "platform/core/Result.h"

#include <gtest/gtest.h>

#include <unordered_set>

TEST(Guid, TextRoundTripsInUpperCaseBraceForm)
{
    const char *texts[] = {"{B98D13E7-55DB-4385-A33D-09FD1BA26338}", "{00000000-0000-0000-0000-000000000000}",
                           "{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}",
                           "{51B4ABF3-748F-4E3B-A276-C828330E926A}"};
    for (const char *text : texts) {
        auto g = Guid::FromString(text);
        ASSERT_TRUE(g) << text;
        EXPECT_EQ(g->ToString(), text);
    }
    auto lower = Guid::FromString("51b4abf3-748f-4e3b-a276-c828330e926a");
    ASSERT_TRUE(lower);
    EXPECT_EQ(lower->ToString(), "{51B4ABF3-748F-4E3B-A276-C828330E926A}");
    EXPECT_EQ(lower->Data1, 0x51B4ABF3u);
    EXPECT_EQ(lower->Data4[7], 0x6A);
}

TEST(Guid, MalformedTextIsRefused)
{
    const char *bad[] = {"",
                         "{}",
                         "{51B4ABF3-748F-4E3B-A276-C828330E926A",
                         "51B4ABF3-748F-4E3B-A276-C828330E926A}",
                         "{51B4ABF3-748F-4E3B-A276C828330E926A0}",
                         "{51B4ABF3-748F-4E3B-A276-C828330E926G}",
                         "{51B4ABF3 748F-4E3B-A276-C828330E926A}",
                         "{51B4ABF3-748F-4E3B-A276-C828330E926A0}"};
    for (const char *text : bad)
        EXPECT_FALSE(Guid::FromString(text)) << text;
}

TEST(Guid, FourCCSubtypesUseTheFourCCBase)
{
    Guid dvsd = Guid::FromFourCC("dvsd");
    EXPECT_EQ(dvsd.ToString(), "{64737664-0000-0010-8000-00AA00389B71}");
    EXPECT_TRUE(dvsd.IsFourCC());
    EXPECT_EQ(Guid::FromFourCC(0x0001).ToString(), "{00000001-0000-0010-8000-00AA00389B71}");
    EXPECT_FALSE(Guid::FromString("{E436EB7E-524F-11CE-9F53-0020AF0BA770}")->IsFourCC());
}

TEST(Guid, NullComparisonAndHashing)
{
    EXPECT_TRUE(GUID_NULL.IsNull());
    Guid a = *Guid::FromString("{B98D13E7-55DB-4385-A33D-09FD1BA26338}");
    Guid b = a;
    b.Data4[7] ^= 1;
    EXPECT_FALSE(a.IsNull());
    EXPECT_NE(a, b);
    EXPECT_TRUE(a < b || b < a);
    std::unordered_set<Guid> set{a, b, a};
    EXPECT_EQ(set.size(), 2u);
}

TEST(Result, SuccessFailureAndTexts)
{
    EXPECT_TRUE(SUCCEEDED(S_OK));
    EXPECT_TRUE(SUCCEEDED(S_FALSE));
    EXPECT_TRUE(SUCCEEDED(VFW_S_STATE_INTERMEDIATE));
    EXPECT_TRUE(FAILED(E_FAIL));
    EXPECT_TRUE(FAILED(VFW_E_TYPE_NOT_ACCEPTED));
    EXPECT_EQ(uint32_t(VFW_S_STATE_INTERMEDIATE), 0x00040237u);
    EXPECT_EQ(ResultText(E_FAIL), "Unspecified error.");
    EXPECT_EQ(ResultText(MakeResult(0x80041234)), "Unknown error 0x80041234.");
}
