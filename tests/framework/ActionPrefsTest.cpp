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

#include <functional>
#include <memory>

namespace
{

template <class A> std::unique_ptr<A> Make(const char *name)
{
    auto action = std::make_unique<A>(nullptr);
    action->SetName(QString::fromLatin1(name));
    return action;
}

TEST(ActionPrefs, LoadRunsDefaultHandlersThenReadsThenApplies)
{
    ActionTestStore store;
    auto number = Make<TIntegerAction>("iaNextNum");
    number->SetDefaultValue(1);
    number->ApplyWhenLoad = true;
    number->OnDefault = [&](int &d) {
        store.log << QString("OnDefault %1").arg(d);
        d = 10;
        return true;
    };
    number->InternalDefault = [&](int &d) {
        store.log << QString("InternalDefault %1").arg(d);
        d += 1;
        return true;
    };
    number->InternalApply = [&](const int &v) { store.log << QString("apply %1").arg(v); };
    QStringList macro;
    MacroTarget = &macro;

    EXPECT_TRUE(number->LoadFromPrefs(store));
    MacroTarget = nullptr;

    EXPECT_EQ(store.log,
              QStringList({"OnDefault 1", "InternalDefault 10", "ReadInteger NextNum", "apply 11"}));
    EXPECT_EQ(number->Value(), 11);
    EXPECT_EQ(number->DefaultValue(), 11);
    EXPECT_TRUE(macro.isEmpty()) << "a loaded value is not a recorded change";
}

TEST(ActionPrefs, LoadedBooleanAppliesEvenWhenUnchangedAndStoredValuesWin)
{
    ActionTestStore store;
    store.values["ShowForm\\ConfirmerImage"] = false;
    store.OpenKey("ShowForm");
    auto flag = Make<TBooleanAction>("baConfirmerImage");
    flag->SetDefaultValue(true);
    flag->ApplyWhenLoad = true;
    int applies = 0;
    flag->InternalApply = [&](const bool &) { ++applies; };

    EXPECT_TRUE(flag->LoadFromPrefs(store));
    EXPECT_FALSE(flag->Value());
    EXPECT_TRUE(flag->LoadFromPrefs(store));
    EXPECT_EQ(applies, 2);

    auto silent = Make<TIntegerAction>("iaLeftFrame");
    silent->InternalApply = [&](const int &) { ++applies; };
    EXPECT_TRUE(silent->LoadFromPrefs(store));
    EXPECT_EQ(applies, 2) << "without ApplyWhenLoad a loaded value stays silent";
}

TEST(ActionPrefs, FailuresAreReportedAsFalseAndLeaveTheDefault)
{
    ActionTestStore store;
    auto number = Make<TIntegerAction>("iaDigits");
    number->SetDefaultValue(3);
    number->InternalDefault = [](int &) -> bool { throw std::runtime_error("default failed"); };
    EXPECT_FALSE(number->LoadFromPrefs(store));
    EXPECT_EQ(number->DefaultValue(), 3);

    number->InternalDefault = nullptr;
    number->ApplyWhenLoad = true;
    number->InternalApply = [](const int &) { throw std::runtime_error("apply failed"); };
    EXPECT_FALSE(number->LoadFromPrefs(store));
    number->InternalBeforeSave = [](int &) -> bool { throw std::runtime_error("save failed"); };
    EXPECT_FALSE(number->SaveToPrefs(store));
    EXPECT_FALSE(store.log.contains("WriteInteger Digits"));
}

TEST(ActionPrefs, BeforeSaveHandlersChangeWhatIsSaved)
{
    ActionTestStore store;
    auto bounds = Make<TRectAction>("raFormSave");
    bounds->BeforeSave = [](TRect &r) {
        r = TRect{1, 2, 3, 4};
        return true;
    };
    bounds->InternalBeforeSave = [](TRect &r) {
        r.Left += 10;
        return true;
    };
    EXPECT_TRUE(bounds->SaveToPrefs(store));
    EXPECT_EQ(bounds->Value(), (TRect{11, 2, 3, 4}));
    EXPECT_EQ(store.values["FormSave"], QVariant(QVariantList{11, 2, 3, 4}));

    // A two-state action's handlers work on a copy: the saved state changes, Checked does not.
    auto mute = Make<TCheckAction>("caMute");
    mute->SetDefaultValue(true);
    mute->InternalBeforeSave = [](bool &b) {
        b = !b;
        return true;
    };
    EXPECT_TRUE(mute->SaveToPrefs(store));
    EXPECT_TRUE(mute->Checked());
    EXPECT_EQ(store.values["Mute"], QVariant(false));
}

struct StoreCase {
    std::function<std::unique_ptr<TCustomAbstractAction>()> make;
    const char *read;
    const char *write;
};

TEST(ActionPrefs, EachClassUsesItsTypedReadAndWrite)
{
    const StoreCase cases[] = {
        {[] { return Make<TBooleanAction>("baOpenLastFile"); }, "ReadBool OpenLastFile",
         "WriteBool OpenLastFile"},
        {[] { return Make<TCheckAction>("caMute"); }, "ReadBool Mute", "WriteBool Mute"},
        {[] { return Make<TIntegerAction>("iaVolume"); }, "ReadInteger Volume", "WriteInteger Volume"},
        {[] { return Make<TColorAction>("iaBackColor"); }, "ReadInteger BackColor", "WriteInteger BackColor"},
        {[] { return Make<TDoubleAction>("daInsertTransparency"); }, "ReadFloat InsertTransparency",
         "WriteFloat InsertTransparency"},
        {[] { return Make<TWidestringAction>("waInitialDir"); }, "ReadString InitialDir",
         "WriteString InitialDir"},
        {[] { return Make<TPointAction>("paInsertPosition"); }, "ReadPoint InsertPosition",
         "WritePoint InsertPosition"},
        {[] { return Make<TRectAction>("raPreviewSave"); }, "ReadRect PreviewSave", "WriteRect PreviewSave"},
        {[] { return Make<TFontAction>("faInsertFont"); }, "ReadFont InsertFont", "WriteFont InsertFont"},
    };
    for (const StoreCase &c : cases) {
        ActionTestStore store;
        auto action = c.make();
        EXPECT_TRUE(action->LoadFromPrefs(store));
        EXPECT_TRUE(action->SaveToPrefs(store));
        EXPECT_EQ(store.log, QStringList({c.read, c.write}));
    }
}

TEST(ActionPrefs, ColoursKeepEveryBitThroughTheIntegerStore)
{
    ActionTestStore store;
    auto color = Make<TColorAction>("iaBorderColor");
    color->SetValue(0xFF00000F);
    ASSERT_TRUE(color->SaveToPrefs(store));
    color->SetValue(0);
    ASSERT_TRUE(color->LoadFromPrefs(store));
    EXPECT_EQ(color->Value(), 0xFF00000Fu);
}

TEST(ActionPrefs, CommandsStoreNothingButLoadingMayApplyThem)
{
    ActionTestStore store;
    auto grab = Make<TNopeAction>("naGrab");
    int applies = 0, saves = 0;
    grab->InternalApply = [&] { ++applies; };
    grab->BeforeSave = [&] { return ++saves, true; };
    grab->InternalBeforeSave = [&] { return ++saves, true; };
    EXPECT_TRUE(grab->LoadFromPrefs(store));
    EXPECT_EQ(applies, 0);
    grab->ApplyWhenLoad = true;
    EXPECT_TRUE(grab->LoadFromPrefs(store));
    EXPECT_TRUE(grab->SaveToPrefs(store));
    EXPECT_EQ(applies, 1);
    EXPECT_EQ(saves, 2);
    EXPECT_TRUE(store.log.isEmpty());
}

TEST(ActionPrefs, LoadedCheckStateShowsItsTextsWithoutApplying)
{
    ActionTestStore store;
    store.values["Sliders"] = true;
    auto sliders = Make<TCheckAction>("caSliders");
    sliders->SetTrueCaption("Hide sliders");
    sliders->SetFalseCaption("Show sliders");
    sliders->SetTrueImageIndex(4);
    EXPECT_EQ(sliders->Caption(), "Show sliders");
    int applies = 0;
    sliders->InternalTrueApply = [&] { ++applies; };
    ASSERT_TRUE(sliders->LoadFromPrefs(store));
    EXPECT_TRUE(sliders->Checked());
    EXPECT_TRUE(sliders->isChecked());
    EXPECT_EQ(sliders->Caption(), "Hide sliders");
    EXPECT_EQ(sliders->ImageIndex(), 4);
    EXPECT_EQ(applies, 0);
}

} // namespace
