#include "DecoderLinks.h"

#include "framework/PreferencesMan.h"

#include <optional>

namespace
{

std::optional<Guid> ReadGuid(TPreferencesMan &prefs, const QString &name)
{
    QString text;
    if (!prefs.ReadString(name, text))
        return std::nullopt;
    return Guid::FromString(text.toStdString());
}

void WriteGuid(TPreferencesMan &prefs, const QString &name, const Guid &guid)
{
    prefs.WriteString(name, QString::fromStdString(guid.ToString()));
}

// The link stored in the current key, when its four GUIDs read.
std::optional<TDecoderLink> ReadLink(TPreferencesMan &prefs)
{
    const auto major = ReadGuid(prefs, QStringLiteral("majortype"));
    const auto sub = ReadGuid(prefs, QStringLiteral("subtype"));
    const auto format = ReadGuid(prefs, QStringLiteral("formattype"));
    const auto decoder = ReadGuid(prefs, QStringLiteral("decoderguid"));
    if (!major || !sub || !format || !decoder)
        return std::nullopt;
    bool isPrivate = false;
    prefs.ReadBool(QStringLiteral("Private"), isPrivate);
    QString name;
    prefs.ReadString(QStringLiteral("name"), name);
    return TDecoderLink{{*major, *sub, *format}, FilterRecs().FindOrAdd(*decoder, name, isPrivate)};
}

} // namespace

TDecoderLinks::TDecoderLinks()
{
    FilterRecs(); // the records outlive every link pointing at them
}

int TDecoderLinks::IndexOf(const MediaTypeKey &key) const
{
    for (size_t i = 0; i < links_.size(); ++i)
        if (links_[i].Key == key)
            return int(i);
    return -1;
}

void TDecoderLinks::SetDecoder(const MediaTypeKey &key, TFilterRec *record)
{
    const int index = IndexOf(key);
    if (index >= 0)
        links_[size_t(index)].Decoder = record;
    else
        links_.push_back({key, record});
}

TFilterRec *TDecoderLinks::GetDecoder(const MediaTypeKey &key) const
{
    const int index = IndexOf(key);
    return index >= 0 ? links_[size_t(index)].Decoder : nullptr;
}

void TDecoderLinks::Forget(const MediaTypeKey &key)
{
    const int index = IndexOf(key);
    if (index >= 0)
        links_.erase(links_.begin() + index);
}

void TDecoderLinks::LoadLinks(TPreferencesMan &prefs)
{
    QStringList names;
    if (!prefs.GetKeyNames(names))
        return;
    for (const QString &name : names) {
        if (!prefs.OpenKey(name, false))
            continue;
        if (const auto link = ReadLink(prefs))
            SetDecoder(link->Key, link->Decoder);
        prefs.CloseKey();
    }
}

void TDecoderLinks::SaveLinks(TPreferencesMan &prefs) const
{
    for (size_t i = 0; i < links_.size(); ++i) {
        const TDecoderLink &link = links_[i];
        if (!prefs.OpenKey(QStringLiteral("dc%1").arg(i), true))
            continue;
        WriteGuid(prefs, QStringLiteral("majortype"), link.Key.majortype);
        WriteGuid(prefs, QStringLiteral("subtype"), link.Key.subtype);
        WriteGuid(prefs, QStringLiteral("formattype"), link.Key.formattype);
        WriteGuid(prefs, QStringLiteral("decoderguid"), link.Decoder->ClassId);
        prefs.WriteString(QStringLiteral("name"), link.Decoder->Name);
        prefs.WriteBool(QStringLiteral("Private"), link.Decoder->IsPrivate);
        prefs.CloseKey();
    }
}

TDecoderLinks &VideoDecoderLinks()
{
    static TDecoderLinks links;
    return links;
}

TDecoderLinks &AudioDecoderLinks()
{
    static TDecoderLinks links;
    return links;
}
