#pragma once

// Small real implementations of the two services the actions talk to, for the action tests: a
// preferences store held in memory that logs its calls, and a script engine front that keeps
// the declared routines and can replay recorded macro lines through them.

#include "framework/PreferencesStore.h"
#include "framework/ScriptRegistrar.h"

#include <QMap>
#include <QRegularExpression>
#include <QStringList>
#include <QVariant>

class ActionTestStore : public TPreferencesStore
{
  public:
    QMap<QString, QVariant> values; // "Key\Sub\Name" -> value
    QStringList log;                // "ReadInteger NextNum", "WriteBool Mute", ...
    QString path;

    bool OpenKey(const QString &name) override
    {
        path = path.isEmpty() ? name : path + '\\' + name;
        return true;
    }
    void CloseKey() override { path = path.left(qMax<qsizetype>(0, path.lastIndexOf('\\'))); }

    bool ReadBool(const QString &n, bool d) override
    {
        return Read(QStringLiteral("ReadBool"), n, d).toBool();
    }
    int ReadInteger(const QString &n, int d) override
    {
        return Read(QStringLiteral("ReadInteger"), n, d).toInt();
    }
    double ReadFloat(const QString &n, double d) override
    {
        return Read(QStringLiteral("ReadFloat"), n, d).toDouble();
    }
    QString ReadString(const QString &n, const QString &d) override
    {
        return Read(QStringLiteral("ReadString"), n, d).toString();
    }
    QPoint ReadPoint(const QString &n, const QPoint &d) override
    {
        return Read(QStringLiteral("ReadPoint"), n, d).toPoint();
    }
    TRect ReadRect(const QString &n, const TRect &d) override
    {
        const QVariant v = Read(QStringLiteral("ReadRect"), n, QVariant());
        if (!v.isValid())
            return d;
        const QList<QVariant> e = v.toList();
        return TRect{e[0].toInt(), e[1].toInt(), e[2].toInt(), e[3].toInt()};
    }
    void ReadFont(const QString &n, TFont &font, const TFont &d) override
    {
        const QVariant v = Read(QStringLiteral("ReadFont"), n, QVariant());
        font = d;
        if (v.isValid())
            font.Name = v.toString(); // the tests only store names
    }

    bool WriteBool(const QString &n, bool v) override { return Write(QStringLiteral("WriteBool"), n, v); }
    bool WriteInteger(const QString &n, int v) override
    {
        return Write(QStringLiteral("WriteInteger"), n, v);
    }
    bool WriteFloat(const QString &n, double v) override { return Write(QStringLiteral("WriteFloat"), n, v); }
    bool WriteString(const QString &n, const QString &v) override
    {
        return Write(QStringLiteral("WriteString"), n, v);
    }
    bool WritePoint(const QString &n, const QPoint &v) override
    {
        return Write(QStringLiteral("WritePoint"), n, v);
    }
    bool WriteRect(const QString &n, const TRect &v) override
    {
        return Write(QStringLiteral("WriteRect"), n, QVariantList{v.Left, v.Top, v.Right, v.Bottom});
    }
    bool WriteFont(const QString &n, const TFont &v) override
    {
        return Write(QStringLiteral("WriteFont"), n, v.Name);
    }

    QString Key(const QString &name) const { return path.isEmpty() ? name : path + '\\' + name; }

  private:
    QVariant Read(const QString &op, const QString &name, const QVariant &fallback)
    {
        log << op + ' ' + name;
        return values.value(Key(name), fallback);
    }
    bool Write(const QString &op, const QString &name, const QVariant &value)
    {
        log << op + ' ' + name;
        values[Key(name)] = value;
        return true;
    }
};

class ActionTestEngine : public TScriptRegistrar
{
  public:
    QStringList declarations;
    QMap<QString, Routine> routines; // by lower-case procedure name

    bool DeclareRoutine(const QString &declaration, Routine routine) override
    {
        static const QRegularExpression nameOf(QStringLiteral("^procedure\\s+(\\w+)"));
        const QString name = nameOf.match(declaration).captured(1).toLower();
        if (name.isEmpty() || routines.contains(name))
            return false;
        declarations << declaration;
        routines.insert(name, routine);
        return true;
    }

    // One compilation: the hooked chain declares everything again.
    void Compile()
    {
        declarations.clear();
        routines.clear();
        if (OnCompile)
            OnCompile(*this);
    }

    // Runs one recorded macro line ("    Name(arg, ...);") through the declared routine.
    bool Replay(const QString &line)
    {
        static const QRegularExpression call(QStringLiteral("^\\s*(\\w+)(?:\\((.*)\\))?;$"));
        const QRegularExpressionMatch m = call.match(line);
        if (!m.hasMatch() || !routines.contains(m.captured(1).toLower()))
            return false;
        QVariantList arguments;
        for (const QString &raw : SplitArguments(m.captured(2)))
            arguments << Literal(raw.trimmed());
        routines.value(m.captured(1).toLower())(arguments);
        return true;
    }

  private:
    static QStringList SplitArguments(const QString &text)
    {
        QStringList parts;
        QString current;
        bool quoted = false;
        for (QChar c : text) {
            if (c == '\'')
                quoted = !quoted;
            if (c == ',' && !quoted) {
                parts << current;
                current.clear();
            } else {
                current += c;
            }
        }
        if (!current.isEmpty())
            parts << current;
        return parts;
    }
    static QVariant Literal(const QString &text)
    {
        if (text.startsWith('\''))
            return text.mid(1, text.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'"));
        if (text == QLatin1String("True") || text == QLatin1String("False"))
            return text == QLatin1String("True");
        if (text.startsWith('$'))
            return text.mid(1).toLongLong(nullptr, 16);
        if (text.contains('.') || text.contains('e'))
            return text.toDouble();
        return text.toInt();
    }
};
