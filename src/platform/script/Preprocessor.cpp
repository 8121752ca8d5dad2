#include "Preprocessor.h"

#include "CompileError.h"

namespace Script
{

void Preprocessor::Directive(const QString &body, SourcePos pos)
{
    qsizetype nameEnd = 0;
    while (nameEnd < body.size() && (body[nameEnd].isLetter() || body[nameEnd] == QLatin1Char('_')))
        ++nameEnd;
    const QString name = body.left(nameEnd).toUpper();
    const QString argument = body.mid(nameEnd).trimmed();
    const QString symbol = argument.section(QLatin1Char(' '), 0, 0).toLower();

    if (name == QLatin1String("IFDEF") || name == QLatin1String("IFNDEF")) {
        const bool defined = defines_.contains(symbol);
        Open(name == QLatin1String("IFDEF") ? defined : !defined, pos);
    } else if (name == QLatin1String("ELSE")) {
        if (open_.empty() || open_.back().elseSeen)
            throw CompileError(pos, QStringLiteral("{$ELSE} without {$IFDEF}"));
        Branch &branch = open_.back();
        branch.elseSeen = true;
        branch.taken = branch.enclosingActive && !branch.taken;
    } else if (name == QLatin1String("ENDIF")) {
        if (open_.empty())
            throw CompileError(pos, QStringLiteral("{$ENDIF} without {$IFDEF}"));
        open_.pop_back();
    } else if (name == QLatin1String("IF") || name == QLatin1String("ELSEIF") ||
               name == QLatin1String("IFEND") || name == QLatin1String("IFOPT")) {
        throw CompileError(pos, QStringLiteral("Unsupported directive {$%1}").arg(name));
    } else if (Skipping()) {
        return;
    } else if (name == QLatin1String("DEFINE")) {
        defines_.insert(symbol);
    } else if (name == QLatin1String("UNDEF")) {
        defines_.remove(symbol);
    } else if (name == QLatin1String("INCLUDE") ||
               (name == QLatin1String("I") && argument != QLatin1String("+") &&
                argument != QLatin1String("-"))) {
        throw CompileError(
            pos, QStringLiteral("Cannot include '%1': include files are not supported").arg(argument));
    }
}

void Preprocessor::Finish(SourcePos end) const
{
    if (!open_.empty())
        throw CompileError(
            open_.back().pos,
            QStringLiteral("Missing {$ENDIF} before the end of the text at line %1").arg(end.line));
}

void Preprocessor::Open(bool condition, SourcePos pos)
{
    const bool active = !Skipping();
    open_.push_back({active, active && condition, false, pos});
}

} // namespace Script
