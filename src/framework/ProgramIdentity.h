#pragma once

#include <QString>

// Who the program is: fixed for the run.
namespace ProgramIdentity
{

// "major.minor.release".
QString Version();
// "Kestrin " + version + " " + language, for example "Kestrin 1.0.0 en".
QString Title();
// The maker's name.
QString Maker();

} // namespace ProgramIdentity
