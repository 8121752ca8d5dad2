#include "ExtraireFrame.h"

#include "output/FitToAspect.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

namespace
{

constexpr int Border = 12;
constexpr int CaptionAbove = 34; // top of the position caption above the thumbnail
constexpr int BevelAbove = 42;   // top of the bevel behind it
constexpr int CaptionHeight = 20;
constexpr int BevelHeight = 28;
constexpr int SizeLabelHeight = 12;
constexpr int NameLabelHeight = 20;

const QColor SavedColor(192, 220, 192);

QFrame *NewBevel(QWidget *parent)
{
    auto *bevel = new QFrame(parent);
    bevel->setFrameShape(QFrame::Box);
    bevel->setFrameShadow(QFrame::Sunken);
    return bevel;
}

QLabel *NewLabel(QWidget *parent, Qt::Alignment alignment)
{
    auto *label = new QLabel(parent);
    label->setAlignment(alignment);
    return label;
}

} // namespace

TExtraireFrame::TExtraireFrame(QWidget *parent)
    : QFrame(parent), Thumbnail(new QLabel(this)), SnapLab(NewLabel(this, Qt::AlignCenter)),
      labImagetteTaille(NewLabel(this, Qt::AlignLeft | Qt::AlignBottom)),
      labsnapname(NewLabel(this, Qt::AlignCenter)), Bevel3(NewBevel(this)), Bevel1(NewBevel(this))
{
    setObjectName(QStringLiteral("ExtraireFrame"));
    Bevel1->lower();
    Thumbnail->setScaledContents(true);
    QFont small = labImagetteTaille->font();
    small.setItalic(true);
    small.setPixelSize(10);
    labImagetteTaille->setFont(small);
    labsnapname->setAutoFillBackground(true);
    Thumbnail->installEventFilter(this);
    labsnapname->installEventFilter(this);
    Clear();
}

void TExtraireFrame::ShowSnapshot(const QImage &snapshot, const QString &position, const QString &fileName)
{
    labImagetteTaille->setText(QStringLiteral("%1 x %2").arg(snapshot.width()).arg(snapshot.height()));
    Thumbnail->setPixmap(QPixmap::fromImage(snapshot));
    SnapLab->setText(position);
    labsnapname->setText(fileName);
    MarkSaved(false);
    SetPictureSize(snapshot.size());
}

void TExtraireFrame::MarkSaved(bool saved)
{
    if (saved)
        SetNameLabelLook(SavedColor, Qt::ArrowCursor, QStringLiteral("This picture has already been saved"));
    else
        SetNameLabelLook(
            palette().color(QPalette::Button), Qt::PointingHandCursor,
            QStringLiteral("This picture has not yet been saved\nClick on this label to save it"));
}

void TExtraireFrame::Clear()
{
    Thumbnail->clear();
    labImagetteTaille->clear();
    labsnapname->clear();
    SnapLab->clear();
    SetNameLabelLook(palette().color(QPalette::Window), Qt::ArrowCursor, QString());
    SetEmptyOutlineVisible(true);
}

void TExtraireFrame::SetPictureSize(const QSize &size)
{
    pictureSize_ = size;
    LayoutThumbnail();
}

void TExtraireFrame::SetEmptyOutlineVisible(bool visible)
{
    Bevel3->setVisible(visible);
    if (visible)
        Bevel3->raise();
}

void TExtraireFrame::SetNameLabelLook(const QColor &background, Qt::CursorShape cursor, const QString &hint)
{
    QPalette look = labsnapname->palette();
    look.setColor(QPalette::Window, background);
    labsnapname->setPalette(look);
    labsnapname->setCursor(cursor);
    labsnapname->setToolTip(hint);
}

void TExtraireFrame::LayoutThumbnail()
{
    const EdgeRect fitted =
        FitToAspect(pictureSize_.width(), pictureSize_.height(), EdgeRect::FromQRect(rect()), Border, true);
    const QRect r = fitted.ToQRect();
    Thumbnail->setGeometry(r);
    Bevel3->setGeometry(r);
    labsnapname->setGeometry(r.left(), r.top() + r.height(), r.width(), NameLabelHeight);
    SnapLab->setGeometry(r.left(), r.top() - CaptionAbove, r.width(), CaptionHeight);
    Bevel1->setGeometry(r.left(), r.top() - BevelAbove, r.width(), BevelHeight);
    labImagetteTaille->setGeometry(r.left(), r.top() - SizeLabelHeight, r.width(), SizeLabelHeight);
}

void TExtraireFrame::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    LayoutThumbnail();
}

bool TExtraireFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == labsnapname)
            emit SnapNameClicked();
        else if (watched == Thumbnail)
            emit ThumbnailClicked();
    }
    return QFrame::eventFilter(watched, event);
}
