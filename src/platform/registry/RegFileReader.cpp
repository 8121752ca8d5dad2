#include "platform/registry/RegFileReader.h"

#include "platform/registry/RegistryPath.h"

#include <QStringDecoder>

#include <algorithm>
#include <cctype>

namespace
{

const QLatin1String kVersion5Header("Windows Registry Editor Version 5.00");
const QLatin1String kRegedit4Header("REGEDIT4");

// A quoted text starting at position pos (the opening quote), with \\ and \" undone; pos ends
// after the closing quote. nullopt when the quote is not closed.
std::optional<QString> ReadQuoted(const QString &line, qsizetype &pos)
{
    QString text;
    for (qsizetype i = pos + 1; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == QLatin1Char('"')) {
            pos = i + 1;
            return text;
        }
        if (c == QLatin1Char('\\') && i + 1 < line.size() &&
            (line.at(i + 1) == QLatin1Char('\\') || line.at(i + 1) == QLatin1Char('"')))
            ++i;
        text += line.at(i);
    }
    return std::nullopt;
}

bool IsHexNumber(const QString &text, qsizetype maxDigits)
{
    if (text.isEmpty() || text.size() > maxDigits)
        return false;
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() < 128 && isxdigit(c.unicode()); });
}

QStringList SplitLines(const QString &text)
{
    QString unified = text;
    unified.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    unified.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return unified.split(QLatin1Char('\n'));
}

} // namespace

QString RegFileReader::DecodeText(const QByteArray &fileBytes)
{
    if (fileBytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringConverter::Utf16LE).decode(fileBytes.mid(2));
    if (fileBytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringConverter::Utf16BE).decode(fileBytes.mid(2));
    if (fileBytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(fileBytes.mid(3));
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(fileBytes);
    return utf8.hasError() ? QString::fromLatin1(fileBytes) : text;
}

bool RegFileReader::Apply(const QByteArray &fileBytes)
{
    lines_ = SplitLines(DecodeText(fileBytes));
    lineIndex_ = 0;
    while (lineIndex_ < lines_.size() && lines_.at(lineIndex_).trimmed().isEmpty())
        ++lineIndex_;
    const QString header = lineIndex_ < lines_.size() ? lines_.at(lineIndex_).trimmed() : QString();
    if (header == kVersion5Header)
        format_ = RegFileFormat::Version5;
    else if (header == kRegedit4Header)
        format_ = RegFileFormat::Regedit4;
    else {
        Report(QStringLiteral("not a registry file: the header line is missing"));
        return false;
    }
    for (++lineIndex_; lineIndex_ < lines_.size(); ++lineIndex_) {
        const QString line = lines_.at(lineIndex_).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')))
            ReadKeyLine(line);
        else
            ReadValueLine(line);
    }
    return true;
}

void RegFileReader::Report(const QString &message)
{
    issues_.append({int(lineIndex_ + 1), message});
}

// key-line = "[" ["-"] hive ["\" path] "]"
void RegFileReader::ReadKeyLine(const QString &line)
{
    current_ = nullptr;
    skippingKey_ = true;
    if (!line.endsWith(QLatin1Char(']'))) {
        Report(QStringLiteral("malformed key line"));
        return;
    }
    const bool deletion = line.startsWith(QLatin1String("[-"));
    const QString fullPath = line.mid(deletion ? 2 : 1).chopped(1);
    const std::optional<QString> below = RegistryPath::BelowCurrentUser(fullPath);
    if (!below) {
        Report(QStringLiteral("key of another hive skipped: %1").arg(RegistryPath::HiveName(fullPath)));
        return;
    }
    const QStringList path = RegistryPath::Split(*below);
    if (!deletion) {
        current_ = &root_.FindOrCreate(path);
        skippingKey_ = false;
        return;
    }
    if (path.isEmpty()) {
        Report(QStringLiteral("the whole hive cannot be deleted"));
        return;
    }
    if (RegistryNode *parent = root_.Find(path.mid(0, path.size() - 1)))
        parent->RemoveSubkey(path.last());
}

// value-line = ("@" | quoted-name) "=" ("-" | data)
void RegFileReader::ReadValueLine(const QString &line)
{
    QString name;
    qsizetype pos = 0;
    if (line.startsWith(QLatin1Char('@'))) {
        pos = 1;
    } else if (line.startsWith(QLatin1Char('"'))) {
        const std::optional<QString> quoted = ReadQuoted(line, pos);
        if (!quoted) {
            Report(QStringLiteral("unterminated value name"));
            return;
        }
        name = *quoted;
    } else {
        Report(QStringLiteral("malformed line"));
        return;
    }
    const QString rest = line.mid(pos).trimmed();
    if (!rest.startsWith(QLatin1Char('='))) {
        Report(QStringLiteral("malformed value line: \"=\" expected"));
        return;
    }
    const QString data = JoinContinuations(rest.mid(1).trimmed());
    if (!current_) {
        if (!skippingKey_)
            Report(QStringLiteral("value outside of any key"));
        return;
    }
    if (data == QLatin1String("-")) {
        current_->RemoveValue(name);
        return;
    }
    std::optional<RegistryValue> value = ParseData(data);
    if (!value) {
        Report(QStringLiteral("malformed value data"));
        return;
    }
    value->name = name;
    current_->SetValue(*value);
}

QString RegFileReader::JoinContinuations(QString data)
{
    if (!data.startsWith(QLatin1String("hex"), Qt::CaseInsensitive))
        return data;
    while (data.endsWith(QLatin1Char('\\')) && lineIndex_ + 1 < lines_.size()) {
        data.chop(1);
        data += lines_.at(++lineIndex_).trimmed();
    }
    return data;
}

// data = quoted-text | "dword:" 1*8hex | "hex" ["(" 1*8hex ")"] ":" [byte *("," byte)]
std::optional<RegistryValue> RegFileReader::ParseData(const QString &data) const
{
    if (data.startsWith(QLatin1Char('"'))) {
        qsizetype pos = 0;
        const std::optional<QString> text = ReadQuoted(data, pos);
        if (!text || !data.mid(pos).trimmed().isEmpty())
            return std::nullopt;
        return RegistryValue::FromString({}, *text);
    }
    if (data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        const QString digits = data.mid(6).trimmed();
        if (!IsHexNumber(digits, 8))
            return std::nullopt;
        return RegistryValue::FromDword({}, digits.toUInt(nullptr, 16));
    }
    if (!data.startsWith(QLatin1String("hex"), Qt::CaseInsensitive))
        return std::nullopt;
    const qsizetype colon = data.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return std::nullopt;
    const QString kind = data.mid(3, colon - 3);
    auto type = RegistryValueType::Binary;
    if (!kind.isEmpty()) {
        if (!kind.startsWith(QLatin1Char('(')) || !kind.endsWith(QLatin1Char(')')) ||
            !IsHexNumber(kind.mid(1, kind.size() - 2), 8))
            return std::nullopt;
        type = RegistryValueType(kind.mid(1, kind.size() - 2).toUInt(nullptr, 16));
    }
    std::optional<QByteArray> bytes = ParseHexBytes(data.mid(colon + 1));
    if (!bytes)
        return std::nullopt;
    const bool eightBitText = type == RegistryValueType::String || type == RegistryValueType::ExpandString ||
                              type == RegistryValueType::MultiString;
    if (format_ == RegFileFormat::Regedit4 && eightBitText) {
        // Old files hold these texts in 8-bit characters; the store keeps UTF-16.
        QByteArray wide = EncodeRegistryString(QString::fromLatin1(*bytes));
        wide.chop(2);
        bytes = wide;
    }
    return RegistryValue{{}, type, *bytes};
}

std::optional<QByteArray> RegFileReader::ParseHexBytes(const QString &list) const
{
    QByteArray bytes;
    const QString trimmed = list.trimmed();
    if (trimmed.isEmpty())
        return bytes;
    QStringList parts = trimmed.split(QLatin1Char(','));
    if (parts.size() > 1 && parts.last().trimmed().isEmpty())
        parts.removeLast(); // a trailing comma
    for (const QString &part : parts) {
        const QString digits = part.trimmed();
        if (!IsHexNumber(digits, 2))
            return std::nullopt;
        bytes.append(char(digits.toUInt(nullptr, 16)));
    }
    return bytes;
}
