#pragma once

#include <QTextBrowser>

#include <functional>
#include <vector>

// A read-only rich label whose text carries a small tag markup: <b> <i> <u> <s> and their
// closing tags, <color NAME>, <size N>, <font NAME>, <br [LEFT|RIGHT|CENTER]>, and three kinds of
// link, <url TARGET>, <mail TARGET>, <link TARGET>, each closed by its "/" tag. Tag names and
// arguments ignore case; a link's target keeps its case. Colours are 0x00BBGGRR values.
class TLinkEdit : public QTextBrowser
{
    Q_OBJECT
  public:
    enum class LinkKind { Url, Mail, Custom };
    using HintEvent = std::function<void(const QString &link, QString &hint)>;
    using ClickEvent = std::function<void(const QString &link)>;

    explicit TLinkEdit(QWidget *parent = nullptr);

    const QString &RichText() const { return richText_; }
    void SetRichText(const QString &text);

    uint32_t UrlColor = 0x800000;
    uint32_t MailColor = 0x800000;
    uint32_t LinkColor = 0x800000;
    bool UseInternalCursor = true;
    HintEvent OnUrlHint, OnMailHint, OnCustomLinkHint;
    ClickEvent OnUrlClick, OnMailClick, OnCustomLinkClick;

    // The text as shown: tags removed, each BR a CR LF.
    static QString PlainText(const QString &markup);
    // The link under a position of the shown text, or -1.
    int LinkAt(const QPoint &viewportPos) const;
    struct Link {
        LinkKind kind;
        QString target;
    };
    const std::vector<Link> &Links() const { return links_; }

  protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

  private:
    void Render();

    QString richText_;
    std::vector<Link> links_;
};
