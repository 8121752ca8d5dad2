#include "framework/ActionCatalogue.h"
#include "framework/CheckAction.h"
#include "framework/DoubleAction.h"
#include "framework/IntegerAction.h"
#include "framework/KSActionList.h"
#include "framework/KSSwitch.h"
#include "framework/NopeAction.h"
#include "framework/WidestringAction.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <memory>

namespace
{

using ActionCatalogue::List;

// The program's lists as the main window wires them: the six of the main window hooked to the
// switch in the program's order, the script window's two lists not.
class CommandLineTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        commandLine.MainWindow = &window;
        for (List which : {List::am, List::gpal, List::vidman, List::audman, List::NavMan, List::ficman,
                           List::al_script, List::ficman_script}) {
            auto list = std::make_unique<TKSActionList>();
            ActionCatalogue::CreateActions(*list, which);
            if (which != List::al_script && which != List::ficman_script)
                list->SetSwitch(&commandLine);
            lists[which] = std::move(list);
        }
        grab()->InternalApply = [this] { ++grabs; };
        window.show();
    }

    template <class A> A *Action(List list, const char *name)
    {
        return dynamic_cast<A *>(lists[list]->FindByInternalId(QString::fromLatin1(name)));
    }
    TNopeAction *grab() { return Action<TNopeAction>(List::gpal, "naGrab"); }
    TCheckAction *fullScreen() { return Action<TCheckAction>(List::vidman, "caFullscreen"); }
    TIntegerAction *nextNum() { return Action<TIntegerAction>(List::gpal, "iaNextNum"); }

    QWidget window;
    TKSSwitch commandLine;
    std::map<List, std::unique_ptr<TKSActionList>> lists;
    int grabs = 0;
};

struct RunCase {
    QStringList arguments;
    bool fullScreenBefore;
    int grabs;
    bool fullScreenAfter;
    int nextNum; // INT_MIN: left alone (it starts at 1)
    bool closes;
};

TEST_F(CommandLineTest, ArgumentsRunByModeAndName)
{
    const RunCase cases[] = {
        {{"/G"}, false, 1, false, INT_MIN, false},
        {{"/g"}, false, 1, false, INT_MIN, false},
        {{"+g"}, false, 1, false, INT_MIN, false},
        {{"-g=ignored"}, false, 1, false, INT_MIN, false},
        {{"g"}, false, 0, false, INT_MIN, false},
        {{"/fs"}, false, 0, true, INT_MIN, false},
        {{"/fs"}, true, 0, false, INT_MIN, false},
        {{"/fs", "/fs"}, false, 0, false, INT_MIN, false},
        {{"+fs"}, false, 0, true, INT_MIN, false},
        {{"+fs"}, true, 0, true, INT_MIN, false},
        {{"-fs"}, true, 0, false, INT_MIN, false},
        {{"fs=1"}, false, 0, false, INT_MIN, false},
        {{"/fs=true"}, true, 0, false, INT_MIN, false},
        {{"/FS=false"}, false, 0, true, INT_MIN, false},
        {{"/n"}, false, 0, false, -1, false},
        {{"/n=abc"}, false, 0, false, -1, false},
        {{"/n=$10"}, false, 0, false, 16, false},
        {{"/N=7", "/n=8"}, false, 0, false, 8, false},
        {{"/nosuch", "/", "+", "=5", "/=5", "/g"}, false, 1, false, INT_MIN, false},
        {{"/g", "/QUIT"}, false, 1, false, INT_MIN, true},
        {{"/quit", "/g", "/n=3"}, false, 1, false, 3, true},
        {{"+quit=now"}, false, 0, false, INT_MIN, true},
        {{}, false, 0, false, INT_MIN, false},
    };
    for (const RunCase &c : cases) {
        const QString what = c.arguments.join(' ');
        window.show();
        grabs = 0;
        fullScreen()->SetPlainChecked(c.fullScreenBefore);
        nextNum()->SetValue(1);
        commandLine.Run(c.arguments);
        EXPECT_EQ(grabs, c.grabs) << what.toStdString();
        EXPECT_EQ(fullScreen()->Checked(), c.fullScreenAfter) << what.toStdString();
        EXPECT_EQ(nextNum()->Value(), c.nextNum == INT_MIN ? 1 : c.nextNum) << what.toStdString();
        EXPECT_EQ(window.isVisible(), !c.closes) << what.toStdString();
    }
}

TEST_F(CommandLineTest, QuitClosesOnlyAfterEveryOtherEntryRan)
{
    bool visibleAtGrab = false;
    grab()->InternalApply = [&] { visibleAtGrab = window.isVisible(); };
    commandLine.Run({"/quit", "/g"});
    EXPECT_TRUE(visibleAtGrab);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(CommandLineTest, NamesAreFoundWithoutRegardToCase)
{
    int shown = 0;
    Action<TNopeAction>(List::gpal, "naShowSaveImagesFrame")->InternalApply = [&] { ++shown; };
    commandLine.Run({"/SHSAV", "/shsav", "+ShSaV"});
    EXPECT_EQ(shown, 3);
}

TEST_F(CommandLineTest, ValuesReachTheirActionsWholeAndUnchanged)
{
    commandLine.Run({"/o=/tmp/with blank/Clip \"One\".avi", "/trans=x", "/root=Holiday=2024"});
    EXPECT_EQ(Action<TWidestringAction>(List::ficman, "waOpenFile")->Value(),
              "/tmp/with blank/Clip \"One\".avi");
    EXPECT_EQ(Action<TDoubleAction>(List::vidman, "daInsertTransparency")->Value(), 0.0);
    EXPECT_EQ(Action<TWidestringAction>(List::gpal, "waDefaultRacine")->Value(), "Holiday=2024");
    EXPECT_EQ(Action<TWidestringAction>(List::ficman_script, "waOpenFile")->Value(), "")
        << "the script window's file manager is not reached";
}

TEST_F(CommandLineTest, ScriptWindowListsAreNotInTheTable)
{
    // Even with switch names of their own, the script window's actions are out of reach.
    auto *macro = Action<TNopeAction>(List::al_script, "naExecuteMacro");
    auto *newScript = Action<TNopeAction>(List::ficman_script, "naNewFile");
    macro->Switch = "xm";
    newScript->Switch = "snew";
    int runs = 0;
    macro->InternalApply = newScript->InternalApply = [&] { ++runs; };
    commandLine.Run({"/xm", "/snew", "/NewFile", "/ExecuteMacro"});
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(commandLine.Find("xm"), nullptr);
    EXPECT_EQ(commandLine.Find("o"), Action<TWidestringAction>(List::ficman, "waOpenFile"));
}

TEST_F(CommandLineTest, DisabledActionsAreSkipped)
{
    grab()->setEnabled(false);
    fullScreen()->setEnabled(false);
    commandLine.Run({"/g", "+fs", "/n=4"});
    EXPECT_EQ(grabs, 0);
    EXPECT_FALSE(fullScreen()->Checked());
    EXPECT_EQ(nextNum()->Value(), 4);
}

TEST_F(CommandLineTest, EventsAreProcessedBetweenEntriesWhileExecuting)
{
    bool timerFired = false;
    bool executingDuringGrab = false;
    grab()->InternalApply = [&] {
        executingDuringGrab = commandLine.Executing();
        QTimer::singleShot(0, [&] { timerFired = true; });
    };
    bool firedBeforeNextEntry = false;
    nextNum()->InternalApply = [&](const int &) { firedBeforeNextEntry = timerFired; };
    commandLine.Run({"/g", "/n=2"});
    EXPECT_TRUE(executingDuringGrab);
    EXPECT_TRUE(firedBeforeNextEntry);
    EXPECT_FALSE(commandLine.Executing());
}

TEST_F(CommandLineTest, EmptyTableRecognisesNothingNotEvenQuit)
{
    TKSSwitch empty;
    QWidget other;
    other.show();
    empty.MainWindow = &other;
    empty.Run({"/quit", "/g"});
    EXPECT_TRUE(other.isVisible());
    EXPECT_EQ(grabs, 0);
}

TEST_F(CommandLineTest, OnActivateRunsBeforeTheCommandLine)
{
    QStringList order;
    commandLine.OnActivate = [&] { order << "activate"; };
    grab()->InternalApply = [&] { order << "grab"; };
    commandLine.Run({"/g"});
    EXPECT_EQ(order, QStringList({"activate", "grab"}));
}

} // namespace
