#include "grab/ImageName.h"
#include "support/QStringPrinter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

void Touch(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

// Sets an environment variable for the life of the object, then puts the old value back.
class ScopedEnvironment
{
  public:
    ScopedEnvironment(const char *name, const QByteArray &value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnvironment()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

  private:
    const char *name_;
    bool had_;
    QByteArray old_;
};

} // namespace

TEST(ImageName, NumberTextIsPaddedToTheDigitsAndNeverCut)
{
    const struct {
        int number, digits;
        const char *text;
    } cases[] = {
        {0, 3, "000"}, {7, 3, "007"}, {100, 1, "100"}, {12345, 3, "12345"}, {999999, 16, "0000000000999999"},
        {5, 0, "5"},   {0, 0, "0"},   {42, -4, "42"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ImageName::NumberText(c.number, c.digits), c.text) << c.number << " with " << c.digits;
    EXPECT_EQ(ImageName::NumberText(1, 1'000'000'000).size(), 255)
        << "padding bounded by a file name's length";
}

TEST(ImageName, RootFromTheSettingsOrTheVideoName)
{
    const struct {
        int nomFichierImage;
        const char *videoPath;
        bool limit;
        int length;
        const char *root;
    } cases[] = {
        {0, "/v/holiday.avi", false, 8, "Kestrin"},
        {1, "/v/clip", false, 8, "clip"},
        {1, "/v/a.b.c.mpg", false, 8, "a.b.c"},
        {1, "/v/holiday.2010.avi", true, 8, "holiday."},
        {1, "/v/holiday.2010.avi", true, 0, ""},
        {1, "/v/holiday.2010.avi", true, -3, ""},
        {1, "/v/holiday.2010.avi", false, 0, "holiday.2010"},
        {1, "/v.d/clip", false, 8, "clip"},
        {1, "", false, 8, ""},
        {1, "/v/\U0001F985bird.mp4", true, 1, ""}, // never half a character
        {1, "/v/\U0001F985bird.mp4", true, 2, "\U0001F985"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(
            ImageName::Root(c.nomFichierImage, "Kestrin", QString::fromUtf8(c.videoPath), c.limit, c.length),
            QString::fromUtf8(c.root))
            << c.videoPath << " limit " << c.limit << " length " << c.length;
}

TEST(ImageName, TimeStampsUseDotsAndCarryIntoTheNextSecond)
{
    const struct {
        int64_t position, frameDuration;
        const char *text;
    } cases[] = {
        {0, 0, "0.00.00.00"},
        {14'800'000, 400'000, "0.00.01.12"},
        {9'999'990, 333'333, "0.00.01.00"}, // the thirtieth frame at 30 per second
        {29 * 333'333, 333'333, "0.00.00.29"},
        {36'000'000'000, 400'000, "1.00.00.00"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ImageName::TimeStampText(c.position, c.frameDuration), c.text) << c.position;
}

TEST(ImageName, PathFromFolderRootSuffixAndExtension)
{
    EXPECT_EQ(ImageName::Compose("/pics", "Kestrin", "007", false), "/pics/Kestrin_007.bmp");
    EXPECT_EQ(ImageName::Compose("/pics/", "Kestrin", "0.00.01.12", true), "/pics/Kestrin_0.00.01.12.jpg");
    EXPECT_EQ(ImageName::Compose("", "", "001", false), "/_001.bmp")
        << "an empty folder becomes the separator";
    const std::pair<int, bool> extensions[] = {{0, false}, {1, true}, {2, true}, {-1, true}};
    for (const auto &[setting, jpeg] : extensions)
        EXPECT_EQ(ImageName::IsJpeg(setting), jpeg) << setting;
}

TEST(ImageName, DefaultFolderIsTheFirstExistingOfPicturesDocumentsAndHome)
{
    QTemporaryDir home;
    const QString pictures = home.filePath("Bilder"), documents = home.filePath("Dokumente");
    QDir(home.path()).mkpath("config");
    QFile dirs(home.filePath("config/user-dirs.dirs"));
    ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
    dirs.write(
        QString("XDG_PICTURES_DIR=\"%1\"\nXDG_DOCUMENTS_DIR=\"%2\"\n").arg(pictures, documents).toUtf8());
    dirs.close();
    ScopedEnvironment homeVariable("HOME", home.path().toUtf8());
    ScopedEnvironment config("XDG_CONFIG_HOME", home.filePath("config").toUtf8());

    EXPECT_EQ(ImageName::DefaultPicturesFolder(), home.path() + "/") << "neither folder exists";
    ASSERT_TRUE(QDir().mkpath(documents));
    EXPECT_EQ(ImageName::DefaultPicturesFolder(), documents + "/");
    ASSERT_TRUE(QDir().mkpath(pictures));
    EXPECT_EQ(ImageName::DefaultPicturesFolder(), pictures + "/");
}

TEST(ImageName, SaveFolderViewPrefersTheNextImageThenTheFirstOfItsRootThenTheFolder)
{
    using View = ImageName::SaveFolderView;
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    ASSERT_TRUE(QDir().mkpath(folder + "shots"));
    EXPECT_EQ(ImageName::FindSaveFolderView(folder + "shots/K_001.bmp", folder + "shots", "K"),
              (View{View::OpenFolder, folder + "shots/"}));
    EXPECT_EQ(ImageName::FindSaveFolderView(folder + "none/K_001.bmp", folder + "none", "K"), View{});

    Touch(folder + "shots/K_007.jpg");
    Touch(folder + "shots/K_003.bmp");
    Touch(folder + "shots/Kx_001.bmp");
    Touch(folder + "shots/[K]_001.bmp");
    EXPECT_EQ(ImageName::FindSaveFolderView(folder + "shots/K_001.bmp", folder + "shots", "K"),
              (View{View::SelectFile, folder + "shots/K_003.bmp"}));
    EXPECT_EQ(ImageName::FindSaveFolderView(folder + "shots/[K]_002.bmp", folder + "shots", "[K]"),
              (View{View::SelectFile, folder + "shots/[K]_001.bmp"}))
        << "the root is matched as text, not as a pattern";
    EXPECT_EQ(ImageName::FindSaveFolderView(folder + "shots/K_007.jpg", folder + "shots", "K"),
              (View{View::SelectFile, folder + "shots/K_007.jpg"}));
}
