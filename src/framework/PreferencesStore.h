#pragma once

#include "Font.h"
#include "Rect.h"

#include <QPoint>
#include <QString>

// What the typed actions and the action lists need of the preferences component: typed reads
// with a default and typed writes in the current key, and moving between keys. Reads return the
// stored value, or the default when it is missing or unreadable; writes return whether the value
// was stored. UI thread only.
//
// Compound values: a point N is the two integers "N.X" and "N.Y"; a rectangle N is the subkey N
// with "Left", "Top", "Right", "Bottom"; a font N is the subkey N with its fields.
class TPreferencesStore
{
  public:
    virtual ~TPreferencesStore() = default;

    // Descends into subkey `name` of the current key, creating it when missing.
    virtual bool OpenKey(const QString &name) = 0;
    // Goes back to the parent of the current key.
    virtual void CloseKey() = 0;

    virtual bool ReadBool(const QString &name, bool defaultValue) = 0;
    virtual int ReadInteger(const QString &name, int defaultValue) = 0;
    virtual double ReadFloat(const QString &name, double defaultValue) = 0;
    virtual QString ReadString(const QString &name, const QString &defaultValue) = 0;
    virtual QPoint ReadPoint(const QString &name, const QPoint &defaultValue) = 0;
    virtual TRect ReadRect(const QString &name, const TRect &defaultValue) = 0;
    // Fills `font` from the stored font, or with `defaultValue` when any of its fields is missing.
    virtual void ReadFont(const QString &name, TFont &font, const TFont &defaultValue) = 0;

    virtual bool WriteBool(const QString &name, bool value) = 0;
    virtual bool WriteInteger(const QString &name, int value) = 0;
    virtual bool WriteFloat(const QString &name, double value) = 0;
    virtual bool WriteString(const QString &name, const QString &value) = 0;
    virtual bool WritePoint(const QString &name, const QPoint &value) = 0;
    virtual bool WriteRect(const QString &name, const TRect &value) = 0;
    virtual bool WriteFont(const QString &name, const TFont &value) = 0;
};
