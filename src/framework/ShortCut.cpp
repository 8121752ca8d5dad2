#include "ShortCut.h"

#include <array>

namespace
{

// A key that is neither a letter, a digit nor a function key.
struct NamedKey {
    uint8_t vk;
    const char *name;
    int qtKey;
    bool keypad;
};

constexpr std::array<NamedKey, 32> KNamedKeys{{
    {0x08, "BkSp", Qt::Key_Backspace, false},
    {0x09, "Tab", Qt::Key_Tab, false},
    {0x0D, "Enter", Qt::Key_Return, false},
    {0x1B, "Esc", Qt::Key_Escape, false},
    {0x20, "Space", Qt::Key_Space, false},
    {0x21, "Page Up", Qt::Key_PageUp, false},
    {0x22, "Page Down", Qt::Key_PageDown, false},
    {0x23, "End", Qt::Key_End, false},
    {0x24, "Home", Qt::Key_Home, false},
    {0x25, "Left", Qt::Key_Left, false},
    {0x26, "Up", Qt::Key_Up, false},
    {0x27, "Right", Qt::Key_Right, false},
    {0x28, "Down", Qt::Key_Down, false},
    {0x2D, "Ins", Qt::Key_Insert, false},
    {0x2E, "Del", Qt::Key_Delete, false},
    {0x6A, "Num *", Qt::Key_Asterisk, true},
    {0x6B, "Num +", Qt::Key_Plus, true},
    {0x6D, "Num -", Qt::Key_Minus, true},
    {0x6E, "Num Del", Qt::Key_Period, true},
    {0x6F, "Num /", Qt::Key_Slash, true},
    {0xBA, ";", Qt::Key_Semicolon, false},
    {0xBB, "=", Qt::Key_Equal, false},
    {0xBC, ",", Qt::Key_Comma, false},
    {0xBD, "-", Qt::Key_Minus, false},
    {0xBE, ".", Qt::Key_Period, false},
    {0xBF, "/", Qt::Key_Slash, false},
    {0xC0, "`", Qt::Key_QuoteLeft, false},
    {0xDB, "[", Qt::Key_BracketLeft, false},
    {0xDC, "\\", Qt::Key_Backslash, false},
    {0xDD, "]", Qt::Key_BracketRight, false},
    {0xDE, "'", Qt::Key_Apostrophe, false},
    {0x2C, "PrtSc", Qt::Key_Print, false},
}};

// Other names the catalogue and users write for the same keys.
struct KeyAlias {
    const char *name;
    uint8_t vk;
};

constexpr std::array<KeyAlias, 6> KKeyAliases{{
    {"PgUp", 0x21},
    {"PgDn", 0x22},
    {"Backspace", 0x08},
    {"Escape", 0x1B},
    {"Return", 0x0D},
    {"Delete", 0x2E},
}};

constexpr uint8_t VkF1 = 0x70;
constexpr uint8_t VkNumpad0 = 0x60;
constexpr int FunctionKeys = 24;

uint8_t KeyNameToVk(const QString &name)
{
    if (name.size() == 1) {
        const QChar c = name.at(0).toUpper();
        if ((c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
            (c >= QLatin1Char('0') && c <= QLatin1Char('9')))
            return static_cast<uint8_t>(c.unicode());
    }
    if (name.size() >= 2 && name.at(0).toUpper() == QLatin1Char('F')) {
        bool ok = false;
        const int n = name.mid(1).toInt(&ok);
        if (ok && n >= 1 && n <= FunctionKeys)
            return static_cast<uint8_t>(VkF1 + n - 1);
    }
    if (name.startsWith(QLatin1String("Num "), Qt::CaseInsensitive) && name.size() == 5 &&
        name.at(4).isDigit())
        return static_cast<uint8_t>(VkNumpad0 + name.at(4).digitValue());
    for (const NamedKey &k : KNamedKeys)
        if (name.compare(QLatin1String(k.name), Qt::CaseInsensitive) == 0)
            return k.vk;
    for (const KeyAlias &a : KKeyAliases)
        if (name.compare(QLatin1String(a.name), Qt::CaseInsensitive) == 0)
            return a.vk;
    return 0;
}

QString VkToKeyName(uint8_t vk)
{
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        return QString(QChar(vk));
    if (vk >= VkF1 && vk < VkF1 + FunctionKeys)
        return QStringLiteral("F%1").arg(vk - VkF1 + 1);
    if (vk >= VkNumpad0 && vk <= VkNumpad0 + 9)
        return QStringLiteral("Num %1").arg(vk - VkNumpad0);
    for (const NamedKey &k : KNamedKeys)
        if (k.vk == vk)
            return QLatin1String(k.name);
    return QString();
}

// The Qt key of a virtual-key code, with the keypad flag; Key_unknown when Qt has none.
std::pair<int, bool> VkToQtKey(uint8_t vk)
{
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        return {vk, false}; // Qt::Key_A.. and Qt::Key_0.. share these codes
    if (vk >= VkF1 && vk < VkF1 + FunctionKeys)
        return {Qt::Key_F1 + (vk - VkF1), false};
    if (vk >= VkNumpad0 && vk <= VkNumpad0 + 9)
        return {Qt::Key_0 + (vk - VkNumpad0), true};
    for (const NamedKey &k : KNamedKeys)
        if (k.vk == vk)
            return {k.qtKey, k.keypad};
    return {Qt::Key_unknown, false};
}

uint8_t QtKeyToVk(int key, bool keypad)
{
    if (keypad && key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<uint8_t>(VkNumpad0 + (key - Qt::Key_0));
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return static_cast<uint8_t>(key);
    if (key >= Qt::Key_F1 && key < Qt::Key_F1 + FunctionKeys)
        return static_cast<uint8_t>(VkF1 + (key - Qt::Key_F1));
    if (key == Qt::Key_Enter)
        return 0x0D;
    for (const NamedKey &k : KNamedKeys)
        if (k.qtKey == key && k.keypad == keypad)
            return k.vk;
    return 0;
}

struct Modifier {
    TShortCut bit;
    const char *prefix;
    Qt::KeyboardModifier qt;
};

constexpr std::array<Modifier, 3> KModifiers{{
    {scShift, "Shift+", Qt::ShiftModifier},
    {scCtrl, "Ctrl+", Qt::ControlModifier},
    {scAlt, "Alt+", Qt::AltModifier},
}};

} // namespace

TShortCut TextToShortCut(const QString &text)
{
    QString rest = text.trimmed();
    TShortCut modifiers = 0;
    for (bool found = true; found;) {
        found = false;
        for (const Modifier &m : KModifiers) {
            if (rest.size() > qsizetype(qstrlen(m.prefix)) &&
                rest.startsWith(QLatin1String(m.prefix), Qt::CaseInsensitive)) {
                modifiers |= m.bit;
                rest = rest.mid(qstrlen(m.prefix));
                found = true;
            }
        }
    }
    const uint8_t vk = KeyNameToVk(rest);
    return vk ? static_cast<TShortCut>(modifiers | vk) : TShortCut(0);
}

QString ShortCutToText(TShortCut shortCut)
{
    const QString key = VkToKeyName(shortCut & 0xFF);
    if (key.isEmpty())
        return QString();
    QString text;
    for (const Modifier &m : KModifiers)
        if (shortCut & m.bit)
            text += QLatin1String(m.prefix);
    return text + key;
}

QKeySequence ShortCutToKeySequence(TShortCut shortCut)
{
    const auto [key, keypad] = VkToQtKey(shortCut & 0xFF);
    if (key == Qt::Key_unknown)
        return QKeySequence();
    Qt::KeyboardModifiers modifiers = keypad ? Qt::KeypadModifier : Qt::NoModifier;
    for (const Modifier &m : KModifiers)
        if (shortCut & m.bit)
            modifiers |= m.qt;
    return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(key)));
}

TShortCut KeySequenceToShortCut(const QKeySequence &sequence)
{
    if (sequence.isEmpty())
        return 0;
    const QKeyCombination combination = sequence[0];
    const uint8_t vk =
        QtKeyToVk(combination.key(), combination.keyboardModifiers().testFlag(Qt::KeypadModifier));
    if (!vk)
        return 0;
    TShortCut shortCut = vk;
    for (const Modifier &m : KModifiers)
        if (combination.keyboardModifiers().testFlag(m.qt))
            shortCut |= m.bit;
    return shortCut;
}
