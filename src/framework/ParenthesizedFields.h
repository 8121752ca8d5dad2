#pragma once

#include <QList>
#include <QString>

#include <optional>

// The integers of a text "(a, b, ...)" with `count` fields: after trimming, the text must start
// with "(" and end with ")" and hold at least count - 1 commas; the fields are split at the
// successive commas (the last takes the rest) and trimmed, and a field that is no integer is 0.
// Empty for text of another form.
std::optional<QList<int>> ParenthesizedFields(const QString &text, int count);
