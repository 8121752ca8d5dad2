#include "FontAction.h"

void TFontAction::SetValue(const QString &name, int size, TColor color, bool bold, bool italic,
                           bool underline, bool strikeOut)
{
    TFont font = value_;
    font.Name = name;
    font.Size = size;
    font.Color = color;
    font.Bold = bold;
    font.Italic = italic;
    font.Underline = underline;
    font.StrikeOut = strikeOut;
    SetValue(font);
}

QString TFontAction::ScriptDeclaration()
{
    return QStringLiteral("procedure %1(aName:widestring;aSize:integer;aColor:TColor;isBold:Boolean;"
                          "isItalic:Boolean;isUnderline:Boolean;isStrikeOut:Boolean);")
        .arg(ScriptName);
}

QString TFontAction::MacroArguments() const
{
    const QString color = QString::number(value_.Color, 16).toUpper().rightJustified(6, QLatin1Char('0'));
    return QStringLiteral("(%1, %2, $%3, %4, %5, %6, %7);")
        .arg(QuotedText(value_.Name))
        .arg(value_.Size)
        .arg(color, BooleanText(value_.Bold), BooleanText(value_.Italic), BooleanText(value_.Underline),
             BooleanText(value_.StrikeOut));
}

TFont TFontAction::ReadPreference(TPreferencesStore &store, const TFont &defaultValue)
{
    TFont font;
    store.ReadFont(ScriptName, font, defaultValue);
    return font;
}

bool TFontAction::WritePreference(TPreferencesStore &store, const TFont &value)
{
    return store.WriteFont(ScriptName, value);
}

TFont TFontAction::FromScriptArguments(const QVariantList &arguments) const
{
    TFont font = value_;
    font.Name = arguments.value(0).toString();
    font.Size = arguments.value(1).toInt();
    font.Color = static_cast<TColor>(arguments.value(2).toLongLong());
    font.Bold = arguments.value(3).toBool();
    font.Italic = arguments.value(4).toBool();
    font.Underline = arguments.value(5).toBool();
    font.StrikeOut = arguments.value(6).toBool();
    return font;
}
