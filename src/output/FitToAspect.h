#pragma once

#include <QRect>

// The largest rectangle of aspect ax:ay centred in `box` less `border` on every side; the inner
// box itself when either term is not positive. With `relative`, the result is given relative to
// the box's top-left corner. Integer arithmetic, divisions truncating toward zero.
// `box` is taken as (left, top, right, bottom) edges, as the result is.
struct EdgeRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    QRect ToQRect() const { return QRect(left, top, Width(), Height()); }
    static EdgeRect FromQRect(const QRect &r)
    {
        return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    }
    friend bool operator==(const EdgeRect &, const EdgeRect &) = default;
};

EdgeRect FitToAspect(int ax, int ay, const EdgeRect &box, int border, bool relative);
