#include "platform/registry/RegFileWriter.h"

#include <QStringEncoder>

#include <algorithm>

namespace
{

const QLatin1String kNewLine("\r\n");
constexpr qsizetype kLineWidth = 80;

QString Quoted(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

// A string value fits a quoted line when it is whole UTF-16 text ending in its one zero
// character and holds no zero or line break before it.
bool FitsQuotedText(const RegistryValue &value)
{
    if (value.type != RegistryValueType::String || value.data.size() < 2 || value.data.size() % 2 != 0)
        return false;
    const QString text = DecodeRegistryString(value.data);
    if (!text.endsWith(QChar(0)))
        return false;
    return std::none_of(text.begin(), text.end() - 1, [](QChar c) {
        return c == QChar(0) || c == QLatin1Char('\r') || c == QLatin1Char('\n');
    });
}

QString HexPrefix(RegistryValueType type)
{
    if (type == RegistryValueType::Binary)
        return QStringLiteral("hex:");
    return QStringLiteral("hex(%1):").arg(uint32_t(type), 0, 16);
}

} // namespace

QString RegFileWriter::ValueLine(const RegistryValue &value)
{
    QString line = value.name.isEmpty() ? QStringLiteral("@=") : Quoted(value.name) + QLatin1Char('=');
    if (FitsQuotedText(value))
        return line + Quoted(*value.ToString());
    if (const std::optional<uint32_t> number = value.ToDword())
        return line + QStringLiteral("dword:%1").arg(*number, 8, 16, QLatin1Char('0'));
    line += HexPrefix(value.type);
    qsizetype lineLength = line.size();
    for (qsizetype i = 0; i < value.data.size(); ++i) {
        if (i > 0) {
            line += QLatin1Char(',');
            ++lineLength;
            // Room for this byte, its comma and the continuation mark.
            if (lineLength + 4 > kLineWidth) {
                line += QLatin1String("\\\r\n  ");
                lineLength = 2;
            }
        }
        line += QStringLiteral("%1").arg(uchar(value.data.at(i)), 2, 16, QLatin1Char('0'));
        lineLength += 2;
    }
    return line;
}

void RegFileWriter::WriteKey(const RegistryNode &node, const QString &fullPath, bool isRoot, QString &out)
{
    if (!isRoot || !node.Values().empty()) {
        out += QLatin1Char('[') + fullPath + QLatin1Char(']') + kNewLine;
        for (const RegistryValue &value : node.Values())
            out += ValueLine(value) + kNewLine;
        out += kNewLine;
    }
    for (const auto &subkey : node.Subkeys())
        WriteKey(*subkey, fullPath + QLatin1Char('\\') + subkey->Name(), false, out);
}

QByteArray RegFileWriter::Write(const RegistryNode &currentUserRoot)
{
    QString text = QStringLiteral("Windows Registry Editor Version 5.00") + kNewLine + kNewLine;
    WriteKey(currentUserRoot, QStringLiteral("HKEY_CURRENT_USER"), true, text);
    QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    return encoder.encode(text);
}
