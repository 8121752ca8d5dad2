#include "framework/ActionCatalogue.h"
#include "framework/BooleanAction.h"
#include "framework/CheckAction.h"
#include "framework/ColorAction.h"
#include "framework/DoubleAction.h"
#include "framework/FontAction.h"
#include "framework/IntegerAction.h"
#include "framework/KSActionList.h"
#include "framework/NopeAction.h"
#include "framework/PointAction.h"
#include "framework/RectAction.h"
#include "framework/WidestringAction.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{

using ActionCatalogue::List;

struct CatalogueCase {
    List list;
    const char *name;
    const char *scriptName;
    const char *switchName;
    const char *shortCut;
    bool stored;
    bool appliedWhenLoaded;
    std::function<bool(TCustomAbstractAction *)> classAndDefault;
};

template <class A, typename T> std::function<bool(TCustomAbstractAction *)> Is(T expected)
{
    return [expected](TCustomAbstractAction *a) {
        auto *typed = dynamic_cast<A *>(a);
        return typed && typed->DefaultValue() == expected;
    };
}

template <class A> std::function<bool(TCustomAbstractAction *)> Is()
{
    return [](TCustomAbstractAction *a) { return dynamic_cast<A *>(a) != nullptr; };
}

// Rows whose names, classes or keys do not follow the usual pattern.
TEST(ActionCatalogue, UnusualRows)
{
    TFont insertFont;
    insertFont.Name = "Arial";
    insertFont.Size = 25;
    insertFont.Color = clYellow;
    insertFont.Bold = true;
    const CatalogueCase cases[] = {
        {List::gpal, "waPrivateFolder", "waLAVFolder", "privf", "", true, true, Is<TWidestringAction>()},
        {List::NavMan, "waStrPosition", "Position", "StrPos", "", true, false,
         Is<TWidestringAction>(QString("0:00:00:00"))},
        {List::vidman, "iaInsertAlignLines", "AlignLines", "ial", "", true, true, Is<TIntegerAction>(2)},
        {List::vidman, "iaBorderColor", "BorderColor", "bcol", "", true, true, Is<TColorAction>(clSilver)},
        {List::gpal, "laInsertFontColor", "InsertFontColor", "ifCol", "", true, false,
         Is<TColorAction>(clBlack)},
        {List::vidman, "caFullscreen", "FullScreen", "fs", "Alt+Enter", false, false,
         Is<TCheckAction>(false)},
        {List::vidman, "faInsertFont", "InsertFont", "", "", true, true, Is<TFontAction>(insertFont)},
        {List::vidman, "daInsertTransparency", "InsertTransparency", "trans", "", true, true,
         Is<TDoubleAction>(1.0)},
        {List::vidman, "paInsertPosition", "InsertPosition", "inpos", "", true, true, Is<TPointAction>()},
        {List::vidman, "caInsertAntiAliasing", "InsertAntiAliasing", "iaa", "Ctrl+G", true, true,
         Is<TCheckAction>(true)},
        {List::gpal, "baInsertAutoSize", "InsertAutoSize", "auto", "Ctrl+\\", true, true,
         Is<TBooleanAction>(true)},
        {List::gpal, "naIntervalloBreak", "IntervalloBreak", "br", "Shift+Ctrl+J", false, false,
         Is<TNopeAction>()},
        {List::gpal, "caConserverScript", "ConserverScript", "", "", true, true, Is<TCheckAction>(true)},
        {List::gpal, "waIncrustPattern2", "IncrustPattern2", "ipat2", "", true, true,
         Is<TWidestringAction>(QString(" \"%F\""))},
        {List::NavMan, "naReculeMinute", "ReculeMinute", "nrm", "Ctrl+Page Down", true, false,
         Is<TNopeAction>()},
        {List::audman, "naIncVolume", "IncVolume", "iv", "Num +", true, false, Is<TNopeAction>()},
        {List::am, "raFormSave", "FormSave", "", "", true, true, Is<TRectAction>()},
        {List::al_script, "naStartMacro", "", "", "F3", true, false, Is<TNopeAction>()},
        {List::ficman, "waRecentFilename10", "RecentFilename10", "", "", true, true, Is<TWidestringAction>()},
        {List::ficman, "naNewFile", "NewFile", "", "", true, false, Is<TNopeAction>()},
        {List::ficman_script, "naNewFile", "NewFile", "", "Ctrl+N", false, false, Is<TNopeAction>()},
        {List::ficman_script, "waSaveFileAs", "SaveFileAs", "", "Shift+Ctrl+S", false, false,
         Is<TWidestringAction>()},
        {List::ficman_script, "waOpenFile", "OpenFile", "", "Ctrl+O", true, false, Is<TWidestringAction>()},
        {List::ficman_script, "baOpenLastFile", "OpenLastFile", "", "", true, true, Is<TBooleanAction>(true)},
    };
    for (const CatalogueCase &c : cases) {
        TKSActionList list;
        ActionCatalogue::CreateActions(list, c.list);
        TCustomAbstractAction *a = list.FindByInternalId(c.name);
        ASSERT_NE(a, nullptr) << c.name;
        EXPECT_EQ(a->Name(), c.name);
        EXPECT_EQ(a->ScriptName, c.scriptName) << c.name;
        EXPECT_EQ(a->Switch, c.switchName) << c.name;
        EXPECT_EQ(ShortCutToText(a->ShortCut()), c.shortCut) << c.name;
        EXPECT_EQ(a->IncludePrefs, c.stored) << c.name;
        EXPECT_EQ(a->ApplyWhenLoad, c.appliedWhenLoaded) << c.name;
        EXPECT_EQ(a->Category, "internal") << c.name;
        EXPECT_TRUE(c.classAndDefault(a)) << c.name;
    }
}

// Preferences load in list order: the main file manager applies the current name before the
// initial folder, the script window's the other way round.
TEST(ActionCatalogue, FileManagersLoadTheNameAndTheFolderInTheirOrder)
{
    for (const auto &[which, folderFirst] :
         {std::pair{List::ficman, false}, std::pair{List::ficman_script, true}}) {
        TKSActionList list;
        ActionCatalogue::CreateActions(list, which);
        QStringList names;
        for (const TCustomAbstractAction *a : list.Actions())
            names << a->Name();
        EXPECT_EQ(names.indexOf("waInitialDir") < names.indexOf("waCurrentFileName"), folderFirst)
            << names.join(' ').toStdString();
        EXPECT_EQ(names.indexOf("baOpenLastFile"), names.indexOf("waCurrentFileName") + 1)
            << "the open file is stored before the switch that reopens it";
    }
}

TEST(ActionCatalogue, EveryListIsCompleteAndItsNamesAreUnique)
{
    const std::pair<List, int> sizes[] = {{List::am, 9},        {List::gpal, 67},         {List::NavMan, 21},
                                          {List::vidman, 21},   {List::audman, 5},        {List::ficman, 30},
                                          {List::al_script, 4}, {List::ficman_script, 30}};
    for (const auto &[which, size] : sizes) {
        TKSActionList list;
        EXPECT_EQ(ActionCatalogue::CreateActions(list, which), size)
            << ActionCatalogue::ListName(which).toStdString();
        QStringList names, switches;
        for (const TCustomAbstractAction *a : list.Actions()) {
            names << a->Name();
            if (!a->Switch.isEmpty())
                switches << a->Switch.toLower();
            // Every action's name carries the prefix of its class.
            EXPECT_EQ(a->Name().size() > 2 && a->Name().at(0).isLower() && a->Name().at(1) == 'a', true)
                << a->Name().toStdString();
        }
        EXPECT_EQ(names.removeDuplicates(), 0);
        EXPECT_EQ(switches.removeDuplicates(), 0);
    }
}

} // namespace
