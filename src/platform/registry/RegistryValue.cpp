#include "platform/registry/RegistryValue.h"

#include <QtEndian>

QByteArray EncodeRegistryString(const QString &text)
{
    QByteArray bytes((text.size() + 1) * 2, '\0');
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<char16_t>(text.at(i).unicode(), bytes.data() + i * 2);
    return bytes;
}

QString DecodeRegistryString(const QByteArray &bytes)
{
    QString text(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(qFromLittleEndian<char16_t>(bytes.constData() + i * 2));
    return text;
}

RegistryValue RegistryValue::FromString(const QString &name, const QString &text, RegistryValueType type)
{
    return {name, type, EncodeRegistryString(text)};
}

RegistryValue RegistryValue::FromMultiString(const QString &name, const QStringList &texts)
{
    QByteArray bytes;
    for (const QString &text : texts)
        bytes += EncodeRegistryString(text);
    bytes += QByteArray(2, '\0');
    return {name, RegistryValueType::MultiString, bytes};
}

RegistryValue RegistryValue::FromDword(const QString &name, uint32_t number)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(number, bytes.data());
    return {name, RegistryValueType::Dword, bytes};
}

RegistryValue RegistryValue::FromQword(const QString &name, uint64_t number)
{
    QByteArray bytes(8, '\0');
    qToLittleEndian(number, bytes.data());
    return {name, RegistryValueType::Qword, bytes};
}

RegistryValue RegistryValue::FromBinary(const QString &name, const QByteArray &bytes)
{
    return {name, RegistryValueType::Binary, bytes};
}

std::optional<QString> RegistryValue::ToString() const
{
    if (!IsStringType())
        return std::nullopt;
    if (data.size() <= 1)
        return QString();
    QString text = DecodeRegistryString(data);
    if (text.endsWith(QChar(0)))
        text.chop(1);
    return text;
}

std::optional<QStringList> RegistryValue::ToMultiString() const
{
    if (type != RegistryValueType::MultiString)
        return std::nullopt;
    QStringList texts = DecodeRegistryString(data).split(QChar(0));
    // The list ends with an empty text; the terminator and everything after it are not items.
    const qsizetype end = texts.indexOf(QString());
    if (end >= 0)
        texts.erase(texts.begin() + end, texts.end());
    return texts;
}

std::optional<uint32_t> RegistryValue::ToDword() const
{
    if (type != RegistryValueType::Dword || data.size() != 4)
        return std::nullopt;
    return qFromLittleEndian<uint32_t>(data.constData());
}

std::optional<uint64_t> RegistryValue::ToQword() const
{
    if (type != RegistryValueType::Qword || data.size() != 8)
        return std::nullopt;
    return qFromLittleEndian<uint64_t>(data.constData());
}
