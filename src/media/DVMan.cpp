#include "DVMan.h"

#include "media/AvSource.h"
#include "media/StreamMessages.h"

TDVMan::TDVMan(QObject *owner) : TGrapheMan(owner) {}

void TDVMan::SetDatecodeSource(TavSource *source)
{
    if (datecodeSource_ && datecodeSource_->StreamNotifier())
        datecodeSource_->StreamNotifier()->SetNotifyDatecode(false);
    datecodeSource_ = source;
    if (!source)
        return;
    if (TNotifier *notifier = source->StreamNotifier()) {
        notifier->SetDatecodeWindow(Handle());
        notifier->SetNotifyDatecode(true);
    }
    if (source->Notifier())
        source->Notifier()->SetDatecodeFormat(DatecodeFormat);
}

void TDVMan::SetTimecodeSource(TavSource *source)
{
    if (timecodeSource_ && timecodeSource_->StreamNotifier())
        timecodeSource_->StreamNotifier()->SetNotifyTimecode(false);
    timecodeSource_ = source;
    if (!source)
        return;
    if (TNotifier *notifier = source->StreamNotifier()) {
        notifier->SetTimecodeWindow(Handle());
        notifier->SetNotifyTimecode(true);
    }
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
