#include "framework/TessalyPreferences.h"
#include "ClosingAnswer.h"
#include "framework/IniPreferencesMan.h"
#include "framework/SavePrefsForm.h"
#include "platform/registry/RegistryKey.h"
#include "platform/registry/RegistryStore.h"
#include "platform/shell/DialogService.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

class Preferences : public testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        registry = std::make_unique<RegistryStore>(dir.filePath("config/registry.reg"));
    }
    void TearDown() override { DialogService::Install(nullptr); }

    std::unique_ptr<TTessalyPreferences> MakeGp()
    {
        auto gp = std::make_unique<TTessalyPreferences>("Kestrin", dir.path() + "/", registry.get());
        gp->version = "Kestrin 0.1";
        return gp;
    }
    ClosingAnswer &Install(std::optional<TSavePreferences> mode)
    {
        auto answer = std::make_unique<ClosingAnswer>(mode);
        ClosingAnswer &ref = *answer;
        DialogService::Install(std::move(answer));
        return ref;
    }
    QStringList IniLines() const
    {
        QFile f(dir.filePath("Kestrin.ini"));
        return f.open(QIODevice::ReadOnly) ? TIniPreferencesMan::DecodeLines(f.readAll()) : QStringList();
    }

    QTemporaryDir dir;
    std::unique_ptr<RegistryStore> registry;
};

// What a main window saves: one value in each window's key.
void SaveTwoWindows(TTessalyPreferences &gp)
{
    gp.OpenKey("ShowForm");
    gp.WriteInteger("NextNum", 7);
    gp.CloseKey();
    gp.OpenKey("ScriptForm");
    gp.WriteBool("Script", false);
    gp.CloseKey();
}

} // namespace

TEST_F(Preferences, FirstStartAnsweredPortableWritesTheIniFileInOrder)
{
    auto gp = MakeGp();
    bool loaded = false;
    gp->OnLoadPrefs = [&](TTessalyPreferences &p) {
        loaded = true;
        EXPECT_EQ(p.ReadInteger("NextNum", 1), 1) << "no store: defaults";
    };
    gp->OnSavePrefs = SaveTwoWindows;
    gp->LoadAtStart();
    EXPECT_TRUE(loaded);
    EXPECT_EQ(gp->Mode(), spNone);
    ClosingAnswer &answer = Install(spPortable);
    EXPECT_TRUE(gp->SaveAtClosing());
    EXPECT_EQ(answer.asked, 1);
    EXPECT_EQ(gp->SavePrefsForm().windowTitle(), "Saving the preferences of Kestrin");
    gp.reset(); // the INI backend writes its file when it goes

    const QStringList lines = IniLines();
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines[0], "[]");
    EXPECT_EQ(lines[1], "Version=Kestrin 0.1");
    EXPECT_TRUE(lines[2].startsWith(QString::fromUtf8("Dernière Sauvegarde=20")));
    EXPECT_TRUE(lines[3].startsWith("ExeName=/"));
    EXPECT_EQ(lines.mid(4), (QStringList{"", "[ShowForm]", "NextNum=7", "", "[ScriptForm]", "Script=False"}));

    auto again = MakeGp();
    int read = 0;
    again->OnLoadPrefs = [&](TTessalyPreferences &p) {
        p.OpenKey("ShowForm");
        read = p.ReadInteger("NextNum", 1);
        p.CloseKey();
    };
    again->LoadAtStart();
    EXPECT_EQ(again->Mode(), spPortable);
    EXPECT_EQ(read, 7);
}

TEST_F(Preferences, DismissingTheClosingQuestionRefusesTheClosingAndSavesNothing)
{
    auto gp = MakeGp();
    gp->LoadAtStart();
    Install(std::nullopt);
    bool saved = false;
    gp->OnSavePrefs = [&](TTessalyPreferences &) { saved = true; };
    EXPECT_FALSE(gp->SaveAtClosing());
    EXPECT_FALSE(saved);
    EXPECT_EQ(gp->Mode(), spNone);
    EXPECT_FALSE(QFile::exists(dir.filePath("Kestrin.ini")));
}

TEST_F(Preferences, ModeChangesDeleteTheOtherStoresAndOnlyThisProgramsKey)
{
    {
        RegistryKey other;
        ASSERT_EQ(other.Open(*registry, "Software\\Marvo Tessaly\\OtherTool", KeyOpening::CreateIfMissing),
                  S_OK);
        other.WriteString("Kept", "yes");
    }
    auto gp = MakeGp();
    std::vector<TSavePreferences> shown;
    gp->OnChangeMode = [&](TSavePreferences m) { shown.push_back(m); };
    gp->SetMode(spPortable);
    gp->WriteString("Version", "x");
    gp->SetMode(spRegistre);
    EXPECT_FALSE(QFile::exists(dir.filePath("Kestrin.ini"))) << "portable to normal deletes the INI at once";
    EXPECT_TRUE(registry->KeyExists(gp->RegistryKeyPath()));
    gp->SetMode(spNone);
    EXPECT_FALSE(registry->KeyExists(gp->RegistryKeyPath()));
    EXPECT_TRUE(registry->KeyExists("Software\\Marvo Tessaly\\OtherTool")) << "another program's key stays";
    EXPECT_EQ(shown, (std::vector<TSavePreferences>{spPortable, spRegistre, spNone}));

    registry->DeleteKeyTree("Software\\Marvo Tessaly\\OtherTool");
    gp->SetMode(spRegistre);
    gp->SetMode(spPortable);
    EXPECT_FALSE(registry->KeyExists("Software\\Marvo Tessaly")) << "the maker's key goes once empty";
}

TEST_F(Preferences, WithBothStoresAtStartTheIniFileWins)
{
    {
        auto gp = MakeGp();
        gp->SetMode(spRegistre);
    }
    ASSERT_TRUE(registry->KeyExists("Software\\Marvo Tessaly\\Kestrin"));
    QFile ini(dir.filePath("Kestrin.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[]\r\n");
    ini.close();
    auto gp = MakeGp();
    gp->LoadAtStart();
    EXPECT_EQ(gp->Mode(), spPortable);
    EXPECT_FALSE(registry->KeyExists("Software\\Marvo Tessaly\\Kestrin"));
}

TEST_F(Preferences, CompoundValuesRoundTripInBothBackends)
{
    for (TSavePreferences mode : {spPortable, spRegistre}) {
        auto gp = MakeGp();
        gp->SetMode(mode);
        TFont font;
        font.Name = "Arial";
        font.Size = 16;
        font.Color = 0x800000;
        font.Bold = true;
        font.StrikeOut = true;
        ASSERT_TRUE(gp->OpenKey("ShowForm"));
        EXPECT_TRUE(gp->WritePoint("InsertPosition", QPoint(5000, -8200)));
        EXPECT_TRUE(gp->WriteRect("FormSave", TRect{10, 20, 810, 620}));
        EXPECT_TRUE(gp->WriteFont("InsertFont", font));
        EXPECT_TRUE(gp->WriteFloat("DecalageHoraire", 1.0 / 24));
        EXPECT_TRUE(gp->WriteString("Root", QString::fromUtf8("été")));
        EXPECT_EQ(gp->ReadPoint("InsertPosition", {}), QPoint(5000, -8200)) << mode;
        EXPECT_EQ(gp->ReadRect("FormSave", {}), (TRect{10, 20, 810, 620})) << mode;
        TFont read;
        gp->ReadFont("InsertFont", read, TFont{});
        EXPECT_EQ(read, font) << mode;
        EXPECT_EQ(gp->ReadFloat("DecalageHoraire", 0), 1.0 / 24) << mode;
        EXPECT_EQ(gp->ReadString("root", ""), QString::fromUtf8("été")) << mode;
        // A missing rectangle reads as its default and leaves the key as it was.
        EXPECT_EQ(gp->ReadRect("PreviewSave", TRect{1, 2, 3, 4}), (TRect{1, 2, 3, 4}));
        EXPECT_EQ(gp->ReadPoint("InsertPosition", {}), QPoint(5000, -8200)) << "still reading from ShowForm";
        EXPECT_EQ(gp->ReadPoint("Half", QPoint(3, 3)), QPoint(3, 3));
        gp->CloseKey();
    }
}

TEST_F(Preferences, RegistryLayoutUsesThePlatformsTypes)
{
    auto gp = MakeGp();
    gp->SetMode(spRegistre);
    gp->WriteString("S", "ab");
    gp->WriteBool("B", true);
    gp->WriteInteger("I", -2);
    gp->WriteFloat("F", 0.5);
    gp.reset();
    RegistryKey key;
    ASSERT_EQ(key.Open(*registry, "Software\\Marvo Tessaly\\Kestrin", KeyOpening::ExistingOnly), S_OK);
    RegistryValueType type;
    qsizetype size = 0;
    ASSERT_TRUE(key.QueryValue("S", type, size));
    EXPECT_EQ(type, RegistryValueType::String);
    EXPECT_EQ(size, 6) << "two characters and the terminating zero";
    EXPECT_EQ(key.ReadDword("B"), 1u);
    EXPECT_EQ(key.ReadDword("I"), 0xFFFFFFFEu);
    ASSERT_TRUE(key.QueryValue("F", type, size));
    EXPECT_EQ(type, RegistryValueType::Binary);
    EXPECT_EQ(size, 8);

    // A DWORD other than 0 or 1 leaves a Boolean at its default.
    key.WriteDword("B", 2);
    key.Close();
    auto again = MakeGp();
    again->SetMode(spRegistre);
    EXPECT_TRUE(again->ReadBool("B", true));
    EXPECT_FALSE(again->ReadBool("B", false));
}

TEST_F(Preferences, WithoutAStoreReadsGiveDefaultsAndWritesFail)
{
    auto gp = MakeGp();
    EXPECT_FALSE(gp->WriteInteger("N", 3));
    EXPECT_EQ(gp->ReadInteger("N", 9), 9);
    EXPECT_FALSE(gp->OpenKey("ShowForm"));
    TFont font;
    font.Name = "Before";
    gp->ReadFont("F", font, TFont{});
    EXPECT_EQ(font, TFont{});
}
