#include "framework/ShortCut.h"
#include "framework/NopeAction.h"

#include <gtest/gtest.h>

namespace
{

struct ShortCutCase {
    const char *text;
    TShortCut word;
    QKeySequence sequence;
};

TEST(ShortCut, TextsWordsAndKeySequencesAgree)
{
    const ShortCutCase cases[] = {
        {"F12", 0x7B, QKeySequence(Qt::Key_F12)},
        {"Alt+F10", scAlt | 0x79, QKeySequence(Qt::ALT | Qt::Key_F10)},
        {"Ctrl+C", scCtrl | 'C', QKeySequence(Qt::CTRL | Qt::Key_C)},
        {"Shift+Ctrl+J", scShift | scCtrl | 'J', QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_J)},
        {"Ctrl+Alt+V", scCtrl | scAlt | 'V', QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_V)},
        {"Ctrl+Page Down", scCtrl | 0x22, QKeySequence(Qt::CTRL | Qt::Key_PageDown)},
        {"Ctrl+Space", scCtrl | 0x20, QKeySequence(Qt::CTRL | Qt::Key_Space)},
        {"Alt+Enter", scAlt | 0x0D, QKeySequence(Qt::ALT | Qt::Key_Return)},
        {"Alt+BkSp", scAlt | 0x08, QKeySequence(Qt::ALT | Qt::Key_Backspace)},
        {"Esc", 0x1B, QKeySequence(Qt::Key_Escape)},
        {"Num +", 0x6B, QKeySequence(Qt::KeypadModifier | Qt::Key_Plus)},
        {"Num -", 0x6D, QKeySequence(Qt::KeypadModifier | Qt::Key_Minus)},
        {"Ctrl+\\", scCtrl | 220, QKeySequence(Qt::CTRL | Qt::Key_Backslash)},
        {"Ctrl+Left", scCtrl | 0x25, QKeySequence(Qt::CTRL | Qt::Key_Left)},
    };
    for (const ShortCutCase &c : cases) {
        EXPECT_EQ(TextToShortCut(c.text), c.word) << c.text;
        EXPECT_EQ(ShortCutToText(c.word), c.text) << c.text;
        EXPECT_EQ(ShortCutToKeySequence(c.word), c.sequence) << c.text;
        EXPECT_EQ(KeySequenceToShortCut(c.sequence), c.word) << c.text;
    }
}

TEST(ShortCut, OtherSpellingsAndUnknownKeys)
{
    EXPECT_EQ(TextToShortCut("ctrl+shift+j"), scShift | scCtrl | 'J');
    EXPECT_EQ(TextToShortCut("Ctrl+PgUp"), scCtrl | 0x21);
    EXPECT_EQ(TextToShortCut("Num -"), TShortCut(0x6D)) << "the minus of the keypad is no modifier";
    EXPECT_EQ(TextToShortCut("Ctrl+Nowhere"), 0);
    EXPECT_EQ(TextToShortCut(""), 0);
    EXPECT_EQ(TextToShortCut("Ctrl+"), 0);
    EXPECT_TRUE(ShortCutToKeySequence(0).isEmpty());
    EXPECT_EQ(KeySequenceToShortCut(QKeySequence(Qt::Key_VolumeUp)), 0);
    // The keypad's digits are other keys than the main row's.
    EXPECT_NE(KeySequenceToShortCut(QKeySequence(Qt::KeypadModifier | Qt::Key_5)),
              KeySequenceToShortCut(QKeySequence(Qt::Key_5)));
}

TEST(ShortCut, ActionBindsItsPrimaryAndSecondaryKeys)
{
    TNopeAction volume(nullptr);
    volume.SetShortCut(TextToShortCut("Num +"));
    volume.SetSecondaryShortcuts({"Alt+P", "no such key"});
    EXPECT_EQ(volume.shortcuts(), QList<QKeySequence>({QKeySequence(Qt::KeypadModifier | Qt::Key_Plus),
                                                       QKeySequence(Qt::ALT | Qt::Key_P)}));
    volume.SetShortCut(0);
    EXPECT_EQ(volume.shortcuts(), QList<QKeySequence>({QKeySequence(Qt::ALT | Qt::Key_P)}));
}

} // namespace
