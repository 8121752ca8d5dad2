#include "CustomAbstractAction.h"

#include "CustomKSActionList.h"

namespace
{

// The default script name and caption of a name: the name without its two-letter type prefix.
QString WithoutPrefix(const QString &name)
{
    return name.mid(2);
}

} // namespace

TCustomAbstractAction::TCustomAbstractAction(QObject *owner) : QAction(owner)
{
    connect(this, &QAction::triggered, this, [this] { DoExecute(); });
}

TCustomAbstractAction::TCustomAbstractAction(const QString &internalId, TCustomKSActionList *list)
    : TCustomAbstractAction(list)
{
    InternalId = internalId;
    Category = QStringLiteral("internal");
    SetActionList(list);
}

TCustomAbstractAction::~TCustomAbstractAction()
{
    SetActionList(nullptr);
}

void TCustomAbstractAction::SetName(const QString &name)
{
    const QString oldName = objectName();
    QString candidate = name;
    for (int n = 2; NameTaken(candidate); ++n)
        candidate = name + QString::number(n);
    if (ScriptName == WithoutPrefix(oldName))
        ScriptName = WithoutPrefix(candidate);
    if (Caption() == WithoutPrefix(oldName))
        SetCaption(WithoutPrefix(candidate));
    if (InternalId == oldName)
        InternalId = candidate;
    setObjectName(candidate);
}

bool TCustomAbstractAction::NameTaken(const QString &candidate) const
{
    if (!parent() || candidate.isEmpty())
        return false;
    const QString suffixed = candidate + QLatin1Char('_');
    for (const QObject *sibling : parent()->children())
        if (sibling != this && (sibling->objectName() == candidate || sibling->objectName() == suffixed))
            return true;
    return false;
}

void TCustomAbstractAction::SetHint(const QString &hint)
{
    setStatusTip(hint);
    setToolTip(hint); // an empty tool tip shows the caption
}

void TCustomAbstractAction::SetShortCut(TShortCut shortCut)
{
    shortCut_ = shortCut;
    UpdateKeySequences();
}

void TCustomAbstractAction::SetSecondaryShortcuts(const QStringList &shortCuts)
{
    secondaryShortcuts_ = shortCuts;
    UpdateKeySequences();
}

void TCustomAbstractAction::UpdateKeySequences()
{
    QList<QKeySequence> sequences;
    if (shortCut_)
        sequences.append(ShortCutToKeySequence(shortCut_));
    for (const QString &text : secondaryShortcuts_)
        if (const TShortCut secondary = TextToShortCut(text))
            sequences.append(ShortCutToKeySequence(secondary));
    sequences.removeAll(QKeySequence());
    setShortcuts(sequences);
}

void TCustomAbstractAction::SetImageIndex(int index)
{
    if (index == imageIndex_)
        return;
    imageIndex_ = index;
    if (OnImageChanged && actionList_)
        OnImageChanged(&actionList_->Images, index);
}

TCustomKSActionList *TCustomAbstractAction::ActionList() const
{
    return actionList_;
}

void TCustomAbstractAction::SetActionList(TCustomKSActionList *list)
{
    if (list == actionList_)
        return;
    if (actionList_)
        actionList_->RemoveAction(this);
    actionList_ = list;
    if (list)
        list->AddAction(this);
}

QString TCustomAbstractAction::VariablesOr(const QString &fallback)
{
    if (Variables.isEmpty())
        Variables = fallback;
    return Variables;
}
