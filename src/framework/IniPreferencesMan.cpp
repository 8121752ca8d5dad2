#include "IniPreferencesMan.h"

#include <QFile>
#include <QLocale>
#include <QSaveFile>
#include <QStringDecoder>

namespace
{

QString Header(const QString &path)
{
    return QLatin1Char('[') + path + QLatin1Char(']');
}

bool IsHeader(const QString &line)
{
    return line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'));
}

QString DecodeText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE)(bytes.mid(2));
    if (bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE)(bytes.mid(2));
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

// Floating numbers use the user's decimal separator, never group digits, and are written with
// as many digits as read back the same number.
QLocale NumberLocale()
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}

} // namespace

QStringList TIniPreferencesMan::DecodeLines(const QByteArray &bytes)
{
    const QString text = DecodeText(bytes);
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

TIniPreferencesMan::TIniPreferencesMan(const QString &fileName) : fileName_(fileName)
{
    QFile file(fileName);
    if (file.open(QIODevice::ReadOnly))
        lines_ = DecodeLines(file.readAll());
    if (lines_.isEmpty()) // a new or empty file starts with the root section
        lines_ = {QStringLiteral("[]")};
    section_ = FindHeader(QString());
}

TIniPreferencesMan::~TIniPreferencesMan()
{
    Flush();
}

bool TIniPreferencesMan::Flush() const
{
    QSaveFile file(fileName_);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes("\xFF\xFE", 2);
    for (const QString &line : lines_) {
        const QString withEnd = line + QLatin1String("\r\n");
        bytes.append(reinterpret_cast<const char *>(withEnd.utf16()), withEnd.size() * 2);
    }
    return file.write(bytes) == bytes.size() && file.commit();
}

qsizetype TIniPreferencesMan::FindHeader(const QString &path) const
{
    const QString header = Header(path);
    for (qsizetype i = 0; i < lines_.size(); ++i)
        if (lines_[i].compare(header, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

qsizetype TIniPreferencesMan::SectionEnd() const
{
    qsizetype i = section_ + 1;
    while (i < lines_.size() && !lines_[i].isEmpty() && !IsHeader(lines_[i]))
        ++i;
    return i;
}

QString TIniPreferencesMan::NameOf(const QString &line)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return eq < 0 ? QString() : line.left(eq);
}

qsizetype TIniPreferencesMan::FindValue(const QString &name) const
{
    if (section_ < 0 || name.isEmpty())
        return -1;
    const qsizetype end = SectionEnd();
    for (qsizetype i = section_ + 1; i < end; ++i)
        if (NameOf(lines_[i]).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool TIniPreferencesMan::GetValueNames(QStringList &list)
{
    if (section_ < 0)
        return false;
    const qsizetype end = SectionEnd();
    for (qsizetype i = section_ + 1; i < end; ++i)
        if (const QString name = NameOf(lines_[i]); !name.isEmpty())
            list.append(name);
    return true;
}

bool TIniPreferencesMan::GetKeyNames(QStringList &list)
{
    // Direct subkeys only, as the registry backend lists them; a deeper section also names the
    // subkey it lies in.
    const QString prefix =
        currentPath_.isEmpty() ? QStringLiteral("[") : QLatin1Char('[') + currentPath_ + QLatin1Char('\\');
    QStringList found;
    for (const QString &line : lines_) {
        if (!IsHeader(line) || line.size() <= prefix.size() + 1 ||
            !line.startsWith(prefix, Qt::CaseInsensitive))
            continue;
        const QString child =
            line.mid(prefix.size(), line.size() - prefix.size() - 1).section(QLatin1Char('\\'), 0, 0);
        if (!child.isEmpty() && !found.contains(child, Qt::CaseInsensitive))
            found.append(child);
    }
    list.append(found);
    return true;
}

bool TIniPreferencesMan::OpenKey(const QString &name, bool create)
{
    const QString path = ChildPath(name);
    qsizetype header = FindHeader(path);
    if (header < 0 && create) {
        lines_.append(QString());
        lines_.append(Header(path));
        header = lines_.size() - 1;
    }
    if (header < 0)
        return false;
    currentPath_ = path;
    section_ = header;
    return true;
}

bool TIniPreferencesMan::CloseKey()
{
    currentPath_ = ParentPath();
    section_ = FindHeader(currentPath_);
    return section_ >= 0;
}

bool TIniPreferencesMan::WriteString(const QString &name, const QString &text)
{
    if (section_ < 0 || name.isEmpty())
        return false;
    const QString line = name + QLatin1Char('=') + text;
    if (const qsizetype i = FindValue(name); i >= 0)
        lines_[i] = line;
    else
        lines_.insert(SectionEnd(), line);
    return true;
}

bool TIniPreferencesMan::ReadString(const QString &name, QString &text)
{
    const qsizetype i = FindValue(name);
    if (i < 0)
        return false;
    text = lines_[i].mid(lines_[i].indexOf(QLatin1Char('=')) + 1);
    return true;
}

bool TIniPreferencesMan::DeleteValue(const QString &name)
{
    const qsizetype i = FindValue(name);
    if (i < 0)
        return false;
    lines_.removeAt(i);
    return true;
}

bool TIniPreferencesMan::WriteBool(const QString &name, bool b)
{
    return WriteString(name, b ? QStringLiteral("True") : QStringLiteral("False"));
}

bool TIniPreferencesMan::ReadBool(const QString &name, bool &b)
{
    QString text;
    if (!ReadString(name, text))
        return false;
    if (text == QLatin1String("True"))
        b = true;
    else if (text == QLatin1String("False"))
        b = false;
    else
        return false;
    return true;
}

bool TIniPreferencesMan::WriteInteger(const QString &name, int n)
{
    return WriteString(name, QString::number(n));
}

bool TIniPreferencesMan::ReadInteger(const QString &name, int &n)
{
    QString text;
    if (!ReadString(name, text))
        return false;
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    n = ok ? value : 0;
    return true;
}

bool TIniPreferencesMan::WriteFloat(const QString &name, double x)
{
    return WriteString(name, NumberLocale().toString(x, 'g', QLocale::FloatingPointShortest));
}

bool TIniPreferencesMan::ReadFloat(const QString &name, double &x)
{
    QString text;
    if (!ReadString(name, text))
        return false;
    bool ok = false;
    const double value = NumberLocale().toDouble(text.trimmed(), &ok);
    x = ok ? value : 0;
    return true;
}
