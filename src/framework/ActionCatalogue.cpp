#include "ActionCatalogue.h"

#include "BooleanAction.h"
#include "CheckAction.h"
#include "ColorAction.h"
#include "CustomKSActionList.h"
#include "DoubleAction.h"
#include "FontAction.h"
#include "IntegerAction.h"
#include "NopeAction.h"
#include "PointAction.h"
#include "RectAction.h"
#include "TextConversion.h"
#include "WidestringAction.h"

#include <QStringList>

#include <algorithm>

namespace ActionCatalogue
{

namespace
{

constexpr unsigned S = Stored;
constexpr unsigned SA = Stored | AppliedWhenLoaded;

using K = Kind;

const std::vector<Row> KApplicationManager = {
    {"caScript", K::Check, "Script", "sc", "F12", "False", 0},
    {"caHelp", K::Check, "Help", "ch", "F1", "False", 0},
    {"caAbout", K::Check, "About", "ca", "F11", "False", 0},
    {"caOptions", K::Check, "Options", "co", "F10", "False", 0},
    {"caCustom", K::Check, "Custom", "", "Alt+F10", "False", 0},
    {"naQuit", K::Nope, "Quit", "q", "Alt+F4", "", 0},
    {"naEMail", K::Nope, "EMail", "em", "Alt+E", "", 0},
    {"naHomePage", K::Nope, "HomePage", "hp", "Alt+H", "", 0},
    {"raFormSave", K::Rect, "FormSave", "", "", "", SA},
};

const std::vector<Row> KMainList = {
    {"caDecalageAvance", K::Check, "DecalageAvance", "da", "", "False", SA},
    {"daDecalageHoraire", K::Double, "DecalageHoraire", "dh", "", "0", SA},
    {"iaLeftFrame", K::Integer, "LeftFrame", "lf", "", "0", S},
    {"baConfirmerImage", K::Boolean, "ConfirmerImage", "ci", "", "True", SA},
    {"caIntervalloShow", K::Check, "IntervalloShow", "si", "Alt+J", "False", 0},
    {"baImageDeinterlacer", K::Boolean, "ImageDeinterlacer", "di", "", "False", SA},
    {"baSauverQuandClic", K::Boolean, "SauverQuandClic", "sq", "", "True", SA},
    {"iaDigits", K::Integer, "Digits", "dig", "", "3", SA},
    {"iaImageExtension", K::Integer, "ImageExtension", "iex", "", "0", SA},
    {"iaJpegCompressionQuality", K::Integer, "JpegCompressionQuality", "qual", "", "50", SA},
    {"iaImageAjouter", K::Integer, "ImageAjouter", "addi", "", "0", SA},
    {"iaPanneauActif", K::Integer, "PanneauActif", "ap", "", "0", SA},
    {"iaIntervalloDelai", K::Integer, "IntervalloDelai", "idelai", "", "0", SA},
    {"iaIntervalloUnit", K::Integer, "IntervalloUnit", "iunit", "", "0", SA},
    {"iaForcerAspectRatio", K::Integer, "ForcerAspectRatio", "far", "", "0", SA},
    {"waDossierSave", K::Widestring, "DossierSave", "savfold", "", "", SA}, // default from its owner
    {"iaNomFichierImage", K::Integer, "NomFichierImage", "fname", "", "0", SA},
    {"baLimiterLongueur", K::Boolean, "LimiterLongueur", "limit", "", "False", SA},
    {"iaRacineLength", K::Integer, "RacineLength", "rootlen", "", "8", SA},
    {"waDefaultRacine", K::Widestring, "DefaultRacine", "root", "", "Kestrin", SA},
    {"naShowSaveImagesFrame", K::Nope, "ShowSaveImagesFrame", "shSav", "F3", "", S},
    {"naShowExtraireFrame", K::Nope, "ShowExtraireFrame", "shExtr", "F2", "", S},
    {"naShowIncrustFrame", K::Nope, "ShowIncrustFrame", "ShIn", "F6", "", S},
    {"naGrab", K::Nope, "Grab", "g", "F5", "", S},
    {"iaNextNum", K::Integer, "NextNum", "n", "", "1", SA},
    {"naJpegExtension", K::Nope, "JpegExtension", "ej", "", "", S},
    {"naBmpExtension", K::Nope, "BmpExtension", "eb", "", "", S},
    {"naAjouterTimeStamp", K::Nope, "AjouterTimeStamp", "as", "", "", S},
    {"naAjouterNumero", K::Nope, "AjouterNumero", "an", "", "", S},
    {"naCopy", K::Nope, "Copy", "c", "Ctrl+C", "", S},
    {"naInsertTimestamp", K::Nope, "InsertTimestamp", "is", "Ctrl+S", "", S},
    {"naInsertTimecode", K::Nope, "InsertTimecode", "it", "Ctrl+T", "", S},
    {"naInsertPerso", K::Nope, "InsertPerso", "ip", "Ctrl+P", "", S},
    {"naInsertNumero", K::Nope, "InsertNumero", "in", "Ctrl+N", "", S},
    {"naInsertDatecode", K::Nope, "InsertDatecode", "id", "Ctrl+D", "", S},
    {"naInsertSysdateTime", K::Nope, "InsertSysdateTime", "ir", "Ctrl+R", "", S},
    {"baRAZWhenOpenFile", K::Boolean, "RAZWhenOpenFile", "raz", "", "True", SA},
    {"waInsertPerso1", K::Widestring, "InsertPerso1", "p1", "", "Kestrin", SA},
    {"waInsertPerso2", K::Widestring, "InsertPerso2", "p2", "", "Still images taken with Kestrin", SA},
    {"waFormatDatecode1", K::Widestring, "FormatDatecode1", "fd1", "", "ddddd", SA},
    {"waFormatDatecode2", K::Widestring, "FormatDatecode2", "fd2", "", "tt", SA},
    {"caSliders", K::Check, "Sliders", "isl", "Ctrl+L", "False", SA},
    {"naSoustitres", K::Nope, "Soustitres", "sub", "", "", S},
    {"waIncrustPattern1", K::Widestring, "IncrustPattern1", "ipat1", "", "No inlay has been defined.", SA},
    {"waIncrustPattern2", K::Widestring, "IncrustPattern2", "ipat2", "", " \"%F\"", SA},
    {"naShowDVIncrustFrame", K::Nope, "ShowDVIncrustFrame", "shDV", "F4", "", S},
    {"baInsertAutoSize", K::Boolean, "InsertAutoSize", "auto", "Ctrl+\\", "True", SA},
    {"naForcerNormal", K::Nope, "ForcerNormal", "arN", "Alt+F5", "", S},
    {"naForcer4x3", K::Nope, "Forcer4x3", "ar43", "Alt+F6", "", S},
    {"naForcer16x9", K::Nope, "Forcer16x9", "ar169", "Alt+F7", "", S},
    {"naForcerNative", K::Nope, "ForcerNative", "arNat", "Alt+F8", "", S},
    {"caBasculerVue", K::Check, "BasculerVue", "bw", "Alt+W", "False", SA},
    {"naAbort", K::Nope, "Abort", "a", "Esc", "", S},
    {"waPrivateFolder", K::Widestring, "waLAVFolder", "privf", "", "", SA}, // default from its owner
    {"waInsertFontName", K::Widestring, "InsertFontName", "ifname", "", "", S},
    {"baUsePrivateFilters", K::Boolean, "UsePrivateFilters", "priv", "", "True", SA},
    {"baInsertFontBold", K::Boolean, "InsertFontBold", "ifBold", "", "False", S},
    {"baInsertFontItalic", K::Boolean, "InsertFontItalic", "ifItal", "", "False", S},
    {"baInsertFontUnderline", K::Boolean, "InsertFontUnderline", "ifUnder", "", "False", S},
    {"baInsertFontStrikeOut", K::Boolean, "InsertFontStrikeOut", "ifSO", "", "False", S},
    {"laInsertFontColor", K::Color, "InsertFontColor", "ifCol", "", "clBlack", S},
    {"iaInsertFontSize", K::Integer, "InsertFontSize", "ifSize", "", "0", S},
    {"naIntervalloStart", K::Nope, "IntervalloStart", "inter", "Ctrl+J", "", 0},
    {"naIntervalloBreak", K::Nope, "IntervalloBreak", "br", "Shift+Ctrl+J", "", 0},
    {"naExecuteScript", K::Nope, "ExecuteScript", "exec", "Ctrl+F12", "", S},
    {"caConserverScript", K::Check, "ConserverScript", "", "", "True", SA},
    {"waDossierScripts", K::Widestring, "DossierScripts", "", "", "", SA}, // default from its owner
};

const std::vector<Row> KNavigationManager = {
    {"caPlay", K::Check, "Play", "p", "Ctrl+Space", "False", 0},
    {"naReculeDebut", K::Nope, "ReculeDebut", "deb", "", "", S},
    {"naReculeTrack", K::Nope, "ReculeTrack", "nrtrack", "Ctrl+Home", "", S},
    {"naRecule10Minutes", K::Nope, "Recule10Minutes", "nr10m", "", "", S},
    {"naReculeMinute", K::Nope, "ReculeMinute", "nrm", "Ctrl+Page Down", "", S},
    {"naRecule10Secondes", K::Nope, "Recule10Secondes", "nr10s", "", "", S},
    {"naReculeSeconde", K::Nope, "ReculeSeconde", "nrs", "Ctrl+Down", "", S},
    {"naRecule10Frames", K::Nope, "Recule10Frames", "nr10f", "", "", S},
    {"naReculeFrame", K::Nope, "ReculeFrame", "nrf", "Ctrl+Left", "", S},
    {"naAvanceFin", K::Nope, "AvanceFin", "end", "", "", S},
    {"naAvanceTrack", K::Nope, "AvanceTrack", "naTrack", "Ctrl+End", "", S},
    {"naAvance10Minutes", K::Nope, "Avance10Minutes", "na10m", "", "", S},
    {"naAvanceMinute", K::Nope, "AvanceMinute", "nam", "Ctrl+Page Up", "", S},
    {"naAvance10Secondes", K::Nope, "Avance10Secondes", "na10s", "", "", S},
    {"naAvanceSeconde", K::Nope, "AvanceSeconde", "nas", "Ctrl+Up", "", S},
    {"naAvance10Frames", K::Nope, "Avance10Frames", "na10f", "", "", S},
    {"naAvanceFrame", K::Nope, "AvanceFrame", "naf", "Ctrl+Right", "", S},
    {"caVitesseCompatible", K::Check, "VitesseCompatible", "", "Ctrl+B", "False", SA},
    {"caSeekPrecision", K::Check, "SeekPrecision", "prec", "", "True", SA},
    {"iaSeekPrepos", K::Integer, "SeekPrepos", "prep", "", "1000", SA},
    {"waStrPosition", K::Widestring, "Position", "StrPos", "", "0:00:00:00", S},
};

const std::vector<Row> KVideoManager = {
    {"caFullscreen", K::Check, "FullScreen", "fs", "Alt+Enter", "False", 0},
    {"caFlipVertical", K::Check, "FlipVertical", "fv", "Ctrl+Alt+V", "False", SA},
    {"caFlipHorizontal", K::Check, "FlipHorizontal", "fh", "Ctrl+Alt+H", "False", SA},
    {"caPreviewform", K::Check, "Previewform", "pf", "Alt+BkSp", "False", SA},
    {"caKeepAspectratio", K::Check, "KeepAspectRatio", "kar", "Alt+R", "False", 0},
    {"iaFullBorderWidth", K::Integer, "FullBorderWidth", "fbw", "", "0", SA},
    {"iaInsertAlignLines", K::Integer, "AlignLines", "ial", "", "2", SA},
    {"iaWinBorderWidth", K::Integer, "WinBorderWidth", "wbw", "", "4", SA},
    {"iaBorderColor", K::Color, "BorderColor", "bcol", "", "clSilver", SA},
    {"iaBackColor", K::Color, "BackColor", "bkCol", "", "clSilver", SA},
    {"caInsertTextOn", K::Check, "InsertTextOn", "i", "Ctrl+I", "False", SA},
    {"iaInsertBorderWidth", K::Integer, "InsertBorderWidth", "ibw", "", "2", SA},
    {"iaInsertBorderColor", K::Color, "InsertBorderColor", "ibCol", "", "clBlack", SA},
    // Arial 33 pixels high: 25 points at 96 pixels per inch.
    {"faInsertFont", K::Font, "InsertFont", "", "", "Arial,25,clYellow,B", SA},
    {"iaInsertTransparentColor", K::Color, "InsertTransparentColor", "tCol", "", "clFuchsia", SA},
    {"caInsertAntiAliasing", K::Check, "InsertAntiAliasing", "iaa", "Ctrl+G", "True", SA},
    {"daInsertTransparency", K::Double, "InsertTransparency", "trans", "", "1.0", SA},
    {"paInsertPosition", K::Point, "InsertPosition", "inpos", "", "", SA}, // default from its owner
    {"raPreviewSave", K::Rect, "PreviewSave", "", "", "", SA},
    {"iaTimerInterval", K::Integer, "TimerInterval", "tim", "", "3000", S},
    {"naNextDecoderVideo", K::Nope, "NextDecoderVideo", "nextdv", "Ctrl+F8", "", S},
};

const std::vector<Row> KAudioManager = {
    {"caMute", K::Check, "Mute", "m", "Ctrl+M", "False", SA},
    {"naNextDecoderAudio", K::Nope, "NextDecoderAudio", "nextda", "Ctrl+F9", "", S},
    {"naIncVolume", K::Nope, "IncVolume", "iv", "Num +", "", S},
    {"naDecVolume", K::Nope, "DecVolume", "dv", "Num -", "", S},
    {"iaVolume", K::Integer, "Volume", "vol", "", "5000", SA},
};

const std::vector<Row> KFileManager = {
    {"naNewFile", K::Nope, "NewFile", "", "", "", S},
    {"waOpenFile", K::Widestring, "OpenFile", "o", "Ctrl+O", "", S},
    {"waCurrentFileName", K::Widestring, "CurrentFileName", "", "", "", SA},
    {"baOpenLastFile", K::Boolean, "OpenLastFile", "", "", "True", SA},
    {"waInitialDir", K::Widestring, "InitialDir", "", "", "", SA},
    {"naPasteFile", K::Nope, "PasteFile", "", "Ctrl+V", "", S},
    {"naSaveFile", K::Nope, "SaveFile", "", "", "", S},
    {"waSaveFileAs", K::Widestring, "SaveFileAs", "", "", "", S},
    {"naCloseFile", K::Nope, "CloseFile", "", "Ctrl+F", "", S},
    {"naParentFolder", K::Nope, "ParentFolder", "", "F9", "", S},
    {"naRecent1", K::Nope, "Recent1", "", "", "", S},
    {"naRecent2", K::Nope, "Recent2", "", "", "", S},
    {"naRecent3", K::Nope, "Recent3", "", "", "", S},
    {"naRecent4", K::Nope, "Recent4", "", "", "", S},
    {"naRecent5", K::Nope, "Recent5", "", "", "", S},
    {"naRecent6", K::Nope, "Recent6", "", "", "", S},
    {"naRecent7", K::Nope, "Recent7", "", "", "", S},
    {"naRecent8", K::Nope, "Recent8", "", "", "", S},
    {"naRecent9", K::Nope, "Recent9", "", "", "", S},
    {"naRecent10", K::Nope, "Recent10", "", "", "", S},
    {"waRecentFilename1", K::Widestring, "RecentFilename1", "", "", "", SA},
    {"waRecentFilename2", K::Widestring, "RecentFilename2", "", "", "", SA},
    {"waRecentFilename3", K::Widestring, "RecentFilename3", "", "", "", SA},
    {"waRecentFilename4", K::Widestring, "RecentFilename4", "", "", "", SA},
    {"waRecentFilename5", K::Widestring, "RecentFilename5", "", "", "", SA},
    {"waRecentFilename6", K::Widestring, "RecentFilename6", "", "", "", SA},
    {"waRecentFilename7", K::Widestring, "RecentFilename7", "", "", "", SA},
    {"waRecentFilename8", K::Widestring, "RecentFilename8", "", "", "", SA},
    {"waRecentFilename9", K::Widestring, "RecentFilename9", "", "", "", SA},
    {"waRecentFilename10", K::Widestring, "RecentFilename10", "", "", "", SA},
};

const std::vector<Row> KMacroList = {
    {"raScriptFormSave", K::Rect, "ScriptFormSave", "", "", "", SA}, // default from its owner
    {"naExecuteMacro", K::Nope, "ExecuteMacro", "", "F5", "", S},
    {"naStartMacro", K::Nope, "", "", "F3", "", S},
    {"naStopMacro", K::Nope, "", "", "F4", "", S},
};

// How the script window's file manager differs from the main window's: the editing keys, the
// file commands not stored, and no switch to open a file.
struct ScriptFileDifference {
    const char *name;
    const char *shortCut; // nullptr: unchanged
    bool stored;
    bool keepsSwitch;
};

const std::vector<ScriptFileDifference> KScriptFileDifferences = {
    {"naNewFile", "Ctrl+N", false, true},          {"waOpenFile", nullptr, true, false},
    {"naPasteFile", nullptr, false, true},         {"naSaveFile", "Ctrl+S", false, true},
    {"waSaveFileAs", "Shift+Ctrl+S", false, true}, {"naCloseFile", nullptr, false, true},
    {"naParentFolder", nullptr, false, true},
};

// The script window's file manager loads its initial folder before the current name, so a new
// script is named in the stored folder.
std::vector<Row> ScriptFileManagerRows()
{
    std::vector<Row> rows = KFileManager;
    auto named = [&rows](const char *name) {
        return std::find_if(rows.begin(), rows.end(),
                            [name](const Row &r) { return qstrcmp(r.name, name) == 0; });
    };
    std::rotate(named("waCurrentFileName"), named("waInitialDir"), named("waInitialDir") + 1);
    for (Row &row : rows) {
        for (const ScriptFileDifference &d : KScriptFileDifferences) {
            if (qstrcmp(row.name, d.name) != 0)
                continue;
            if (d.shortCut)
                row.shortCut = d.shortCut;
            if (!d.stored)
                row.flags &= ~unsigned(Stored);
            if (!d.keepsSwitch)
                row.switchName = "";
        }
    }
    return rows;
}

TFont FontFromText(const QString &text)
{
    const QStringList fields = text.split(QLatin1Char(','));
    TFont font;
    font.Name = fields.value(0);
    font.Size = fields.value(1).toInt();
    IdentToColor(fields.value(2), font.Color);
    const QString styles = fields.value(3);
    font.Bold = styles.contains(QLatin1Char('B'));
    font.Italic = styles.contains(QLatin1Char('I'));
    font.Underline = styles.contains(QLatin1Char('U'));
    font.StrikeOut = styles.contains(QLatin1Char('S'));
    return font;
}

TCustomAbstractAction *NewAction(Kind kind, const QString &name, TCustomKSActionList &list)
{
    switch (kind) {
    case Kind::Nope:
        return new TNopeAction(name, &list);
    case Kind::Check:
        return new TCheckAction(name, &list);
    case Kind::Boolean:
        return new TBooleanAction(name, &list);
    case Kind::Integer:
        return new TIntegerAction(name, &list);
    case Kind::Double:
        return new TDoubleAction(name, &list);
    case Kind::Widestring:
        return new TWidestringAction(name, &list);
    case Kind::Color:
        return new TColorAction(name, &list);
    case Kind::Font:
        return new TFontAction(name, &list);
    case Kind::Point:
        return new TPointAction(name, &list);
    case Kind::Rect:
        return new TRectAction(name, &list);
    }
    return nullptr;
}

// Sets the default written in a row; points and rectangles get theirs from their owners.
void SetDefault(TCustomAbstractAction *action, Kind kind, const QString &text)
{
    if (text.isEmpty())
        return;
    switch (kind) {
    case Kind::Check:
        static_cast<TCheckAction *>(action)->SetDefaultValue(TextToBoolean(text));
        break;
    case Kind::Boolean:
        static_cast<TBooleanAction *>(action)->SetDefaultValue(TextToBoolean(text));
        break;
    case Kind::Integer:
        static_cast<TIntegerAction *>(action)->SetDefaultValue(text.toInt());
        break;
    case Kind::Double:
        static_cast<TDoubleAction *>(action)->SetDefaultValue(text.toDouble());
        break;
    case Kind::Widestring:
        static_cast<TWidestringAction *>(action)->SetDefaultValue(text);
        break;
    case Kind::Color: {
        TColor color = 0;
        if (IdentToColor(text, color))
            static_cast<TColorAction *>(action)->SetDefaultValue(color);
        break;
    }
    case Kind::Font:
        static_cast<TFontAction *>(action)->SetDefaultValue(FontFromText(text));
        break;
    case Kind::Nope:
    case Kind::Point:
    case Kind::Rect:
        break;
    }
}

TCustomAbstractAction *ActionOfRow(TCustomKSActionList &target, const Row &row)
{
    const QString name = QLatin1String(row.name);
    TCustomAbstractAction *action = NewAction(row.kind, name, target);
    action->SetName(name);
    action->ScriptName = QString::fromUtf8(row.scriptName);
    action->Switch = QString::fromUtf8(row.switchName);
    action->SetShortCut(TextToShortCut(QString::fromUtf8(row.shortCut)));
    action->IncludePrefs = row.flags & Stored;
    action->ApplyWhenLoad = row.flags & AppliedWhenLoaded;
    SetDefault(action, row.kind, QString::fromUtf8(row.defaultValue));
    return action;
}

} // namespace

QString ListName(List list)
{
    switch (list) {
    case List::am:
        return QStringLiteral("am");
    case List::gpal:
        return QStringLiteral("gpal");
    case List::NavMan:
        return QStringLiteral("NavMan");
    case List::vidman:
        return QStringLiteral("vidman");
    case List::audman:
        return QStringLiteral("audman");
    case List::ficman:
        return QStringLiteral("ficman");
    case List::al_script:
        return QStringLiteral("al_script");
    case List::ficman_script:
        return QStringLiteral("ficman_script");
    }
    return QString();
}

const std::vector<Row> &Rows(List list)
{
    static const std::vector<Row> scriptFileManager = ScriptFileManagerRows();
    switch (list) {
    case List::am:
        return KApplicationManager;
    case List::gpal:
        return KMainList;
    case List::NavMan:
        return KNavigationManager;
    case List::vidman:
        return KVideoManager;
    case List::audman:
        return KAudioManager;
    case List::ficman:
        return KFileManager;
    case List::al_script:
        return KMacroList;
    case List::ficman_script:
        return scriptFileManager;
    }
    return KMacroList;
}

int CreateActions(TCustomKSActionList &target, List list)
{
    int created = 0;
    for (const Row &row : Rows(list)) {
        ActionOfRow(target, row);
        ++created;
    }
    return created;
}

TCustomAbstractAction *CreateAction(TCustomKSActionList &target, List list, const QString &name)
{
    for (const Row &row : Rows(list)) {
        if (name == QLatin1String(row.name))
            return ActionOfRow(target, row);
    }
    return nullptr;
}

} // namespace ActionCatalogue
