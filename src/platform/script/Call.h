#pragma once

#include "Routine.h"

namespace Script
{

// The arguments and the result of one call of a bound routine, seen from C++. Arguments are
// already converted to the declared parameter types; read each with the accessor that matches its
// type (Integer for all integer types and enumerations, Boolean, Double, String for strings and
// characters). A var or out parameter can be written back with the Set functions, and a function
// sets its result with the Return function matching its result type. Valid only during the call.
class Call
{
  public:
    Call(const Routine &routine, Value *const *arguments, Value &result)
        : routine_(routine), arguments_(arguments), result_(result)
    {
    }

    const QString &Name() const { return routine_.name; }
    int Count() const { return int(routine_.params.size()); }

    int64_t Integer(int i) const { return arguments_[i]->i; }
    bool Boolean(int i) const { return arguments_[i]->i != 0; }
    double Double(int i) const { return arguments_[i]->d; }
    QString String(int i) const;
    // The argument's cell: records, arrays, sets, or a var parameter to change in place (its
    // values, never the number of its items).
    Value &Cell(int i) const { return *arguments_[i]; }

    void SetInteger(int i, int64_t value) const { arguments_[i]->i = routine_.params[i].type->Narrow(value); }
    void SetBoolean(int i, bool value) const { arguments_[i]->i = value; }
    void SetDouble(int i, double value) const { arguments_[i]->d = value; }
    void SetString(int i, const QString &value) const { arguments_[i]->s = value; }

    void ReturnInteger(int64_t value) { result_.i = routine_.result->Narrow(value); }
    void ReturnBoolean(bool value) { result_.i = value; }
    void ReturnDouble(double value) { result_.d = value; }
    void ReturnString(const QString &value) { result_.s = value; }

  private:
    const Routine &routine_;
    Value *const *arguments_;
    Value &result_;
};

} // namespace Script
