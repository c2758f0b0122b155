// Draws the toolbar's fallback icons, used where the desktop's icon theme has
// no matching icon: a document with an arrow (read), two circling arrows
// (check), a box with an arrow leaving it (save) and a table (export).
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

constexpr int iconSize = 64;
const QColor ink(QStringLiteral("#2b5797"));

QPen inkPen(qreal width)
{
    return QPen(ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void drawArrowHead(QPainter &p, QPointF tip, qreal angleDegrees)
{
    QPainterPath head;
    head.moveTo(0, 0);
    head.lineTo(-12, -8);
    head.lineTo(-12, 8);
    head.closeSubpath();
    p.save();
    p.translate(tip);
    p.rotate(angleDegrees);
    p.fillPath(head, ink);
    p.restore();
}

void drawReadData(QPainter &p)
{
    QPainterPath page;
    page.moveTo(12, 4);
    page.lineTo(40, 4);
    page.lineTo(52, 16);
    page.lineTo(52, 60);
    page.lineTo(12, 60);
    page.closeSubpath();
    p.fillPath(page, ink);
    p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(32, 50), QPointF(32, 28));
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({QPointF(22, 30), QPointF(32, 18), QPointF(42, 30)}));
}

void drawCheckAll(QPainter &p)
{
    p.setPen(inkPen(6));
    p.setBrush(Qt::NoBrush);
    const QRectF ring(10, 10, 44, 44);
    p.drawArc(ring, 20 * 16, 140 * 16);
    p.drawArc(ring, 200 * 16, 140 * 16);
    drawArrowHead(p, QPointF(14, 40), 100);
    drawArrowHead(p, QPointF(50, 24), -80);
}

void drawSaveJson(QPainter &p)
{
    p.setPen(inkPen(5));
    p.setBrush(Qt::NoBrush);
    QPainterPath box;
    box.moveTo(22, 26);
    box.lineTo(10, 26);
    box.lineTo(10, 58);
    box.lineTo(54, 58);
    box.lineTo(54, 26);
    box.lineTo(42, 26);
    p.drawPath(box);
    p.drawLine(QPointF(32, 44), QPointF(32, 12));
    drawArrowHead(p, QPointF(32, 4), -90);
}

void drawSaveCsv(QPainter &p)
{
    p.setPen(inkPen(4));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(6, 10, 52, 44), 4, 4);
    p.fillRect(QRectF(6, 10, 52, 12), ink);
    for (const qreal x : {23.0, 40.0})
        p.drawLine(QPointF(x, 10), QPointF(x, 54));
    for (const qreal y : {22.0, 38.0})
        p.drawLine(QPointF(6, y), QPointF(58, y));
}

bool writeIcon(const QDir &dir, const QString &name, void (*draw)(QPainter &))
{
    QImage image(iconSize, iconSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return image.save(dir.filePath(name + u".png"));
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillbank-icongen OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral(".")))
        return 1;
    const bool ok = writeIcon(dir, QStringLiteral("readdata"), drawReadData) &&
                    writeIcon(dir, QStringLiteral("checkcons"), drawCheckAll) &&
                    writeIcon(dir, QStringLiteral("savejson"), drawSaveJson) &&
                    writeIcon(dir, QStringLiteral("savecsv"), drawSaveCsv);
    return ok ? 0 : 1;
}
