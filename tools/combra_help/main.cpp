// Renders the Combra help source (HTML) into the PDF that ships beside the program.
// Runs at build time without a display: the offscreen platform is forced.
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: combra_help_builder SOURCE.html OUTPUT.pdf\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const QString html = QString::fromUtf8(source.readAll());

    const QString outPath = QString::fromLocal8Bit(argv[2]);
    QPdfWriter writer(outPath);
    writer.setTitle(QStringLiteral("Combra Help"));
    writer.setCreator(QStringLiteral("Combra"));
    writer.setResolution(300);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter));

    QTextDocument doc;
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPointSizeF(11);
    doc.setDefaultFont(font);
    doc.setHtml(html);
    doc.print(&writer);

    QFile check(outPath);
    if (!check.exists() || check.size() == 0) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
