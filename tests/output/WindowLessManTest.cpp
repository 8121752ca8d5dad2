// The windowless video manager without a picture: its actions, the layout of the picture's
// rectangle and its border band in a real widget, full screen and the detached window.
#include "RectPrinter.h"

#include "output/FitToAspect.h"
#include "output/Plaque.h"
#include "output/WindowLessMan.h"

#include "framework/ActionCatalogue.h"
#include "framework/CheckAction.h"
#include "framework/FontAction.h"
#include "framework/IntegerAction.h"
#include "framework/TessalyPreferences.h"
#include "platform/graph/VideoMixingRenderer.h"
#include "support/QStringPrinter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include "support/ProcessEvents.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{

const QColor KPanelColor(0, 64, 0);

// A manager hosted in a panel of a known colour inside a shown window.
struct Hosted {
    QWidget top;
    QWidget &panel = *new QWidget(&top);
    TWindowLessMan man;

    explicit Hosted(QSize size = QSize(720, 576))
    {
        QPalette palette = panel.palette();
        palette.setColor(QPalette::Window, KPanelColor);
        panel.setPalette(palette);
        panel.setGeometry(QRect(QPoint(0, 0), size));
        top.resize(1200, 800);
        top.show();
        man.Loaded();
        man.SetWindow(&panel);
    }

    TCustomAbstractAction *Action(const char *name) const { return man.FindByInternalId(name); }
    TCheckAction *Check(const char *name) const { return dynamic_cast<TCheckAction *>(Action(name)); }
};

} // namespace

TEST(WindowLessMan, ServesItsTwentyCatalogueActions)
{
    TWindowLessMan man;
    man.Loaded();
    QStringList expected;
    for (const ActionCatalogue::Row &row : ActionCatalogue::Rows(ActionCatalogue::List::vidman))
        expected << row.name;
    expected.removeAll("naNextDecoderVideo"); // the video manager's own
    QStringList names;
    for (const TCustomAbstractAction *action : man.Actions()) {
        names << action->Name();
        EXPECT_EQ(action->Category, "cat_internal") << action->Name().toStdString();
    }
    EXPECT_EQ(names, expected);
    EXPECT_FALSE(man.FindByInternalId("caKeepAspectratio")->isEnabled());

    // The two-state actions show the caption of their state.
    struct Captions {
        const char *name, *whenFalse, *whenTrue;
    } captions[] = {
        {"caFullscreen", "Fullscreen", "Quit fullscreen"},
        {"caFlipVertical", "Flip Vertical", "Flip vertical"},
        {"caFlipHorizontal", "Flip Horizontal", "Flip Horizontal"},
        {"caPreviewform", "Detach the video", "Embed the video"},
        {"caInsertTextOn", "Enable inlay", "Disable Inlay"},
    };
    for (const Captions &c : captions) {
        auto *check = dynamic_cast<TCheckAction *>(man.FindByInternalId(c.name));
        ASSERT_NE(check, nullptr) << c.name;
        EXPECT_EQ(check->FalseCaption(), c.whenFalse);
        EXPECT_EQ(check->TrueCaption(), c.whenTrue);
    }
    auto *antialias = dynamic_cast<TCheckAction *>(man.FindByInternalId("caInsertAntiAliasing"));
    EXPECT_TRUE(antialias->Checked());
    EXPECT_EQ(antialias->Caption(), "InsertAntiAliasing") << "a caption in both states";
}

TEST(WindowLessMan, EverySettingReachesTheComponentThroughItsAction)
{
    Hosted h;
    TWindowLessMan &m = h.man;
    struct Case {
        const char *action;
        const char *text; // as given on the command line
        std::function<bool()> applied;
    } cases[] = {
        {"iaWinBorderWidth", "12", [&] { return m.WinBorderWidth() == 12; }},
        {"iaFullBorderWidth", "5", [&] { return m.FullBorderWidth() == 5; }},
        {"iaBorderColor", "clRed", [&] { return m.BorderColor() == clRed; }},
        {"iaBackColor", "clYellow", [&] { return m.BackColor() == clYellow; }},
        {"iaInsertBorderWidth", "3", [&] { return m.InsertBorderWidth() == 3; }},
        {"iaInsertBorderColor", "clRed", [&] { return m.InsertBorderColor() == clRed; }},
        {"iaInsertTransparentColor", "clYellow", [&] { return m.InsertTransparentColor() == clYellow; }},
        {"daInsertTransparency", "0.25", [&] { return m.InsertTransparency() == 0.25; }},
        {"paInsertPosition", "(5000, 8200)", [&] { return m.InsertPosition() == QPoint(5000, 8200); }},
        {"iaInsertAlignLines", "1", [&] { return m.InsertLines[7].Alignment == taRightJustify; }},
        {"iaTimerInterval", "250", [&] { return m.HintTimer()->interval() == 250; }},
        {"raPreviewSave", "(30, 40, 350, 280)",
         [&] { return m.PreviewForm()->geometry() == QRect(30, 40, 320, 240); }},
        {"caFlipVertical", "true", [&] { return m.FlipVertical(); }},
        {"caFlipHorizontal", "true", [&] { return m.FlipHorizontal(); }},
        {"caInsertAntiAliasing", "false", [&] { return !m.InsertAntiAliasing(); }},
        {"caKeepAspectratio", "true",
         [&] {
             return m.KeepAspectratio() &&
                    m.Renderer()->AspectRatioMode() == VideoMixingRenderer::VMR9ARMode_LetterBox;
         }},
        {"caInsertTextOn", "true", [&] { return m.InsertShown(); }},
    };
    for (const Case &c : cases) {
        TCustomAbstractAction *action = h.Action(c.action);
        ASSERT_NE(action, nullptr) << c.action;
        action->SetFromText(c.text);
        EXPECT_TRUE(c.applied()) << c.action << " = " << c.text;
    }
    EXPECT_EQ(m.BackColor(), clYellow);
    EXPECT_EQ(m.FullScreenSurface()->palette().color(QPalette::Window), QColor(255, 255, 0))
        << "the full-screen surface takes the background colour";

    TFont font;
    font.Name = "Arial";
    font.Size = 30;
    font.Bold = true;
    dynamic_cast<TFontAction *>(h.Action("faInsertFont"))->SetValue(font);
    EXPECT_EQ(m.InsertFont(), font);
    EXPECT_EQ(m.InsertCanvasFont(), font);
}

TEST(WindowLessMan, StoresTheAlignmentAndThePreviewBoundsAsTheyAreAndLoadsThemBack)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    TTessalyPreferences gp("Kestrin", folder.path() + "/");
    gp.SetMode(spPortable);
    {
        TWindowLessMan saved;
        saved.Loaded();
        saved.SetInsertAlignLines(taRightJustify); // not through the action
        saved.FindByInternalId("iaTimerInterval")->SetFromText("500");
        saved.FindByInternalId("iaWinBorderWidth")->SetFromText("6");
        saved.PreviewForm()->setGeometry(50, 60, 400, 300);
        gp.OpenKey("ShowForm");
        EXPECT_TRUE(saved.SaveToPrefs(gp));
        gp.CloseKey();
    }
    TWindowLessMan loaded;
    loaded.Loaded();
    gp.OpenKey("ShowForm");
    EXPECT_TRUE(loaded.LoadFromPrefs(gp));
    gp.CloseKey();
    EXPECT_EQ(loaded.InsertAlignLines(), taRightJustify);
    EXPECT_EQ(loaded.InsertLines[0].Alignment, taRightJustify);
    EXPECT_EQ(loaded.PreviewForm()->geometry(), QRect(50, 60, 400, 300));
    EXPECT_EQ(loaded.WinBorderWidth(), 6) << "applied when loaded";
    EXPECT_EQ(loaded.HintTimer()->interval(), 3000) << "the hint time is stored but not applied";
    EXPECT_EQ(dynamic_cast<TIntegerAction *>(loaded.FindByInternalId("iaTimerInterval"))->Value(), 500);
}

TEST(WindowLessMan, LaysThePictureOutInsideItsBorderBand)
{
    Hosted h(QSize(720, 576));
    h.man.SetBorderColor(clRed);
    h.man.SetWinBorderWidth(8);
    h.man.SetAspect(4, 3);
    const EdgeRect expected{8, 24, 712, 552};
    EXPECT_EQ(h.man.WindowRect(), expected);
    const RECT destination = h.man.Renderer()->VideoDestination();
    EXPECT_EQ(EdgeRect({destination.left, destination.top, destination.right, destination.bottom}), expected);
    EXPECT_EQ(h.man.Renderer()->VideoClippingWindow(), &h.panel);

    // The band: border colour for 8 pixels around the picture, the panel's own colour beyond.
    const QImage shown = h.panel.grab().toImage();
    const QColor red(255, 0, 0);
    EXPECT_EQ(shown.pixelColor(360, 24 - 1), red);
    EXPECT_EQ(shown.pixelColor(360, 24 - 8), red);
    EXPECT_EQ(shown.pixelColor(360, 24 - 9), KPanelColor);
    EXPECT_EQ(shown.pixelColor(0, 0), KPanelColor);
    EXPECT_EQ(shown.pixelColor(3, 300), red) << "at the sides the band reaches the panel's edge";
    EXPECT_EQ(shown.pixelColor(360, 552 + 7), red);
    EXPECT_EQ(shown.pixelColor(360, 575), KPanelColor);
    EXPECT_EQ(shown.pixelColor(360, 300), QColor(Qt::black)) << "the renderer's surface, no picture yet";

    // Unknown aspect: the whole panel inside the border.
    h.man.SetAspect(0, 0);
    EXPECT_EQ(h.man.WindowRect(), EdgeRect({8, 8, 712, 568}));
    // The border width takes effect at once; resizing the panel lays out again.
    h.man.SetAspect(4, 3);
    h.man.SetWinBorderWidth(0);
    EXPECT_EQ(h.man.WindowRect(), EdgeRect({0, 18, 720, 558}));
    h.panel.resize(1000, 500);
    EXPECT_EQ(h.man.WindowRect(), EdgeRect({167, 0, 833, 500}));
    h.man.SetBorderColor(clYellow);
    EXPECT_EQ(h.panel.grab().toImage().pixelColor(100, 250), KPanelColor);
}

TEST(WindowLessMan, ClearingShowsThePanelEmptyUntilTheNextLayout)
{
    Hosted h(QSize(400, 300));
    h.man.SetBorderColor(clRed);
    h.man.SetAspect(4, 3);
    h.man.ClearVideoControl();
    const QImage cleared = h.panel.grab().toImage();
    EXPECT_EQ(cleared.pixelColor(200, 150), KPanelColor) << "no picture";
    EXPECT_EQ(cleared.pixelColor(2, 2), KPanelColor) << "no band";
    EXPECT_EQ(h.man.Renderer()->VideoClippingWindow(), nullptr);
    h.man.PaintVideo();
    EXPECT_EQ(h.panel.grab().toImage().pixelColor(200, 150), KPanelColor) << "still empty when repainted";

    h.man.Layout();
    const QImage shown = h.panel.grab().toImage();
    EXPECT_EQ(shown.pixelColor(200, 150), QColor(Qt::black));
    EXPECT_EQ(h.man.Renderer()->VideoClippingWindow(), &h.panel);
}

TEST(WindowLessMan, FullScreenMovesThePictureToTheSurfaceAndBack)
{
    Hosted h(QSize(640, 360));
    h.man.SetAspect(16, 9);
    h.man.SetFullBorderWidth(10);
    h.man.SetBorderColor(clRed);
    h.Action("iaTimerInterval")->SetFromText("60");
    const QRect screen = h.panel.screen()->geometry();

    h.Check("caFullscreen")->SetChecked(true);
    Tplaque &surface = *h.man.FullScreenSurface();
    EXPECT_TRUE(surface.isVisible());
    EXPECT_EQ(surface.geometry(), screen);
    const EdgeRect fitted = FitToAspect(16, 9, {0, 0, screen.width(), screen.height()}, 10, true);
    EXPECT_EQ(h.man.FullScreenRect(), fitted);
    EXPECT_EQ(h.man.Renderer()->VideoClippingWindow(), &surface);
    EXPECT_EQ(surface.Shape->geometry(), fitted.ToQRect().adjusted(-10, -10, 10, 10));
    EXPECT_EQ(surface.Shape->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_TRUE(surface.PanelQuit->isVisible());
    EXPECT_EQ(surface.PanelQuit->text(), "Alt+Enter to exit from Full Screen mode");
    ProcessEventsFor(200);
    EXPECT_FALSE(surface.PanelQuit->isVisible()) << "the hint goes when its timer fires";
    EXPECT_EQ(h.Check("caFullscreen")->Caption(), "Quit fullscreen");

    // The window layout is left alone meanwhile.
    const EdgeRect windowRect = h.man.WindowRect();
    h.panel.resize(500, 500);
    EXPECT_EQ(h.man.WindowRect(), windowRect);
    h.Check("caFullscreen")->SetChecked(false);
    EXPECT_FALSE(surface.isVisible());
    EXPECT_EQ(h.man.Renderer()->VideoClippingWindow(), &h.panel);
    EXPECT_EQ(h.man.WindowRect(), FitToAspect(16, 9, {0, 0, 500, 500}, h.man.WinBorderWidth(), true));
    ProcessEventsFor(20); // the posted display change is handled

    // A click on the hint takes it away at once.
    h.Action("iaTimerInterval")->SetFromText("60000");
    h.Check("caFullscreen")->SetChecked(true);
    ASSERT_TRUE(surface.PanelQuit->isVisible());
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(surface.PanelQuit, &release);
    EXPECT_FALSE(surface.PanelQuit->isVisible());
    EXPECT_FALSE(h.man.HintTimer()->isActive());
    h.Check("caFullscreen")->SetChecked(false);

    // With no hint time the hint is not shown at all.
    h.Action("iaTimerInterval")->SetFromText("0");
    h.Check("caFullscreen")->SetChecked(true);
    EXPECT_FALSE(surface.PanelQuit->isVisible());
    surface.close();
    EXPECT_FALSE(surface.isVisible());
    EXPECT_FALSE(h.Check("caFullscreen")->Checked()) << "closing the surface leaves full screen";
    EXPECT_FALSE(h.man.FullScreen());
    EXPECT_EQ(h.man.Renderer()->VideoClippingWindow(), &h.panel);
}

TEST(WindowLessMan, TheDetachedWindowHostsThePictureUntilItIsClosed)
{
    Hosted h(QSize(640, 360));
    h.man.SetAspect(4, 3);
    h.Action("raPreviewSave")->SetFromText("(20, 30, 420, 330)");
    TCheckAction &detach = *h.Check("caPreviewform");
    detach.SetChecked(true);
    QWidget &preview = *h.man.PreviewForm();
    EXPECT_TRUE(preview.isVisible());
    EXPECT_EQ(preview.geometry(), QRect(20, 30, 400, 300));
    EXPECT_EQ(h.man.VideoControl(), &preview);
    EXPECT_EQ(h.man.Renderer()->VideoClippingWindow(), &preview);
    EXPECT_EQ(h.man.WindowRect(), FitToAspect(4, 3, {0, 0, 400, 300}, h.man.WinBorderWidth(), true));
    EXPECT_EQ(detach.Caption(), "Embed the video");

    preview.setGeometry(60, 70, 480, 360);
    preview.close();
    EXPECT_FALSE(detach.Checked()) << "closing the window embeds the video again";
    EXPECT_FALSE(preview.isVisible());
    EXPECT_EQ(h.man.VideoControl(), &h.panel);
    EXPECT_EQ(h.man.Renderer()->VideoClippingWindow(), &h.panel);
    EXPECT_EQ(h.man.WindowRect(), FitToAspect(4, 3, {0, 0, 640, 360}, h.man.WinBorderWidth(), true));
    detach.SetChecked(true);
    EXPECT_EQ(preview.geometry(), QRect(60, 70, 480, 360)) << "the window comes back where it was left";
    detach.SetChecked(false);
}

TEST(WindowLessMan, ForgetsAHostThatIsDestroyed)
{
    TWindowLessMan man;
    man.Loaded();
    auto *panel = new QWidget;
    panel->resize(320, 240);
    panel->show();
    man.SetWindow(panel);
    EXPECT_EQ(man.VideoControl(), panel);
    delete panel;
    EXPECT_EQ(man.window(), nullptr);
    EXPECT_EQ(man.VideoControl(), nullptr);
    man.SetAspect(4, 3); // lays out nothing, harmlessly
    man.PaintVideo();
    EXPECT_EQ(man.Renderer()->VideoClippingWindow(), nullptr);
}
