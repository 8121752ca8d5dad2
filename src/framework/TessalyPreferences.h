#pragma once

#include "PreferencesMan.h"
#include "PreferencesStore.h"

#include <QString>

#include <functional>
#include <memory>

class RegistryStore;
class TSavePrefsForm;

// The preferences component ("gp"): typed reads and writes of the program's settings in one of
// three stores, the per-user registry store (normal mode), an INI file beside the program
// (portable mode) or nowhere. At start it finds which store exists and loads; at closing it
// saves, asking first where to when there is no store yet. Choosing a mode deletes the stores of
// the other modes, so two copies never linger. UI thread only.
class TTessalyPreferences final : public TPreferencesStore
{
  public:
    using ChangeModeEvent = std::function<void(TSavePreferences mode)>;
    using PrefsEvent = std::function<void(TTessalyPreferences &gp)>;

    // `programFolder` ends with "/"; the registry store is the user's unless another is given.
    TTessalyPreferences(const QString &titre, const QString &programFolder,
                        RegistryStore *registry = nullptr);
    ~TTessalyPreferences() override;

    QString titre;
    QString version;
    ChangeModeEvent OnChangeMode;
    PrefsEvent OnLoadPrefs;
    PrefsEvent OnSavePrefs;

    TSavePreferences Mode() const { return mode_; }
    void SetMode(TSavePreferences mode);
    QString IniFileName() const { return programFolder_ + titre + QStringLiteral(".ini"); }
    // "Software\Marvo Tessaly\<titre>" below the current user's hive.
    QString RegistryKeyPath() const;
    TPreferencesMan &Backend() { return *backend_; }

    // When the main window is first shown: detect the store, create its backend, then OnLoadPrefs.
    void LoadAtStart();
    // When the main window is asked to close: false refuses the closing (the closing question was
    // dismissed); otherwise the root values are written and OnSavePrefs runs.
    bool SaveAtClosing();
    TSavePrefsForm &SavePrefsForm();

    bool OpenKey(const QString &name) override;
    void CloseKey() override;
    bool ReadBool(const QString &name, bool defaultValue) override;
    int ReadInteger(const QString &name, int defaultValue) override;
    double ReadFloat(const QString &name, double defaultValue) override;
    QString ReadString(const QString &name, const QString &defaultValue) override;
    QPoint ReadPoint(const QString &name, const QPoint &defaultValue) override;
    TRect ReadRect(const QString &name, const TRect &defaultValue) override;
    void ReadFont(const QString &name, TFont &font, const TFont &defaultValue) override;
    bool WriteBool(const QString &name, bool value) override;
    bool WriteInteger(const QString &name, int value) override;
    bool WriteFloat(const QString &name, double value) override;
    bool WriteString(const QString &name, const QString &value) override;
    bool WritePoint(const QString &name, const QPoint &value) override;
    bool WriteRect(const QString &name, const TRect &value) override;
    bool WriteFont(const QString &name, const TFont &value) override;

  private:
    TSavePreferences DetectMode();
    void CreateBackend();
    void DeleteOtherStores();
    bool ReadFontFields(const QString &name, TFont &font);

    QString programFolder_;
    RegistryStore &registry_;
    TSavePreferences mode_ = spNone;
    std::unique_ptr<TPreferencesMan> backend_;
    std::unique_ptr<TSavePrefsForm> dialog_;
};
