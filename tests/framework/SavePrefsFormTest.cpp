#include "framework/SavePrefsForm.h"
#include "ClosingAnswer.h"
#include "framework/LinkEdit.h"
#include "framework/PrefsModeChoice.h"
#include "platform/shell/DialogService.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>

#include <gtest/gtest.h>

TEST(LinkEdit, TagsFormatTheTextAndBreaksAlignTheParagraphTheyEnd)
{
    TLinkEdit edit;
    edit.SetRichText("<b>x</b><br CENTER>y");
    QTextBlock first = edit.document()->firstBlock();
    EXPECT_EQ(first.text(), "x");
    EXPECT_EQ(first.blockFormat().alignment(), Qt::AlignHCenter);
    EXPECT_EQ(first.begin().fragment().charFormat().fontWeight(), QFont::Bold);
    QTextBlock second = first.next();
    EXPECT_EQ(second.text(), "y");
    EXPECT_NE(second.begin().fragment().charFormat().fontWeight(), QFont::Bold);
}

TEST(LinkEdit, PlainTextDropsTagsAndKeepsStrayAngles)
{
    const std::pair<const char *, const char *> cases[] = {
        {"a<br>b", "a\r\nb"},
        {"<I>it</i> <unknown tag>x", "it x"},
        {"1 < 2 <b>three</b>", "1 < 2 three"},
        {"<a<b>c", "<ac"},
        {"open <b", "open <b"},
    };
    for (const auto &[markup, shown] : cases)
        EXPECT_EQ(TLinkEdit::PlainText(markup), shown) << markup;
}

TEST(LinkEdit, LinksKeepTheirTargetAndRestoreTheStyleAfterThem)
{
    TLinkEdit edit;
    edit.SetRichText(
        "<color red>see <url HTTPS://Example.org/A>home</url> or <link closeOptions>close</link></color>");
    ASSERT_EQ(edit.Links().size(), 2u);
    EXPECT_EQ(edit.Links()[0].kind, TLinkEdit::LinkKind::Url);
    EXPECT_EQ(edit.Links()[0].target, "HTTPS://Example.org/A");
    EXPECT_EQ(edit.Links()[1].kind, TLinkEdit::LinkKind::Custom);
    EXPECT_EQ(edit.Links()[1].target, "closeOptions");
    QTextBlock block = edit.document()->firstBlock();
    QList<QTextCharFormat> formats;
    for (auto it = block.begin(); !it.atEnd(); ++it)
        formats.append(it.fragment().charFormat());
    ASSERT_GE(formats.size(), 3);
    EXPECT_EQ(formats[0].foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(formats[1].foreground().color(), QColor(0, 0, 128)) << "links are navy";
    EXPECT_TRUE(formats[1].fontUnderline());
    EXPECT_EQ(formats[2].foreground().color(), QColor(255, 0, 0)) << "the colour before the link comes back";
    EXPECT_FALSE(formats[2].fontUnderline());
}

TEST(SavePrefsForm, EachButtonRecordsItsModeAndClosingRecordsNone)
{
    TSavePrefsForm form;
    EXPECT_EQ(form.Button(spRegistre)->text(), "Normal");
    EXPECT_EQ(form.Button(spPortable)->toolTip(),
              "Saves the preferences to an ini file.\nDeletes the preferences from the registry.");
    for (auto mode : {spRegistre, spPortable, spNone}) {
        DialogService::Install(std::make_unique<ClosingAnswer>(mode));
        EXPECT_EQ(form.Ask(), mode);
    }
    DialogService::Install(std::make_unique<ClosingAnswer>(std::nullopt));
    EXPECT_EQ(form.Ask(), std::nullopt) << "closing without a button is no choice";
    DialogService::Install(nullptr);
    testing::internal::CaptureStderr();
    EXPECT_EQ(form.Ask(), spNone) << "nobody to ask: nothing is saved";
    testing::internal::GetCapturedStderr();
}

TEST(PrefsModeChoice, ChoosingCallsAtOnceAndShowingDoesNot)
{
    TPrefsModeChoice choice;
    std::vector<TSavePreferences> chosen;
    choice.OnChoose = [&](TSavePreferences m) { chosen.push_back(m); };
    choice.SetMode(spPortable);
    EXPECT_EQ(choice.Mode(), spPortable);
    EXPECT_TRUE(chosen.empty());
    choice.findChildren<QRadioButton *>()[spNone]->click();
    EXPECT_EQ(chosen, std::vector<TSavePreferences>{spNone});
    EXPECT_EQ(choice.findChildren<QRadioButton *>()[spRegistre]->text(), "Normal Mode (registry)");
}
