#include "TessalyPreferences.h"

#include "IniPreferencesMan.h"
#include "RegPreferencesMan.h"
#include "SavePrefsForm.h"
#include "platform/core/DateTimeFormat.h"
#include "platform/registry/RegistryKey.h"
#include "platform/registry/RegistryStore.h"

#include <QCoreApplication>
#include <QFile>

namespace
{

const QString MakerKey = QStringLiteral("Software\\Marvo Tessaly");

} // namespace

TTessalyPreferences::TTessalyPreferences(const QString &titre_, const QString &programFolder,
                                         RegistryStore *registry)
    : titre(titre_), programFolder_(programFolder), registry_(registry ? *registry : RegistryStore::User()),
      backend_(std::make_unique<TNonePreferencesMan>())
{
}

TTessalyPreferences::~TTessalyPreferences() = default;

QString TTessalyPreferences::RegistryKeyPath() const
{
    return MakerKey + QLatin1Char('\\') + titre;
}

TSavePrefsForm &TTessalyPreferences::SavePrefsForm()
{
    if (!dialog_)
        dialog_ = std::make_unique<TSavePrefsForm>();
    return *dialog_;
}

TSavePreferences TTessalyPreferences::DetectMode()
{
    if (QFile::exists(IniFileName()))
        return spPortable;
    if (registry_.KeyExists(RegistryKeyPath()))
        return spRegistre;
    return spNone;
}

void TTessalyPreferences::SetMode(TSavePreferences mode)
{
    if (mode == mode_)
        return;
    mode_ = mode;
    CreateBackend();
}

void TTessalyPreferences::CreateBackend()
{
    backend_.reset(); // an INI backend writes its file as it goes
    switch (mode_) {
    case spRegistre:
        backend_ = std::make_unique<TRegPreferencesMan>(registry_, RegistryKeyPath());
        break;
    case spPortable:
        backend_ = std::make_unique<TIniPreferencesMan>(IniFileName());
        break;
    case spNone:
        backend_ = std::make_unique<TNonePreferencesMan>();
        break;
    }
    if (OnChangeMode)
        OnChangeMode(mode_);
    DeleteOtherStores();
}

void TTessalyPreferences::DeleteOtherStores()
{
    if (mode_ != spPortable && QFile::exists(IniFileName())) {
        QFile::setPermissions(IniFileName(), QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(IniFileName());
    }
    if (mode_ != spRegistre && registry_.KeyExists(RegistryKeyPath())) {
        registry_.DeleteKeyTree(RegistryKeyPath());
        RegistryKey maker;
        if (SUCCEEDED(maker.Open(registry_, MakerKey, KeyOpening::ExistingOnly)) && !maker.HasSubkeys()) {
            maker.Close();
            registry_.DeleteKeyTree(MakerKey);
        }
    }
}

void TTessalyPreferences::LoadAtStart()
{
    QCoreApplication::processEvents();
    mode_ = DetectMode();
    CreateBackend();
    if (OnLoadPrefs)
        OnLoadPrefs(*this);
}

bool TTessalyPreferences::SaveAtClosing()
{
    if (mode_ == spNone) {
        SavePrefsForm().setWindowTitle(QStringLiteral("Saving the preferences of %1").arg(titre));
        const auto choice = SavePrefsForm().Ask();
        if (!choice)
            return false;
        SetMode(*choice);
    }
    if (mode_ != spNone) {
        WriteString(QStringLiteral("Version"), version);
        WriteString(QStringLiteral("Dernière Sauvegarde"),
                    FormatDateTime(QStringLiteral("yyyy/mm/dd hh:mm:ss"), Now()));
        WriteString(QStringLiteral("ExeName"), QCoreApplication::applicationFilePath());
        if (OnSavePrefs)
            OnSavePrefs(*this);
    }
    return true;
}

bool TTessalyPreferences::OpenKey(const QString &name)
{
    return backend_->OpenKey(name, true);
}

void TTessalyPreferences::CloseKey()
{
    backend_->CloseKey();
}

bool TTessalyPreferences::ReadBool(const QString &name, bool defaultValue)
{
    bool b = defaultValue;
    return backend_->ReadBool(name, b) ? b : defaultValue;
}

int TTessalyPreferences::ReadInteger(const QString &name, int defaultValue)
{
    int n = defaultValue;
    return backend_->ReadInteger(name, n) ? n : defaultValue;
}

double TTessalyPreferences::ReadFloat(const QString &name, double defaultValue)
{
    double x = defaultValue;
    return backend_->ReadFloat(name, x) ? x : defaultValue;
}

QString TTessalyPreferences::ReadString(const QString &name, const QString &defaultValue)
{
    QString s = defaultValue;
    return backend_->ReadString(name, s) ? s : defaultValue;
}

QPoint TTessalyPreferences::ReadPoint(const QString &name, const QPoint &defaultValue)
{
    int x = 0, y = 0;
    if (backend_->ReadInteger(name + QStringLiteral(".X"), x) &&
        backend_->ReadInteger(name + QStringLiteral(".Y"), y))
        return QPoint(x, y);
    return defaultValue;
}

TRect TTessalyPreferences::ReadRect(const QString &name, const TRect &defaultValue)
{
    if (!backend_->OpenKey(name, false))
        return defaultValue;
    TRect r;
    const bool complete = backend_->ReadInteger(QStringLiteral("Left"), r.Left) &&
                          backend_->ReadInteger(QStringLiteral("Top"), r.Top) &&
                          backend_->ReadInteger(QStringLiteral("Right"), r.Right) &&
                          backend_->ReadInteger(QStringLiteral("Bottom"), r.Bottom);
    backend_->CloseKey();
    return complete ? r : defaultValue;
}

bool TTessalyPreferences::ReadFontFields(const QString &name, TFont &font)
{
    if (!backend_->OpenKey(name, false))
        return false;
    int color = 0;
    bool bold = false, italic = false, strikeOut = false, underline = false;
    const bool complete = backend_->ReadInteger(QStringLiteral("Charset"), font.Charset) &&
                          backend_->ReadInteger(QStringLiteral("Color"), color) &&
                          backend_->ReadString(QStringLiteral("Name"), font.Name) &&
                          backend_->ReadInteger(QStringLiteral("Pitch"), font.Pitch) &&
                          backend_->ReadInteger(QStringLiteral("PixelsperInch"), font.PixelsPerInch) &&
                          backend_->ReadInteger(QStringLiteral("Size"), font.Size) &&
                          backend_->ReadBool(QStringLiteral("Bold"), bold) &&
                          backend_->ReadBool(QStringLiteral("Italic"), italic) &&
                          backend_->ReadBool(QStringLiteral("StrikeOut"), strikeOut) &&
                          backend_->ReadBool(QStringLiteral("Underline"), underline);
    backend_->CloseKey();
    font.Color = TColor(color);
    font.Bold = bold;
    font.Italic = italic;
    font.StrikeOut = strikeOut;
    font.Underline = underline;
    return complete;
}

void TTessalyPreferences::ReadFont(const QString &name, TFont &font, const TFont &defaultValue)
{
    TFont read = font;
    font = ReadFontFields(name, read) ? read : defaultValue;
}

bool TTessalyPreferences::WriteBool(const QString &name, bool value)
{
    return backend_->WriteBool(name, value);
}

bool TTessalyPreferences::WriteInteger(const QString &name, int value)
{
    return backend_->WriteInteger(name, value);
}

bool TTessalyPreferences::WriteFloat(const QString &name, double value)
{
    return backend_->WriteFloat(name, value);
}

bool TTessalyPreferences::WriteString(const QString &name, const QString &value)
{
    return backend_->WriteString(name, value);
}

bool TTessalyPreferences::WritePoint(const QString &name, const QPoint &value)
{
    const bool x = backend_->WriteInteger(name + QStringLiteral(".X"), value.x());
    const bool y = backend_->WriteInteger(name + QStringLiteral(".Y"), value.y());
    return x && y;
}

bool TTessalyPreferences::WriteRect(const QString &name, const TRect &value)
{
    if (!backend_->OpenKey(name, true))
        return false;
    const bool ok = backend_->WriteInteger(QStringLiteral("Left"), value.Left) &&
                    backend_->WriteInteger(QStringLiteral("Top"), value.Top) &&
                    backend_->WriteInteger(QStringLiteral("Right"), value.Right) &&
                    backend_->WriteInteger(QStringLiteral("Bottom"), value.Bottom);
    backend_->CloseKey();
    return ok;
}

bool TTessalyPreferences::WriteFont(const QString &name, const TFont &value)
{
    if (!backend_->OpenKey(name, true))
        return false;
    const bool ok = backend_->WriteInteger(QStringLiteral("Charset"), value.Charset) &&
                    backend_->WriteInteger(QStringLiteral("Color"), int(value.Color)) &&
                    backend_->WriteString(QStringLiteral("Name"), value.Name) &&
                    backend_->WriteInteger(QStringLiteral("Pitch"), value.Pitch) &&
                    backend_->WriteInteger(QStringLiteral("PixelsperInch"), value.PixelsPerInch) &&
                    backend_->WriteInteger(QStringLiteral("Size"), value.Size) &&
                    backend_->WriteBool(QStringLiteral("Bold"), value.Bold) &&
                    backend_->WriteBool(QStringLiteral("Italic"), value.Italic) &&
                    backend_->WriteBool(QStringLiteral("StrikeOut"), value.StrikeOut) &&
                    backend_->WriteBool(QStringLiteral("Underline"), value.Underline);
    backend_->CloseKey();
    return ok;
}
