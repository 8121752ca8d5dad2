#include "LinkEdit.h"

#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolTip>

#include <optional>

namespace
{

QColor FromBgr(uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int(bgr >> 8 & 0xFF), int(bgr >> 16 & 0xFF));
}

std::optional<QColor> NamedColor(const QString &name, const QPalette &palette)
{
    static const std::pair<const char *, uint32_t> names[] = {
        {"RED", 0x0000FF},     {"GREEN", 0x008000},  {"YELLOW", 0x00FFFF},  {"BLUE", 0xFF0000},
        {"BLACK", 0x000000},   {"WHITE", 0xFFFFFF},  {"AQUA", 0xFFFF00},    {"DKGRAY", 0x808080},
        {"OLIVE", 0x008080},   {"PURPLE", 0x800080}, {"FUCHSIA", 0xFF00FF}, {"GRAY", 0x808080},
        {"LIME", 0x00FF00},    {"MAROON", 0x000080}, {"NAVY", 0x800000},    {"LTGRAY", 0xC0C0C0},
        {"MEDGRAY", 0xA4A0A0}, {"SILVER", 0xC0C0C0}, {"TEAL", 0x808000},    {"MONEYGREEN", 0xC0DCC0},
        {"CREAM", 0xF0FBFF},   {"SKYBLUE", 0xF0CAA6}};
    for (const auto &[n, bgr] : names)
        if (name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0)
            return FromBgr(bgr);
    if (name.compare(QLatin1String("BTNFACE"), Qt::CaseInsensitive) == 0)
        return palette.color(QPalette::Button);
    if (name.compare(QLatin1String("APPWORKSPACE"), Qt::CaseInsensitive) == 0)
        return palette.color(QPalette::Dark);
    return std::nullopt;
}

// One piece of marked-up text: a run of text, or a tag with its name and argument.
struct Piece {
    bool isTag;
    QString text; // the run, or the tag's name
    QString argument;
};

std::vector<Piece> Split(const QString &markup)
{
    std::vector<Piece> pieces;
    QString run;
    qsizetype i = 0;
    while (i < markup.size()) {
        if (markup[i] != QLatin1Char('<')) {
            run += markup[i++];
            continue;
        }
        const qsizetype close = markup.indexOf(QLatin1Char('>'), i + 1);
        const qsizetype inner = markup.indexOf(QLatin1Char('<'), i + 1);
        if (close < 0 || (inner >= 0 && inner < close)) {
            // Not a tag: the "<" is shown as it stands, and scanning goes on after it.
            run += markup[i++];
            continue;
        }
        if (!run.isEmpty())
            pieces.push_back({false, std::exchange(run, {}), {}});
        const QString tag = markup.mid(i + 1, close - i - 1);
        const qsizetype blank = tag.indexOf(QLatin1Char(' '));
        pieces.push_back(
            {true, blank < 0 ? tag : tag.left(blank), blank < 0 ? QString() : tag.mid(blank + 1).trimmed()});
        i = close + 1;
    }
    if (!run.isEmpty())
        pieces.push_back({false, run, {}});
    return pieces;
}

bool Is(const Piece &p, const char *name)
{
    return p.text.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

Qt::Alignment BreakAlignment(const QString &argument, Qt::Alignment control)
{
    if (argument.compare(QLatin1String("LEFT"), Qt::CaseInsensitive) == 0)
        return Qt::AlignLeft;
    if (argument.compare(QLatin1String("RIGHT"), Qt::CaseInsensitive) == 0)
        return Qt::AlignRight;
    if (argument.compare(QLatin1String("CENTER"), Qt::CaseInsensitive) == 0)
        return Qt::AlignHCenter;
    return control;
}

} // namespace

TLinkEdit::TLinkEdit(QWidget *parent) : QTextBrowser(parent)
{
    setReadOnly(true);
    setFrameShape(QFrame::NoFrame);
    setOpenLinks(false);
    viewport()->setMouseTracking(true);
}

QString TLinkEdit::PlainText(const QString &markup)
{
    QString text;
    for (const Piece &p : Split(markup))
        text += !p.isTag ? p.text : Is(p, "BR") ? QStringLiteral("\r\n") : QString();
    return text;
}

void TLinkEdit::SetRichText(const QString &text)
{
    richText_ = text;
    Render();
}

void TLinkEdit::Render()
{
    links_.clear();
    document()->clear();
    QTextCursor cursor(document());
    const QFont base = font();
    const QColor baseColor = palette().color(QPalette::Text);
    QTextCharFormat format;
    format.setFont(base);
    format.setForeground(baseColor);
    QTextCharFormat beforeLink = format;
    for (const Piece &p : Split(richText_)) {
        if (!p.isTag) {
            cursor.insertText(p.text, format);
        } else if (Is(p, "BR")) {
            QTextBlockFormat block = cursor.blockFormat();
            block.setAlignment(BreakAlignment(p.argument, alignment()));
            cursor.setBlockFormat(block);
            cursor.insertBlock();
        } else if (Is(p, "B") || Is(p, "/B")) {
            format.setFontWeight(Is(p, "B") ? QFont::Bold : base.weight());
        } else if (Is(p, "I") || Is(p, "/I")) {
            format.setFontItalic(Is(p, "I"));
        } else if (Is(p, "U") || Is(p, "/U")) {
            format.setFontUnderline(Is(p, "U"));
        } else if (Is(p, "S") || Is(p, "/S")) {
            format.setFontStrikeOut(Is(p, "S"));
        } else if (Is(p, "COLOR")) {
            if (auto c = NamedColor(p.argument, palette()))
                format.setForeground(*c);
        } else if (Is(p, "/COLOR")) {
            format.setForeground(baseColor);
        } else if (Is(p, "SIZE")) {
            bool ok = false;
            const int size = p.argument.toInt(&ok);
            format.setFontPointSize(ok ? size : 0);
        } else if (Is(p, "/SIZE")) {
            format.setFontPointSize(base.pointSizeF());
        } else if (Is(p, "FONT")) {
            format.setFontFamilies({p.argument});
        } else if (Is(p, "/FONT")) {
            format.setFontFamilies({base.family()});
        } else if (Is(p, "URL") || Is(p, "MAIL") || Is(p, "LINK")) {
            const LinkKind kind = Is(p, "URL")    ? LinkKind::Url
                                  : Is(p, "MAIL") ? LinkKind::Mail
                                                  : LinkKind::Custom;
            beforeLink = format;
            format.setForeground(FromBgr(kind == LinkKind::Url    ? UrlColor
                                         : kind == LinkKind::Mail ? MailColor
                                                                  : LinkColor));
            format.setFontUnderline(true);
            format.setAnchor(true);
            format.setAnchorHref(QStringLiteral("#%1").arg(links_.size()));
            links_.push_back({kind, p.argument});
        } else if (Is(p, "/URL") || Is(p, "/MAIL") || Is(p, "/LINK")) {
            format = beforeLink;
        }
    }
    QTextBlockFormat last = cursor.blockFormat();
    last.setAlignment(alignment());
    cursor.setBlockFormat(last);
}

int TLinkEdit::LinkAt(const QPoint &viewportPos) const
{
    const QString href = anchorAt(viewportPos);
    if (!href.startsWith(QLatin1Char('#')))
        return -1;
    bool ok = false;
    const int index = href.mid(1).toInt(&ok);
    return ok && index >= 0 && size_t(index) < links_.size() ? index : -1;
}

void TLinkEdit::mouseMoveEvent(QMouseEvent *event)
{
    const int index = LinkAt(event->position().toPoint());
    if (UseInternalCursor)
        viewport()->setCursor(index >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QString hint;
    if (index >= 0) {
        const Link &link = links_[size_t(index)];
        const HintEvent &handler = link.kind == LinkKind::Url    ? OnUrlHint
                                   : link.kind == LinkKind::Mail ? OnMailHint
                                                                 : OnCustomLinkHint;
        if (handler)
            handler(link.target, hint);
    }
    if (hint.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPosition().toPoint(), hint, this);
    QTextBrowser::mouseMoveEvent(event);
}

void TLinkEdit::mouseReleaseEvent(QMouseEvent *event)
{
    const int index = LinkAt(event->position().toPoint());
    if (index >= 0 && event->button() == Qt::LeftButton) {
        const Link &link = links_[size_t(index)];
        const ClickEvent &handler = link.kind == LinkKind::Url    ? OnUrlClick
                                    : link.kind == LinkKind::Mail ? OnMailClick
                                                                  : OnCustomLinkClick;
        if (handler)
            handler(link.target);
    }
    QTextBrowser::mouseReleaseEvent(event);
}
