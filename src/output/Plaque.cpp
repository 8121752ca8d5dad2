#include "Plaque.h"

#include <QCloseEvent>
#include <QLabel>

namespace
{

void FillWith(QWidget &widget, const QColor &color)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, color);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

} // namespace

Tplaque::Tplaque()
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), Shape(new QWidget(this)),
      PanelQuit(new QLabel(QStringLiteral("Alt+Enter to exit from Full Screen mode"), this))
{
    FillWith(*this, Qt::black);
    FillWith(*Shape, Qt::black);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(17);
    PanelQuit->setFont(font);
    QPalette palette = PanelQuit->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::WindowText, Qt::black);
    PanelQuit->setPalette(palette);
    PanelQuit->setAutoFillBackground(true);
    PanelQuit->setMargin(8);
    PanelQuit->adjustSize();
    PanelQuit->installEventFilter(this);
}

void Tplaque::SetBackColor(const QColor &color)
{
    FillWith(*this, color);
}

void Tplaque::SetShapeColor(const QColor &color)
{
    FillWith(*Shape, color);
}

void Tplaque::closeEvent(QCloseEvent *event)
{
    event->ignore();
    hide();
    emit Closed();
}

void Tplaque::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    PlacePanelQuit();
}

bool Tplaque::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == PanelQuit && event->type() == QEvent::MouseButtonRelease)
        emit PanelQuitClicked();
    return QWidget::eventFilter(watched, event);
}

void Tplaque::PlacePanelQuit()
{
    // Centred at the top of the screen.
    PanelQuit->move((width() - PanelQuit->width()) / 2, 0);
}
