#pragma once

#include "PreferencesMan.h"

// The portable backend: an INI file held in memory as lines and written back, whole, when the
// backend is destroyed. Sections are key paths ("[ShowForm\FormSave]", "[]" for the root); a
// section's values run to the first empty line or the next header. Names are compared without
// regard to case. The file is written as UTF-16 little-endian with a byte-order mark and CRLF
// line ends, through a temporary file renamed into place.
class TIniPreferencesMan final : public TPreferencesMan
{
  public:
    // Reads `fileName` when it exists; a new or empty file starts as the single line "[]".
    explicit TIniPreferencesMan(const QString &fileName);
    ~TIniPreferencesMan() override;

    bool GetValueNames(QStringList &list) override;
    bool GetKeyNames(QStringList &list) override;
    bool OpenKey(const QString &name, bool create) override;
    bool CloseKey() override;
    bool WriteString(const QString &name, const QString &text) override;
    bool ReadString(const QString &name, QString &text) override;
    bool DeleteValue(const QString &name) override;
    bool WriteBool(const QString &name, bool b) override;
    bool ReadBool(const QString &name, bool &b) override;
    bool WriteInteger(const QString &name, int n) override;
    bool ReadInteger(const QString &name, int &n) override;
    bool WriteFloat(const QString &name, double x) override;
    bool ReadFloat(const QString &name, double &x) override;

    // Writes the lines to the file now; false (the old file intact) when it cannot.
    bool Flush() const;
    const QStringList &Lines() const { return lines_; }

    // Decodes a file's bytes: UTF-16 LE/BE or UTF-8 by byte-order mark; without one, UTF-8 when
    // valid, else 8-bit Latin-1. Lines split at CR, LF or CRLF.
    static QStringList DecodeLines(const QByteArray &bytes);

  private:
    qsizetype FindHeader(const QString &path) const;
    qsizetype SectionEnd() const; // index of the line ending the current section
    qsizetype FindValue(const QString &name) const;
    static QString NameOf(const QString &line);

    QString fileName_;
    QStringList lines_;
    qsizetype section_ = -1; // header line of the current section, -1 when it does not exist
};
