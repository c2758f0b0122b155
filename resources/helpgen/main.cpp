// Renders the help guide's HTML source into the PDF that the app embeds.
#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>

#include <cstdio>

namespace {

constexpr double marginCm = 2.0;
// The layout's resolution; the pages are scaled up to the writer's.
constexpr int layoutDpi = 96;

// Lays the document out on A4 pages with their margins, at layoutDpi, on
// `device`.
void paginate(QTextDocument &document, QImage &device)
{
    device.setDotsPerMeterX(qRound(layoutDpi / 0.0254));
    device.setDotsPerMeterY(qRound(layoutDpi / 0.0254));
    document.documentLayout()->setPaintDevice(&device);
    document.setPageSize(QPageSize(QPageSize::A4).sizePixels(layoutDpi));
    QTextFrameFormat root = document.rootFrame()->frameFormat();
    root.setMargin(marginCm / 2.54 * layoutDpi);
    document.rootFrame()->setFrameFormat(root);
}

int pageOf(const QTextDocument &document, qreal y)
{
    return int(y / document.pageSize().height());
}

// The first heading whose next block starts on a later page, that is, one
// left alone at the foot of a page.
QTextBlock strandedHeading(const QTextDocument &document)
{
    QAbstractTextDocumentLayout *layout = document.documentLayout();
    for (QTextBlock block = document.begin(); block.next().isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0 ||
            block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            continue;
        const QRectF heading = layout->blockBoundingRect(block);
        const QTextBlock next = block.next();
        const QRectF text = layout->blockBoundingRect(next);
        const qreal firstLine =
            next.layout()->lineCount() > 0 ? next.layout()->lineAt(0).height() : text.height();
        if (pageOf(document, heading.top()) != pageOf(document, text.top() + firstLine))
            return block;
    }
    return {};
}

// Where the first command (a fragment in the fixed-pitch font) that a line
// break splits starts; -1 when none is split. One that starts its line
// is too long for any line and stays as it is.
int splitCommand(const QTextDocument &document)
{
    document.documentLayout()->documentSize(); // lays out what is not laid out yet
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout *layout = block.layout();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = fragment.position() - block.position();
            const QTextLine line = layout->lineForTextPosition(start);
            if (QFontInfo(fragment.charFormat().font()).fixedPitch() && line.textStart() != start &&
                layout->lineForTextPosition(start + fragment.length() - 1).lineNumber() !=
                    line.lineNumber())
                return fragment.position();
        }
    }
    return -1;
}

// A command that does not fit the rest of its line starts the next one, so
// that it is never broken, at a hyphen say.
void keepCommandsWhole(QTextDocument &document)
{
    for (int split = splitCommand(document); split >= 0; split = splitCommand(document)) {
        // An opening bracket goes along.
        if (split > 0 && document.characterAt(split - 1) == u'(')
            --split;
        QTextCursor cursor(&document);
        cursor.setPosition(split);
        cursor.insertText(QString(QChar::LineSeparator));
    }
}

// Each heading goes to the next page rather than stand alone at the foot of one.
void keepHeadingsWithText(QTextDocument &document)
{
    for (QTextBlock heading = strandedHeading(document); heading.isValid();
         heading = strandedHeading(document)) {
        QTextBlockFormat format = heading.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(heading).setBlockFormat(format);
    }
}

// Each page with its number at the foot, as QTextDocument::print() would.
bool printPages(const QTextDocument &document, QPdfWriter &writer)
{
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    painter.scale(double(writer.logicalDpiX()) / layoutDpi,
                  double(writer.logicalDpiY()) / layoutDpi);
    const QSizeF page = document.pageSize();
    const qreal margin = document.rootFrame()->frameFormat().margin();
    painter.setFont(document.defaultFont());
    for (int number = 0; number < document.pageCount(); ++number) {
        if (number > 0)
            writer.newPage();
        painter.save();
        painter.translate(0, -number * page.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(QPointF(0, number * page.height()), page);
        document.documentLayout()->draw(&painter, context);
        painter.restore();
        const QRectF foot(margin, page.height() - margin, page.width() - 2 * margin, margin / 2);
        painter.drawText(foot, Qt::AlignRight | Qt::AlignBottom, QString::number(number + 1));
    }
    return painter.end();
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: quillbank-helpgen SOURCE.html OUTPUT.pdf\n");
        return 2;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    QPdfWriter writer(QString::fromLocal8Bit(argv[2]));
    writer.setTitle(QStringLiteral("Quillbank Help"));
    writer.setCreator(QStringLiteral("Quillbank"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);

    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Sans Serif"), 11));
    document.setHtml(QString::fromUtf8(source.readAll()));
    QImage device(1, 1, QImage::Format_RGB32);
    paginate(document, device);
    keepCommandsWhole(document);
    keepHeadingsWithText(document);
    return printPages(document, writer) ? 0 : 1;
}
