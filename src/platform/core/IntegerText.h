#pragma once

#include <QString>
#include <QStringView>

// The parts of an integer as Pascal reads it: an optional sign, then decimal digits, or "$" or
// "0x" (any case) and hexadecimal digits. Blanks are the caller's to remove.
struct IntegerText {
    bool negative = false;
    int base = 10;
    QStringView digits; // what follows the sign and the prefix, unchecked

    static IntegerText Split(QStringView text);
};
