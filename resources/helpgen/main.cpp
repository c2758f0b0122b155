// Renders the help guide's HTML source into the PDF that the app embeds.
#include <QFile>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

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
    // QTextDocument::print() adds margins of its own (2 cm).
    writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);

    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Sans Serif"), 11));
    document.setHtml(QString::fromUtf8(source.readAll()));
    document.print(&writer);
    return 0;
}
