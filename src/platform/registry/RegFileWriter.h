#pragma once

#include "platform/registry/RegistryNode.h"

#include <QByteArray>
#include <QString>

// Writes the current user's hive as a .reg file in the "Version 5.00" form the platform's
// export gives: UTF-16 LE with a byte-order mark, CRLF line ends, every key as a section in
// tree order, long hex values continued over lines with a trailing "\". Values that a
// quoted text or dword: line cannot hold exactly (strings with line breaks or without their
// terminating zero, numbers of another size) are written as hex(N): so they read back unchanged.
class RegFileWriter
{
  public:
    static QByteArray Write(const RegistryNode &currentUserRoot);
    // The .reg text of one value line, with its continuation lines.
    static QString ValueLine(const RegistryValue &value);

  private:
    static void WriteKey(const RegistryNode &node, const QString &fullPath, bool isRoot, QString &out);
};
