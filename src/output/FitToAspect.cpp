#include "FitToAspect.h"

#include <cstdint>

EdgeRect FitToAspect(int ax, int ay, const EdgeRect &box, int border, bool relative)
{
    EdgeRect inner{box.left + border, box.top + border, box.right - border, box.bottom - border};
    const int w = inner.Width(), h = inner.Height();
    EdgeRect r = inner;
    if (ax > 0 && ay > 0) {
        // Products in 64 bits: large aspect terms cannot overflow them.
        const int64_t hx = int64_t(h) * ax, wy = int64_t(w) * ay;
        if (hx <= wy) { // the box is relatively wider
            const int fitted = int(hx / ay);
            r.left = inner.left + (w - fitted) / 2;
            r.right = r.left + fitted;
        } else {
            const int fitted = int(wy / ax);
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
