#include "ActionTestDoubles.h"

#include "framework/BooleanAction.h"
#include "framework/CheckAction.h"
#include "framework/ColorAction.h"
#include "framework/DoubleAction.h"
#include "framework/FontAction.h"
#include "framework/IntegerAction.h"
#include "framework/NopeAction.h"
#include "framework/PointAction.h"
#include "framework/RectAction.h"
#include "framework/WidestringAction.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace
{

template <class A> std::unique_ptr<A> Make(const char *name, const char *switchName = "")
{
    auto action = std::make_unique<A>(nullptr);
    action->SetName(QString::fromLatin1(name));
    action->Switch = QString::fromLatin1(switchName);
    return action;
}

// Sets a known value, then the text; `result` is the value afterwards as text.
struct TextCase {
    const char *text;
    const char *result;
};

template <class A, typename T>
void ExpectConversions(const char *name, const T &start, std::function<QString(const T &)> show,
                       std::initializer_list<TextCase> cases)
{
    for (const TextCase &c : cases) {
        auto action = Make<A>(name);
        action->SetValue(start);
        action->SetFromText(QString::fromUtf8(c.text));
        EXPECT_EQ(show(action->Value()), QString::fromUtf8(c.result)) << name << " from \"" << c.text << "\"";
    }
}

TEST(SetFromText, Booleans)
{
    ExpectConversions<TBooleanAction, bool>("baConfirmerImage", false,
                                            [](const bool &b) { return b ? "True" : "False"; },
                                            {{"VRAI", "True"},
                                             {" 1 ", "True"},
                                             {"t", "True"},
                                             {"V", "True"},
                                             {"true", "True"},
                                             {"-7", "True"},
                                             {"$10", "True"}});
    ExpectConversions<TBooleanAction, bool>(
        "baConfirmerImage", true, [](const bool &b) { return b ? "True" : "False"; },
        {{"yes", "False"}, {"0", "False"}, {"", "False"}, {"truth", "False"}, {"1.5", "False"}});
}

TEST(SetFromText, CheckActionFollowsBooleanText)
{
    auto mute = Make<TCheckAction>("caMute");
    int applies = 0;
    mute->InternalTrueApply = mute->InternalFalseApply = [&] { ++applies; };
    mute->SetFromText(" Vrai ");
    EXPECT_TRUE(mute->Checked());
    mute->SetFromText("off");
    EXPECT_FALSE(mute->Checked());
    EXPECT_EQ(applies, 2);
}

TEST(SetFromText, Integers)
{
    ExpectConversions<TIntegerAction, int>("iaNextNum", 7, [](const int &n) { return QString::number(n); },
                                           {{"42", "42"},
                                            {"  -3", "-3"},
                                            {"+8", "8"},
                                            {"$FF", "255"},
                                            {"$ffffffff", "-1"},
                                            {"abc", "-1"},
                                            {"", "-1"},
                                            {"12 ", "-1"},
                                            {"1.5", "-1"},
                                            {"2147483648", "-1"},
                                            {"-2147483648", "-2147483648"}});
}

TEST(SetFromText, DoublesUseTheLocaleSeparator)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    ExpectConversions<TDoubleAction, double>("daDecalageHoraire", 9.0,
                                             [](const double &x) { return QString::number(x); },
                                             {{"1,5", "1.5"}, {"x", "0"}, {"-2", "-2"}, {"", "0"}});
    QLocale::setDefault(QLocale::c());
    ExpectConversions<TDoubleAction, double>("daDecalageHoraire", 9.0,
                                             [](const double &x) { return QString::number(x); },
                                             {{"1.5", "1.5"}, {"0.25", "0.25"}});
    QLocale::setDefault(saved);
}

TEST(SetFromText, Colours)
{
    ExpectConversions<TColorAction, TColor>("iaBorderColor", 0x123456,
                                            [](const TColor &c) { return QString::number(c, 16); },
                                            {{"clSkyBlue", "f0caa6"},
                                             {"CLSKYBLUE", "f0caa6"},
                                             {"$0000FF", "ff"},
                                             {"clBtnFace", "ff00000f"},
                                             {"clNone", "1fffffff"},
                                             {"255", "ff"},
                                             {"skyblue", "123456"},
                                             {"", "123456"},
                                             {"clUnknown", "123456"}});
}

TEST(SetFromText, TextsPointsAndRectangles)
{
    ExpectConversions<TWidestringAction, QString>(
        "waOpenFile", QString("old"), [](const QString &s) { return s; },
        {{"/tmp/with blank/clip.avi", "/tmp/with blank/clip.avi"}, {" padded ", " padded "}, {"", ""}});
    const auto showPoint = [](const QPoint &p) { return QString("%1,%2").arg(p.x()).arg(p.y()); };
    ExpectConversions<TPointAction, QPoint>("paInsertPosition", QPoint(1, 1), showPoint,
                                            {{"(10, 20)", "10,20"},
                                             {" ( -5 ,7 ) ", "-5,7"},
                                             {"(x,3)", "0,3"},
                                             {"(4,5,6)", "4,0"},
                                             {"10,20", "1,1"},
                                             {"(10 20)", "1,1"},
                                             {"(10,20", "1,1"},
                                             {"", "1,1"}});
    const auto showRect = [](const TRect &r) {
        return QString("%1,%2,%3,%4").arg(r.Left).arg(r.Top).arg(r.Right).arg(r.Bottom);
    };
    ExpectConversions<TRectAction, TRect>("raFormSave", TRect{9, 9, 9, 9}, showRect,
                                          {{"(1,2,3,4)", "1,2,3,4"},
                                           {"( 1 , 2 , 3 , 4 )", "1,2,3,4"},
                                           {"(1,2,x,4)", "1,2,0,4"},
                                           {"1,2,3,4", "9,9,9,9"},
                                           {"(1,2,3)", "9,9,9,9"},
                                           {"[1,2,3,4]", "9,9,9,9"}});
}

TEST(SetFromText, FontsIgnoreTextAndCommandsRun)
{
    auto font = Make<TFontAction>("faInsertFont");
    int fontApplies = 0;
    font->InternalApply = [&](const TFont &) { ++fontApplies; };
    font->SetFromText("Arial");
    EXPECT_EQ(fontApplies, 0);

    auto grab = Make<TNopeAction>("naGrab");
    int grabs = 0;
    grab->InternalApply = [&] { ++grabs; };
    grab->SetFromText("whatever");
    EXPECT_EQ(grabs, 1);
}

struct DeclarationCase {
    std::function<std::unique_ptr<TCustomAbstractAction>()> make;
    const char *declaration;
    const char *switchSyntax;
};

TEST(ActionTexts, ScriptDeclarationsAndSwitchSyntax)
{
    const DeclarationCase cases[] = {
        {[] { return Make<TNopeAction>("naGrab", "g"); }, "procedure Grab;", "/g"},
        {[] { return Make<TWidestringAction>("waDefaultRacine", "root"); },
         "procedure DefaultRacine(const aWidestring:widestring);", "/root=aWidestring"},
        {[] { return Make<TIntegerAction>("iaNextNum", "n"); }, "procedure NextNum(const aInteger:integer);",
         "/n=aInteger"},
        {[] { return Make<TDoubleAction>("daInsertTransparency", "trans"); },
         "procedure InsertTransparency(const aDouble:Double);", "/trans=aDouble"},
        {[] { return Make<TColorAction>("iaBackColor", "bkCol"); },
         "procedure BackColor(const aColor:TColor);", "/bkCol=aColor"},
        {[] { return Make<TBooleanAction>("baUsePrivateFilters", "priv"); },
         "procedure UsePrivateFilters(const aBoolean:Boolean);", "/priv=aBoolean"},
        {[] { return Make<TPointAction>("paInsertPosition", "inpos"); },
         "procedure InsertPosition(const x,y:integer);", "/inpos=x,y"},
        {[] { return Make<TRectAction>("raFormSave"); },
         "procedure FormSave(const left,right,top,bottom:integer);", "/=aRect"},
        {[] { return Make<TFontAction>("faInsertFont"); },
         "procedure InsertFont(aName:widestring;aSize:integer;aColor:TColor;isBold:Boolean;isItalic:Boolean;"
         "isUnderline:Boolean;isStrikeOut:Boolean);",
         "/=aFont"},
        {[] { return Make<TCheckAction>("caFullscreen", "fs"); },
         "procedure setFullscreen(const fisTrue:Boolean);\r\nprocedure Fullscreen;", "/fs +fs -fs"},
    };
    for (const DeclarationCase &c : cases) {
        // In both orders: whichever text is built first, each shows its own form.
        auto declaredFirst = c.make();
        EXPECT_EQ(declaredFirst->ScriptDeclaration(), c.declaration);
        EXPECT_EQ(declaredFirst->SwitchSyntax(), c.switchSyntax);
        auto switchFirst = c.make();
        EXPECT_EQ(switchFirst->SwitchSyntax(), c.switchSyntax);
        EXPECT_EQ(switchFirst->ScriptDeclaration(), c.declaration);
    }
}

TEST(ActionTexts, EmptyVariablesTakeTheDefaultNameOnceBuiltAndCustomOnesStay)
{
    auto number = Make<TIntegerAction>("iaNextNum", "n");
    EXPECT_EQ(number->Variables, "");
    number->ScriptDeclaration();
    EXPECT_EQ(number->Variables, "aInteger");

    auto named = Make<TIntegerAction>("iaVolume", "vol");
    named->Variables = "hundredths";
    EXPECT_EQ(named->ScriptDeclaration(), "procedure Volume(const hundredths:integer);");
    EXPECT_EQ(named->SwitchSyntax(), "/vol=hundredths");
}

TEST(ActionTexts, RegistrationDeclaresAndCallsTheEntryPoints)
{
    ActionTestEngine engine;
    auto mute = Make<TCheckAction>("caMute");
    auto number = Make<TIntegerAction>("iaNextNum");
    auto position = Make<TPointAction>("paInsertPosition");
    ASSERT_TRUE(mute->RegisterInScript(engine));
    ASSERT_TRUE(number->RegisterInScript(engine));
    ASSERT_TRUE(position->RegisterInScript(engine));
    EXPECT_EQ(engine.declarations,
              QStringList({"procedure setMute(const aBoolean:Boolean);", "procedure Mute;",
                           "procedure NextNum(const aInteger:integer);",
                           "procedure InsertPosition(const x,y:integer);"}));

    ASSERT_TRUE(engine.Replay("setMute(True);"));
    EXPECT_TRUE(mute->Checked());
    ASSERT_TRUE(engine.Replay("Mute;"));
    EXPECT_FALSE(mute->Checked());
    ASSERT_TRUE(engine.Replay("NextNum(17);"));
    EXPECT_EQ(number->Value(), 17);
    ASSERT_TRUE(engine.Replay("InsertPosition(5000, 8200);"));
    EXPECT_EQ(position->Value(), QPoint(5000, 8200));

    // A second action with the same script name: the two-state action reports the refusal.
    auto again = Make<TCheckAction>("caMute");
    EXPECT_FALSE(again->RegisterInScript(engine));
}

TEST(ActionTexts, RegisteredRoutinesOutliveTheirActionSafely)
{
    ActionTestEngine engine;
    auto number = Make<TIntegerAction>("iaNextNum");
    ASSERT_TRUE(number->RegisterInScript(engine));
    number.reset();
    EXPECT_TRUE(engine.Replay("NextNum(3);"));
}

} // namespace
