#pragma once

#include "media/GrapheMan.h"

#include <QString>

class TNotifier;

// A graph manager that also holds the DV stream roles: which connected source's stream notifier
// reports recording dates and time codes to it, and the events that pass those texts on.
// UI thread only.
class TDVMan : public TGrapheMan
{
    Q_OBJECT
  public:
    using TdatecodeEvent = std::function<void(const QString &aDateCodeStr)>;
    using TTimeCodeEvent = std::function<void(const QString &aTimecodeStr)>;

    explicit TDVMan(QObject *owner = nullptr);

    TavSource *DatecodeSource() const { return datecodeSource_; }
    TavSource *TimecodeSource() const { return timecodeSource_; }
    TavSource *SceneSource() const { return sceneSource_; }
    // Each switches the previous holder's notifications off and the new one's on.
    void SetDatecodeSource(TavSource *source);
    void SetTimecodeSource(TavSource *source);
    void SetSceneSource(TavSource *source) { sceneSource_ = source; }

    // The format the datecode source's own notifier writes dates with; empty (short date and
    // long time).
    QString DatecodeFormat;
    TdatecodeEvent OnDatecode;
    TTimeCodeEvent OnTimecode;
    // Gate of OnDatecode; open, so the DV panel follows every new recording date.
    bool DatecodeEventsOn = true;

  protected:
    LRESULT WndProc(uint32_t msg, WPARAM wParam, LPARAM lParam) override;

  private:
    void MoveRole(TavSource *&role, TavSource *source, void (TNotifier::*setNotify)(bool),
                  void (TNotifier::*setWindow)(HWND));

    TavSource *datecodeSource_ = nullptr;
    TavSource *timecodeSource_ = nullptr;
    TavSource *sceneSource_ = nullptr;
};
