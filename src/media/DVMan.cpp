#include "DVMan.h"

#include "media/AvSource.h"
#include "media/StreamMessages.h"

TDVMan::TDVMan(QObject *owner) : TGrapheMan(owner) {}

// The previous holder's stream notifier stops reporting this role; the new one's reports to
// this manager's window.
void TDVMan::MoveRole(TavSource *&role, TavSource *source, void (TNotifier::*setNotify)(bool),
                      void (TNotifier::*setWindow)(HWND))
{
    if (role && role->StreamNotifier())
        (role->StreamNotifier()->*setNotify)(false);
    role = source;
    if (TNotifier *notifier = source ? source->StreamNotifier() : nullptr) {
        (notifier->*setWindow)(Handle());
        (notifier->*setNotify)(true);
    }
}

void TDVMan::SetDatecodeSource(TavSource *source)
{
    MoveRole(datecodeSource_, source, &TNotifier::SetNotifyDatecode, &TNotifier::SetDatecodeWindow);
    if (source && source->Notifier())
        source->Notifier()->SetDatecodeFormat(DatecodeFormat);
}

void TDVMan::SetTimecodeSource(TavSource *source)
{
    MoveRole(timecodeSource_, source, &TNotifier::SetNotifyTimecode, &TNotifier::SetTimecodeWindow);
}

LRESULT TDVMan::WndProc(uint32_t msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_DATECODE:
        if (OnDatecode && DatecodeEventsOn && lParam) {
            const TframeData slot = TNotifier::ReadFrameData(lParam);
            OnDatecode(slot.DateValid ? slot.DatecodeText : QString());
        }
        return 0;
    case WM_TIMECODE:
        if (OnTimecode && lParam)
            OnTimecode(TNotifier::ReadFrameData(lParam).TimecodeText);
        return 0;
    default:
        return TGrapheMan::WndProc(msg, wParam, lParam);
    }
}
