#include "ActionTestDoubles.h"

#include "framework/BooleanAction.h"
#include "framework/CheckAction.h"
#include "framework/IntegerAction.h"
#include "framework/KSActionComponent.h"
#include "framework/KSActionList.h"
#include "framework/KSSwitch.h"
#include "framework/NopeAction.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <memory>

namespace
{

template <class A> A *Add(TCustomKSActionList &list, const char *name, const char *switchName = "")
{
    auto *action = new A(QString::fromLatin1(name), &list);
    action->SetName(QString::fromLatin1(name));
    action->Switch = QString::fromLatin1(switchName);
    return action;
}

TEST(ActionList, FindsByExactInternalIdentifierFirstMatchFirst)
{
    TKSActionList list;
    auto *first = Add<TNopeAction>(list, "naGrab");
    auto *second = Add<TNopeAction>(list, "naCopy");
    second->InternalId = "naGrab";
    EXPECT_EQ(list.FindByInternalId("naGrab"), first);
    EXPECT_EQ(list.FindByInternalId("nagrab"), nullptr);
    EXPECT_EQ(list.FindByInternalId("naMissing"), nullptr);
    EXPECT_EQ(first->Category, "internal");
    EXPECT_EQ(first->ActionList(), &list);

    delete first;
    EXPECT_EQ(list.FindByInternalId("naGrab"), second);
    EXPECT_EQ(list.Actions().size(), 1);
}

TEST(ActionList, ImageChangesReachTheListsImages)
{
    TKSActionList list;
    list.Images = {QIcon(), QIcon()};
    auto *play = Add<TCheckAction>(list, "caPlay");
    QList<int> seen;
    play->OnImageChanged = [&](const TImageList *images, int index) {
        EXPECT_EQ(images, &list.Images);
        seen << index;
    };
    play->SetTrueImageIndex(1);
    play->SetFalseImageIndex(0);
    play->SetFalseImageIndex(0);
    play->SetChecked(true);
    play->SetImageIndex(1);
    EXPECT_EQ(seen, QList<int>({0, 1})) << "only changes to a different index are announced";

    TCheckAction loose(nullptr);
    bool announced = false;
    loose.OnImageChanged = [&](const TImageList *, int) { announced = true; };
    loose.SetFalseImageIndex(3);
    EXPECT_FALSE(announced) << "without a list there is no image list to announce";
}

TEST(ActionList, LoadsAndSavesStoredActionsInOrderAndReportsAnyFailure)
{
    ActionTestStore store;
    TKSActionList list;
    Add<TIntegerAction>(list, "iaDigits");
    Add<TCheckAction>(list, "caPlay")->IncludePrefs = false;
    auto *failing = Add<TBooleanAction>(list, "baConfirmerImage");
    Add<TIntegerAction>(list, "iaNextNum");
    failing->InternalDefault = [](bool &) -> bool { throw std::runtime_error("default failed"); };
    int listEvents = 0;
    list.OnLoadFromPrefs = [&](TPreferencesStore &) { return ++listEvents, true; };

    EXPECT_FALSE(list.LoadFromPrefs(store));
    EXPECT_EQ(store.log, QStringList({"ReadInteger Digits", "ReadInteger NextNum"}));
    EXPECT_EQ(listEvents, 1);

    store.log.clear();
    failing->InternalDefault = nullptr;
    list.OnSaveToPrefs = [&](TPreferencesStore &) { return false; };
    EXPECT_FALSE(list.SaveToPrefs(store));
    EXPECT_EQ(store.log,
              QStringList({"WriteInteger Digits", "WriteBool ConfirmerImage", "WriteInteger NextNum"}));
    list.OnSaveToPrefs = nullptr;
    EXPECT_TRUE(list.SaveToPrefs(store));
}

TEST(ActionList, ScriptHooksChainAfterTheEnginesOwnDeclarations)
{
    ActionTestEngine engine;
    engine.OnCompile = [](TScriptRegistrar &e) {
        e.DeclareRoutine("procedure Beep;", [](const QVariantList &) {});
    };
    auto main = std::make_unique<TKSActionList>();
    TKSActionList video;
    Add<TNopeAction>(*main, "naGrab");
    Add<TCheckAction>(video, "caFullscreen");
    main->SetPascalScript(&engine);
    video.SetPascalScript(&engine);

    engine.Compile();
    EXPECT_EQ(engine.declarations,
              QStringList({"procedure Beep;", "procedure Grab;",
                           "procedure setFullscreen(const aBoolean:Boolean);", "procedure Fullscreen;"}));
    // Each compilation declares everything again.
    engine.Compile();
    EXPECT_EQ(engine.declarations.size(), 4);

    // A list that goes away drops out of the chain without breaking it.
    main.reset();
    engine.Compile();
    EXPECT_EQ(engine.declarations.size(), 3);

    // Unhooking gives the engine back the handler the list found.
    video.SetPascalScript(nullptr);
    engine.Compile();
    EXPECT_EQ(engine.declarations, QStringList({"procedure Beep;"}));
}

TEST(ActionList, ForgetsAnEngineThatIsDestroyed)
{
    TKSActionList list;
    auto engine = std::make_unique<ActionTestEngine>();
    list.SetPascalScript(engine.get());
    engine.reset();
    EXPECT_EQ(list.PascalScript(), nullptr);
}

TEST(ActionList, SwitchTableFollowsTheLinksInHookOrder)
{
    TKSSwitch commandLine;
    TKSActionList first, second;
    auto *grab = Add<TNopeAction>(first, "naGrab", "g");
    auto *other = Add<TNopeAction>(second, "naGo", "G");
    auto *unnamed = Add<TNopeAction>(second, "naNone");
    first.SetSwitch(&commandLine);
    second.SetSwitch(&commandLine);

    EXPECT_EQ(commandLine.Find("G"), grab) << "the first hooked list wins";
    EXPECT_EQ(commandLine.Find(""), nullptr) << "actions without a switch are never found";
    EXPECT_NE(unnamed, nullptr);
    first.SetSwitch(nullptr);
    EXPECT_EQ(commandLine.Find("g"), other);
    EXPECT_EQ(commandLine.Lists().size(), 1);
    second.SetSwitch(nullptr);
    EXPECT_EQ(commandLine.Find("g"), nullptr);
}

// A manager that builds two actions, finds them again by identifier and counts its messages.
class CountingManager : public TKSActionComponent
{
  public:
    QStringList steps;
    TNopeAction *grab = nullptr;
    TCheckAction *play = nullptr;
    int messages = 0;

  protected:
    void CreateActions() override
    {
        steps << "create";
        Add<TNopeAction>(*this, "naGrab");
        Add<TCheckAction>(*this, "caPlay");
    }
    void LinkActions() override
    {
        steps << "link";
        grab = dynamic_cast<TNopeAction *>(FindByInternalId("naGrab"));
        play = dynamic_cast<TCheckAction *>(FindByInternalId("caPlay"));
    }
    void InitActions() override
    {
        steps << "init";
        if (play)
            play->SetTrueCaption("Pause");
    }
    LRESULT WndProc(uint32_t msg, WPARAM wParam, LPARAM) override
    {
        messages += msg == 0x2420 ? int(wParam) : 0;
        return 7;
    }
};

TEST(ActionComponent, CreatesLinksAndInitialisesItsActionsAndReceivesMessages)
{
    CountingManager manager;
    manager.Loaded();
    EXPECT_EQ(manager.steps, QStringList({"create", "link", "init"}));
    ASSERT_NE(manager.grab, nullptr);
    ASSERT_NE(manager.play, nullptr);
    EXPECT_EQ(manager.play->TrueCaption(), "Pause");

    EXPECT_EQ(MessageWindow::SendMessage(manager.Handle(), 0x2420, 2), 7);
    EXPECT_TRUE(MessageWindow::PostMessage(manager.Handle(), 0x2420, 3));
    QCoreApplication::processEvents();
    EXPECT_EQ(manager.messages, 5);
}

} // namespace
