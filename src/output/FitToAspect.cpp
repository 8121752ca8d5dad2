#include "FitToAspect.h"

EdgeRect FitToAspect(int ax, int ay, const EdgeRect &box, int border, bool relative)
{
    EdgeRect inner{box.left + border, box.top + border, box.right - border, box.bottom - border};
    const int w = inner.Width(), h = inner.Height();
    EdgeRect r = inner;
    if (ax > 0 && ay > 0) {
        if (h * ax <= w * ay) { // the box is relatively wider
            const int fitted = h * ax / ay;
            r.left = inner.left + (w - fitted) / 2;
            r.right = r.left + fitted;
        } else {
            const int fitted = w * ay / ax;
            r.top = inner.top + (h - fitted) / 2;
            r.bottom = r.top + fitted;
        }
    }
    if (relative) {
        r.left -= box.left;
        r.right -= box.left;
        r.top -= box.top;
        r.bottom -= box.top;
    }
    return r;
}
