#include "ActionTestDoubles.h"

#include "framework/BooleanAction.h"
#include "framework/CheckAction.h"
#include "framework/ColorAction.h"
#include "framework/DoubleAction.h"
#include "framework/FontAction.h"
#include "framework/IntegerAction.h"
#include "framework/MacroRecorder.h"
#include "framework/NopeAction.h"
#include "framework/PointAction.h"
#include "framework/RectAction.h"
#include "framework/WidestringAction.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

template <class A> std::unique_ptr<A> Make(const char *name)
{
    auto action = std::make_unique<A>(nullptr);
    action->SetName(QString::fromLatin1(name));
    return action;
}

// Every test runs with the recorder on, writing into `macro`.
class TypedActionTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        MacroTarget = &macro;
        MacroNested = false;
    }
    void TearDown() override
    {
        MacroTarget = nullptr;
        MacroNested = false;
    }
    QStringList macro;
};

TEST_F(TypedActionTest, NamingDerivesScriptNameCaptionAndIdentifier)
{
    auto script = Make<TCheckAction>("caScript");
    EXPECT_EQ(script->ScriptName, "Script");
    EXPECT_EQ(script->InternalId, "caScript");
    // A rename carries along what still held its default, and only that.
    script->ScriptName = "Custom";
    script->SetName("caScript2");
    EXPECT_EQ(script->ScriptName, "Custom");
    EXPECT_EQ(script->InternalId, "caScript2");

    QObject owner;
    auto *first = new TNopeAction(&owner);
    first->SetName("naGrab");
    auto *second = new TNopeAction(&owner);
    second->SetName("naGrab");
    EXPECT_EQ(second->Name(), "naGrab2");
    EXPECT_EQ(second->ScriptName, "Grab2");
    auto *reserved = new TNopeAction(&owner);
    reserved->setObjectName("naCopy_");
    auto *third = new TNopeAction(&owner);
    third->SetName("naCopy");
    EXPECT_EQ(third->Name(), "naCopy2");
}

TEST_F(TypedActionTest, BooleanSkipsItsCurrentValueWhileIntegerAppliesAgain)
{
    auto flag = Make<TBooleanAction>("baConfirmerImage");
    auto number = Make<TIntegerAction>("iaNextNum");
    int flagApplies = 0, numberApplies = 0;
    flag->InternalApply = [&](const bool &) { ++flagApplies; };
    number->InternalApply = [&](const int &) { ++numberApplies; };

    flag->SetValue(true);
    flag->SetValue(true);
    number->SetValue(5);
    number->SetValue(5);

    EXPECT_EQ(flagApplies, 1);
    EXPECT_EQ(numberApplies, 2);
    EXPECT_EQ(macro, QStringList({"    ConfirmerImage(True);", "    NextNum(5);", "    NextNum(5);"}));
}

TEST_F(TypedActionTest, ApplyRunsPublishedBeforeInternalThenPublishedAfter)
{
    QStringList order;
    auto number = Make<TIntegerAction>("iaDigits");
    number->OnAfterApply = [&](const int &v) { order << QString("after %1").arg(v); };
    number->InternalApply = [&](const int &v) { order << QString("internal %1").arg(v); };
    number->OnBeforeApply = [&](const int &v) { order << QString("before %1").arg(v); };
    number->SetValue(4);
    EXPECT_EQ(order, QStringList({"before 4", "internal 4", "after 4"}));

    order.clear();
    auto check = Make<TCheckAction>("caMute");
    check->OnBeforeTrueApply = [&] { order << "before true"; };
    check->InternalTrueApply = [&] { order << "internal true"; };
    check->OnAfterTrueApply = [&] { order << "after true"; };
    check->InternalFalseApply = [&] { order << "internal false"; };
    check->SetChecked(true);
    check->SetChecked(false);
    EXPECT_EQ(order, QStringList({"before true", "internal true", "after true", "internal false"}));
}

struct PrepareCase {
    const char *what;
    int published;    // -1 unset, 0 refuse, 1 accept (sets the value to 3)
    int internal;     // -1 unset, 0 refuse, 1 accept (doubles the value it is handed)
    int applies;      // expected apply count after one execute
    int valueApplied; // expected value when applied
};

class PrepareRules : public TypedActionTest, public ::testing::WithParamInterface<PrepareCase>
{
};

TEST_P(PrepareRules, ValueSettingExecutesOnlyThroughPrepareHandlers)
{
    const PrepareCase &c = GetParam();
    auto number = Make<TIntegerAction>("iaVolume");
    int applies = 0, applied = 0;
    number->InternalApply = [&](const int &v) {
        ++applies;
        applied = v;
    };
    if (c.published >= 0)
        number->OnPrepare = [&](int &v) {
            v = 3;
            return c.published == 1;
        };
    if (c.internal >= 0)
        number->InternalPrepare = [&](int &v) {
            v *= 2;
            return c.internal == 1;
        };
    number->DoExecute();
    EXPECT_EQ(applies, c.applies) << c.what;
    if (c.applies) {
        EXPECT_EQ(applied, c.valueApplied) << c.what;
    }
}

TEST_P(PrepareRules, CommandExecutesUnlessAPrepareHandlerRefuses)
{
    const PrepareCase &c = GetParam();
    auto grab = Make<TNopeAction>("naGrab");
    auto mute = Make<TCheckAction>("caMute");
    int grabs = 0;
    grab->InternalApply = [&] { ++grabs; };
    const bool refuses = c.published == 0 || c.internal == 0;
    if (c.published >= 0) {
        grab->OnPrepare = mute->OnPrepare = [&] { return c.published == 1; };
    }
    if (c.internal >= 0) {
        grab->InternalPrepare = mute->InternalPrepare = [&] { return c.internal == 1; };
    }
    grab->DoExecute();
    mute->trigger(); // through Qt, which flips a checkable action by itself
    EXPECT_EQ(grabs, refuses ? 0 : 1) << c.what;
    EXPECT_EQ(mute->Checked(), !refuses) << c.what;
    EXPECT_EQ(mute->isChecked(), mute->Checked()) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Cases, PrepareRules,
                         ::testing::Values(PrepareCase{"no handler", -1, -1, 0, 0},
                                           PrepareCase{"published accepts", 1, -1, 1, 3},
                                           PrepareCase{"published refuses", 0, -1, 0, 0},
                                           PrepareCase{"internal sees published value", 1, 1, 1, 6},
                                           PrepareCase{"internal refuses", 1, 0, 0, 0},
                                           PrepareCase{"published refuses before internal", 0, 1, 0, 0},
                                           PrepareCase{"internal alone", -1, 1, 1, 0}));

TEST_F(TypedActionTest, NestedAppliesRecordOnlyTheOuterChange)
{
    auto grab = Make<TNopeAction>("naGrab");
    auto number = Make<TIntegerAction>("iaNextNum");
    auto flag = Make<TBooleanAction>("baSauverQuandClic");
    auto mute = Make<TCheckAction>("caMute");
    grab->InternalApply = [&] {
        number->SetValue(2);
        flag->SetValue(true);
        mute->Toggle();
    };
    grab->DoExecute();
    EXPECT_EQ(macro, QStringList({"    Grab;"}));
    EXPECT_FALSE(MacroNested);

    // Changes made outside any recorded change are recorded again afterwards.
    number->SetValue(3);
    EXPECT_EQ(macro.last(), "    NextNum(3);");
}

TEST_F(TypedActionTest, ScriptWindowActionIsNeverRecordedNorWhatItsHandlersDo)
{
    auto script = Make<TCheckAction>("caScript");
    auto number = Make<TIntegerAction>("iaNextNum");
    script->InternalTrueApply = [&] { number->SetValue(9); };
    script->SetChecked(true);
    script->SetChecked(false);
    EXPECT_TRUE(macro.isEmpty());

    auto about = Make<TCheckAction>("caAbout");
    about->SetChecked(true);
    about->SetChecked(false);
    EXPECT_EQ(macro, QStringList({"    setAbout(True);", "    setAbout(False);"}));
}

TEST_F(TypedActionTest, CommandWithoutScriptNameIsNeitherRecordedNorDeclared)
{
    auto start = Make<TNopeAction>("naStartMacro");
    start->ScriptName.clear();
    int applies = 0;
    start->InternalApply = [&] { ++applies; };
    start->DoExecute();
    ActionTestEngine engine;
    EXPECT_TRUE(start->RegisterInScript(engine));
    EXPECT_EQ(applies, 1);
    EXPECT_TRUE(macro.isEmpty());
    EXPECT_TRUE(engine.declarations.isEmpty());
    EXPECT_EQ(start->ScriptDeclaration(), "");
}

TEST_F(TypedActionTest, ApplyHandlerExceptionLeavesTheRecorderUsable)
{
    auto number = Make<TIntegerAction>("iaNextNum");
    number->InternalApply = [](const int &) { throw std::runtime_error("handler failed"); };
    EXPECT_THROW(number->SetValue(1), std::runtime_error);
    EXPECT_FALSE(MacroNested);
}

TEST_F(TypedActionTest, MacroLinesOfEveryClass)
{
    auto grab = Make<TNopeAction>("naGrab");
    auto root = Make<TWidestringAction>("waDefaultRacine");
    auto number = Make<TIntegerAction>("iaNextNum");
    auto shift = Make<TDoubleAction>("daDecalageHoraire");
    auto color = Make<TColorAction>("laInsertFontColor");
    auto flag = Make<TBooleanAction>("baLimiterLongueur");
    auto mute = Make<TCheckAction>("caMute");
    auto position = Make<TPointAction>("paInsertPosition");
    auto bounds = Make<TRectAction>("raFormSave");
    auto font = Make<TFontAction>("faInsertFont");

    grab->Apply();
    root->SetValue("O'Brien \"x\"");
    number->SetValue(-12);
    shift->SetValue(1.5);
    color->SetValue(0xFF);
    flag->SetValue(true);
    mute->SetChecked(false);
    position->SetValue(5000, 8200);
    bounds->SetValue(TRect{10, 20, 30, 40});
    font->SetValue("Arial", 25, 0x00FFFF, true, false, true, false);
    shift->SetValue(0.1 + 0.2);
    color->SetValue(0xFF00000F);

    EXPECT_EQ(macro, QStringList({
                         "    Grab;",
                         "    DefaultRacine('O''Brien \"x\"');",
                         "    NextNum(-12);",
                         "    DecalageHoraire(1.5);",
                         "    InsertFontColor($0000FF);",
                         "    LimiterLongueur(True);",
                         "    setMute(False);",
                         "    InsertPosition(5000,8200);",
                         "    FormSave(10,30,20,40);",
                         "    InsertFont('Arial', 25, $00FFFF, True, False, True, False);",
                         "    DecalageHoraire(0.3);",
                         "    InsertFontColor($FF00000F);",
                     }));
}

TEST_F(TypedActionTest, RecordedRectangleReplaysToTheSameRectangle)
{
    auto bounds = Make<TRectAction>("raFormSave");
    bounds->SetFromText("(1,2,3,4)");
    EXPECT_EQ(bounds->Value(), (TRect{1, 2, 3, 4}));
    ASSERT_EQ(macro, QStringList({"    FormSave(1,3,2,4);"}));

    ActionTestEngine engine;
    ASSERT_TRUE(bounds->RegisterInScript(engine));
    bounds->SetValue(TRect{});
    MacroTarget = nullptr;
    ASSERT_TRUE(engine.Replay(macro.first()));
    EXPECT_EQ(bounds->Value(), (TRect{1, 2, 3, 4}));
}

TEST_F(TypedActionTest, RecordedTextsAndFontsReplayUnchanged)
{
    auto root = Make<TWidestringAction>("waDossierSave");
    auto font = Make<TFontAction>("faInsertFont");
    ActionTestEngine engine;
    ASSERT_TRUE(root->RegisterInScript(engine));
    ASSERT_TRUE(font->RegisterInScript(engine));
    root->SetValue("/home/d'Arc/it's, here");
    font->SetValue("Ta'homa", 12, 0x123456, false, true, false, true);
    const TFont recorded = font->Value();
    root->SetValue(QString());
    font->SetValue(TFont{});
    MacroTarget = nullptr;
    ASSERT_TRUE(engine.Replay(macro.at(0)));
    ASSERT_TRUE(engine.Replay(macro.at(1)));
    EXPECT_EQ(root->Value(), "/home/d'Arc/it's, here");
    EXPECT_EQ(font->Value(), recorded);
}

} // namespace
