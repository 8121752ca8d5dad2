#pragma once

#include "platform/script/Engine.h"

#include <QString>
#include <QStringList>

// One script compiled and run by a fresh engine, with ShowMessage(S) collecting its lines.
struct ScriptRun {
    bool compiled = false;
    bool ran = false;
    QStringList shown;    // what ShowMessage received, in order
    QStringList messages; // the compiler's message lines
    QString error;        // the run-time error text

    // `extraDeclarations` runs in the compile hook after ShowMessage is declared.
    static ScriptRun Of(const QString &text, const Script::Engine::CompileHook &extraDeclarations = {});

    // The shown lines joined by "|", the error text prefixed by "error: ", or the compiler's
    // messages: one string to compare in tables.
    QString Summary() const;
};
