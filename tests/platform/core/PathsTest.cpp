#include "platform/core/Paths.h"

#include <gtest/gtest.h>

using namespace Paths;

TEST(Paths, PartsOfAPath)
{
    const struct {
        const char *path, *name, *folder, *dir, *ext;
    } cases[] = {
        {"/home/u/holiday.2010.avi", "holiday.2010.avi", "/home/u/", "/home/u", ".avi"},
        {"/home/u.v/clip", "clip", "/home/u.v/", "/home/u.v", ""}, // a dot in a folder is no extension
        {"/home/u/.config/app.conf", "app.conf", "/home/u/.config/", "/home/u/.config", ".conf"},
        {"archive.tar.gz", "archive.tar.gz", "", "", ".gz"},
        {"/v/.hidden", ".hidden", "/v/", "/v", ".hidden"},
        {"/v/name.", "name.", "/v/", "/v", "."},
        {"/clip.dv", "clip.dv", "/", "/", ".dv"},
        {"/home/u/", "", "/home/u/", "/home/u", ""},
        {"a/b", "b", "a/", "a", ""},
        {"//net/clip", "clip", "//net/", "//net", ""},
        {"//clip", "clip", "//", "//", ""},
        {"", "", "", "", ""},
        {"C:\\V\\a.b.mpg", "C:\\V\\a.b.mpg", "", "", ".mpg"}, // only "/" separates folders
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ExtractFileName(c.path), c.name) << c.path;
        EXPECT_EQ(ExtractFilePath(c.path), c.folder) << c.path;
        EXPECT_EQ(ExtractFileDir(c.path), c.dir) << c.path;
        EXPECT_EQ(ExtractFileExt(c.path), c.ext) << c.path;
    }
}

TEST(Paths, ChangeFileExt)
{
    const struct {
        const char *path, *extension, *result;
    } cases[] = {
        {"/v/clip.avi", ".scn", "/v/clip.scn"},
        {"a.b.avi", ".bmp", "a.b.bmp"},
        {"/v.x/clip", ".srt", "/v.x/clip.srt"}, // no extension: appended
        {"/v/clip.avi", "", "/v/clip"},
        {"/v/.hidden", ".txt", "/v/.txt"},
        {"/v/", ".kss", "/v/.kss"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ChangeFileExt(c.path, c.extension), c.result) << c.path << " " << c.extension;
}

TEST(Paths, TrailingDelimiter)
{
    const struct {
        const char *path, *included, *excluded;
    } cases[] = {
        {"/pics", "/pics/", "/pics"}, {"/pics/", "/pics/", "/pics"}, {"/", "/", "/"}, {"", "/", ""},
        {"pics", "pics/", "pics"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(IncludeTrailingPathDelimiter(c.path), c.included) << c.path;
        EXPECT_EQ(ExcludeTrailingPathDelimiter(c.path), c.excluded) << c.path;
    }
}
