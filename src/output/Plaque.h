#pragma once

#include <QWidget>

class QLabel;

// The full-screen surface: a borderless window in the background colour on which the renderer
// draws the picture, with `Shape`, the band of border colour framing the picture, and
// `PanelQuit`, the hint that tells how to leave full screen (a click on it asks to hide it).
// Closing the window hides it and says so, so full screen can be left. UI thread only.
class Tplaque : public QWidget
{
    Q_OBJECT
  public:
    Tplaque();

    void SetBackColor(const QColor &color);
    void SetShapeColor(const QColor &color);

    QWidget *Shape;
    QLabel *PanelQuit;

  signals:
    void PanelQuitClicked();
    void Closed();

  protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void PlacePanelQuit();
};
