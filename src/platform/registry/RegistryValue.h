#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// Value types with the platform's numbers; they appear as such in hex(N): lines of .reg files.
enum class RegistryValueType : uint32_t {
    None = 0,
    String = 1,
    ExpandString = 2,
    Binary = 3,
    Dword = 4,
    MultiString = 7,
    Qword = 11,
};

// One named value of a key: its type and its bytes exactly as the platform stores them
// (strings as UTF-16 LE with their terminating zero, numbers little-endian). An empty name is
// the key's default value.
struct RegistryValue {
    QString name;
    RegistryValueType type = RegistryValueType::None;
    QByteArray data;

    static RegistryValue FromString(const QString &name, const QString &text,
                                    RegistryValueType type = RegistryValueType::String);
    static RegistryValue FromMultiString(const QString &name, const QStringList &texts);
    static RegistryValue FromDword(const QString &name, uint32_t number);
    static RegistryValue FromQword(const QString &name, uint64_t number);
    static RegistryValue FromBinary(const QString &name, const QByteArray &bytes);

    bool operator==(const RegistryValue &) const = default;

    bool IsStringType() const
    {
        return type == RegistryValueType::String || type == RegistryValueType::ExpandString;
    }
    // The text of a string value: a size of one byte or less is the empty text, a trailing
    // zero character is dropped. Nothing for other types.
    std::optional<QString> ToString() const;
    std::optional<QStringList> ToMultiString() const;
    std::optional<uint32_t> ToDword() const;
    std::optional<uint64_t> ToQword() const;
};

// UTF-16 LE bytes of a text followed by one zero character.
QByteArray EncodeRegistryString(const QString &text);
// The text held in UTF-16 LE bytes; an odd last byte is ignored, trailing zeros are not removed.
QString DecodeRegistryString(const QByteArray &bytes);
