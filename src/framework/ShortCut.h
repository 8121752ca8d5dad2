#pragma once

#include <QKeySequence>
#include <QString>

#include <cstdint>

// A shortcut word: the low byte is the key's virtual-key code (the classic desktop numbering:
// 'A'..'Z', '0'..'9', 0x70 F1 ...), plus 8192 for Shift, 16384 for Ctrl and 32768 for Alt;
// 0 means no shortcut. The words are what the settings and the catalogue of actions use; Qt
// sees them as key sequences.
using TShortCut = uint16_t;

inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;

// The word for a text such as "Ctrl+Page Down", "Shift+Ctrl+J", "Alt+BkSp" or "Num +":
// modifiers "Shift+", "Ctrl+", "Alt+" in any order (case ignored), then a key name. 0 for an
// empty text or an unknown key.
TShortCut TextToShortCut(const QString &text);

// The text of a word, modifiers in the order Shift, Ctrl, Alt; empty for 0 or an unknown key.
QString ShortCutToText(TShortCut shortCut);

// The key sequence Qt binds for a word (keypad keys carry the keypad modifier); empty for 0 or a
// key Qt cannot name.
QKeySequence ShortCutToKeySequence(TShortCut shortCut);

// The word for the first key of a sequence; 0 when that key has no virtual-key code.
TShortCut KeySequenceToShortCut(const QKeySequence &sequence);
