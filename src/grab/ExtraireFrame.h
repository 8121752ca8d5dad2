#pragma once

#include <QFrame>

class QLabel;

// The thumbnail panel: the last snapshot stretched into the largest rectangle of its proportion
// (12 pixels from the panel's edges), its size above it, the position it was taken at above that,
// and its file name below it. The name label shows whether the snapshot has been saved; a click
// on it asks for a save, a click on the picture asks to return to its position. UI thread only.
class TExtraireFrame : public QFrame
{
    Q_OBJECT
  public:
    explicit TExtraireFrame(QWidget *parent = nullptr);

    // Shows `snapshot` with its size, the position text and the file name, marked unsaved.
    void ShowSnapshot(const QImage &snapshot, const QString &position, const QString &fileName);
    // The saved look (pale green, arrow) or the unsaved one (button face, hand, a hint to click).
    void MarkSaved(bool saved);
    // Empties the picture and the texts; the empty outline comes back in front.
    void Clear();
    // The proportion the thumbnail is laid out with (the snapshot's size), then lays it out.
    void SetPictureSize(const QSize &size);
    // Shows or hides the outline drawn while there is no snapshot.
    void SetEmptyOutlineVisible(bool visible);

    QLabel *Thumbnail;
    QLabel *SnapLab;           // position of the snapshot
    QLabel *labImagetteTaille; // "W x H"
    QLabel *labsnapname;       // file name; saved state
    QFrame *Bevel3;            // outline while empty
    QFrame *Bevel1;            // behind the position

  signals:
    void SnapNameClicked();
    void ThumbnailClicked();

  protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void LayoutThumbnail();
    void SetNameLabelLook(const QColor &background, Qt::CursorShape cursor, const QString &hint);

    QSize pictureSize_;
};
