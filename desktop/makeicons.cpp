// Writes the program's icon for the desktop: PNGs at every hicolor size and a scalable SVG,
// all from the drawing that the window icon uses.
#include "about/artwork.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgGenerator>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fputs("usage: quillmark-icons OUTPUT_FOLDER ICON_NAME\n", stderr);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLocal8Bit(argv[2]);

    for (const int size : qm::applicationIconSizes()) {
        const QString folder = QStringLiteral("hicolor/%1x%1/apps").arg(size);
        const QString file = out.filePath(folder + u'/' + name + QStringLiteral(".png"));
        if (!out.mkpath(folder) || !qm::applicationIconImage(size).save(file, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }

    const QString folder = QStringLiteral("hicolor/scalable/apps");
    const QString file = out.filePath(folder + u'/' + name + QStringLiteral(".svg"));
    if (!out.mkpath(folder)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return 1;
    }
    QSvgGenerator svg;
    svg.setFileName(file);
    svg.setSize(QSize(256, 256));
    svg.setViewBox(QRect(0, 0, 256, 256));
    svg.setTitle(QStringLiteral("Quillmark"));
    svg.setDescription(QStringLiteral("A quill resting on a folder with a catalogue sheet"));
    QPainter painter;
    if (!painter.begin(&svg)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return 1;
    }
    qm::drawScalableIcon(painter, QRectF(0, 0, 256, 256));
    if (!painter.end())
        return 1;

    // The generator states its size in millimetres and a font on every group; an icon has
    // no text and is measured in pixels.
    QFile written(file);
    if (!written.open(QIODevice::ReadOnly))
        return 1;
    QString text = QString::fromUtf8(written.readAll());
    written.close();
    text.remove(
        QRegularExpression(QStringLiteral("\\s+font-(family|size|weight|style)=\"[^\"]*\"")));
    text.replace(QRegularExpression(QStringLiteral("<svg width=\"[^\"]*\" height=\"[^\"]*\"")),
                 QStringLiteral("<svg width=\"256\" height=\"256\""));
    if (!written.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || written.write(text.toUtf8()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return 1;
    }
    return 0;
}
