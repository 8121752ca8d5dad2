#include "framework/Color.h"

#include <QGuiApplication>
#include <QPalette>

#include <gtest/gtest.h>

TEST(ColorConversion, PlainColoursKeepTheirBytesAndSystemColoursComeFromThePalette)
{
    EXPECT_EQ(ColorToQColor(0x00123456), QColor(0x56, 0x34, 0x12)) << "0x00BBGGRR";
    EXPECT_EQ(ColorToRGB(clFuchsia), clFuchsia);
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);

    const QPalette palette = QGuiApplication::palette();
    TColor infoBk = 0, btnFace = 0;
    ASSERT_TRUE(IdentToColor("clInfoBk", infoBk));
    ASSERT_TRUE(IdentToColor("clBtnFace", btnFace));
    EXPECT_EQ(ColorToQColor(clWindowText), palette.color(QPalette::Text));
    EXPECT_EQ(ColorToQColor(infoBk), palette.color(QPalette::ToolTipBase));
    EXPECT_EQ(ColorToQColor(btnFace), palette.color(QPalette::Button));
    const QColor button = palette.color(QPalette::Button);
    EXPECT_EQ(ColorToRGB(btnFace), TColor(button.red() | button.green() << 8 | button.blue() << 16));
    EXPECT_EQ(ColorToQColor(0xFF0000F0), palette.color(QPalette::Window)) << "an index beyond the table";

    TColor none = 0;
    ASSERT_TRUE(IdentToColor("clNone", none));
    EXPECT_EQ(ColorToQColor(none), QColor(Qt::black));
}
