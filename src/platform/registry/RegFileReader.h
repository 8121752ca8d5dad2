#pragma once

#include "platform/registry/RegistryNode.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// A line of a .reg file that was skipped, with the reason.
struct RegFileIssue {
    int line = 0; // 1-based
    QString message;
};

enum class RegFileFormat { Unknown, Regedit4, Version5 };

// Applies the text of a .reg file to the tree of the current user's hive: creates keys,
// sets and deletes values, deletes keys ([-...]). Keys of other hives, malformed lines and
// lines outside any key are skipped and listed as issues; nothing the input holds can make
// it fail otherwise. Text is UTF-16 (with a byte-order mark) or UTF-8, else 8-bit.
// One reader per file; call from the thread that owns the tree.
class RegFileReader
{
  public:
    explicit RegFileReader(RegistryNode &currentUserRoot) : root_(currentUserRoot) {}

    // False, with nothing applied, when the text does not start with a .reg header.
    bool Apply(const QByteArray &fileBytes);

    RegFileFormat Format() const { return format_; }
    const QList<RegFileIssue> &Issues() const { return issues_; }

    static QString DecodeText(const QByteArray &fileBytes);

  private:
    void ReadKeyLine(const QString &line);
    void ReadValueLine(const QString &line);
    // The data of a value line with its continuation lines joined; advances over them.
    QString JoinContinuations(QString data);
    std::optional<RegistryValue> ParseData(const QString &data) const;
    std::optional<QByteArray> ParseHexBytes(const QString &list) const;
    void Report(const QString &message);

    RegistryNode &root_;
    RegFileFormat format_ = RegFileFormat::Unknown;
    QList<RegFileIssue> issues_;
    QStringList lines_;
    qsizetype lineIndex_ = 0;
    RegistryNode *current_ = nullptr;
    // After a key that is skipped on purpose (another hive, a deletion), its values are
    // skipped without a report.
    bool skippingKey_ = false;
};
