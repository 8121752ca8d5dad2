#include "output/FitToAspect.h"

#include <gtest/gtest.h>

TEST(FitToAspect, CentresTheLargestRectangleOfTheAspect)
{
    struct Case {
        int ax, ay;
        EdgeRect box;
        int border;
        bool relative;
        EdgeRect expected;
    } cases[] = {
        {4, 3, {0, 0, 720, 576}, 8, true, {8, 24, 712, 552}},   // taller box: bands above and below
        {4, 3, {0, 0, 1000, 500}, 0, true, {167, 0, 833, 500}}, // wider box: bands left and right
        {16, 9, {0, 0, 720, 405}, 0, true, {0, 0, 720, 405}},   // exact fit
        {0, 3, {0, 0, 640, 480}, 8, true, {8, 8, 632, 472}},    // no aspect known: the inner box
        {4, 0, {0, 0, 640, 480}, 0, true, {0, 0, 640, 480}},
        {4, 3, {100, 50, 1100, 550}, 0, false, {267, 50, 933, 550}}, // absolute coordinates kept
        {4, 3, {100, 50, 1100, 550}, 0, true, {167, 0, 833, 500}},   // relative to the box
        // Aspect terms as large as picture sizes or sample counts do not overflow the products.
        {1920000, 1080000, {0, 0, 3840, 2400}, 0, true, {0, 120, 3840, 2280}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FitToAspect(c.ax, c.ay, c.box, c.border, c.relative), c.expected)
            << c.ax << ":" << c.ay << " in " << c.box.Width() << "x" << c.box.Height();
}

TEST(FitToAspect, ABoxSmallerThanItsBorderGivesAnEmptyRectangle)
{
    const EdgeRect r = FitToAspect(4, 3, {0, 0, 10, 10}, 8, true);
    EXPECT_TRUE(r.Width() <= 0 || r.Height() <= 0);
    EXPECT_TRUE(r.ToQRect().isEmpty());
}
