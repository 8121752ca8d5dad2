#pragma once

#include <QString>

#include <vector>

class TCustomAbstractAction;
class TCustomKSActionList;

// The program's actions, one row each: the vocabulary of its shortcuts, switches, scripts and
// stored preferences. Each list's owner creates the list's actions from its rows and then gives
// them captions, hints and handlers.
namespace ActionCatalogue
{

// The program's action lists, by the names their owners give them.
enum class List { am, gpal, NavMan, vidman, audman, ficman, al_script, ficman_script };

enum class Kind { Nope, Check, Boolean, Integer, Double, Widestring, Color, Font, Point, Rect };

enum Flag : unsigned { Stored = 1, AppliedWhenLoaded = 2 };

struct Row {
    const char *name;
    Kind kind;
    const char *scriptName; // "" for none
    const char *switchName; // "" for none
    const char *shortCut;   // as the keys are named ("Ctrl+Page Down", "Num +"), "" for none
    // "" for none; "True"/"False", a number, a colour identifier, a text, or for a font
    // "name,size,colour,styles" with the styles as letters B, I, U, S.
    const char *defaultValue;
    unsigned flags;
};

// The name of a list ("am", "gpal", ...).
QString ListName(List list);

// The rows of a list, in list order.
const std::vector<Row> &Rows(List list);

// Creates the list's actions in `target`, in row order: each named, identified and found by
// its row name, with its script name, switch, shortcut, default and flags. Returns how many
// were created.
int CreateActions(TCustomKSActionList &target, List list);

// Creates in `target` the action of the list's row named `name`, as CreateActions does; none
// when the list has no such row. For a manager whose subclass owns the list's other rows.
TCustomAbstractAction *CreateAction(TCustomKSActionList &target, List list, const QString &name);

} // namespace ActionCatalogue
