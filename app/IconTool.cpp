// Draws the program's icon for installation, at build time: quellin_icons DIR ID SIZE... writes
// DIR/SIZExSIZE/apps/ID.png for each size and DIR/scalable/apps/ID.svg, the 32-pixel drawing as
// one square per pixel, so that every size shows the same pixels the window's icon shows.

#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>
#include <fstream>
#include <string>

#include "ui/widgets/PixelArt.h"

namespace {

// The picture as SVG: each run of same-coloured pixels in a row is one rectangle, drawn without
// smoothing so that the pixels stay sharp at any size.
std::string PixelsAsSvg(const QImage& picture) {
    const int w = picture.width();
    const int h = picture.height();
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      std::to_string(w) + "\" height=\"" + std::to_string(h) + "\" viewBox=\"0 0 " +
                      std::to_string(w) + " " + std::to_string(h) + "\" shape-rendering=\"crispEdges\">\n";
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w;) {
            const QRgb pixel = picture.pixel(x, y);
            int end = x + 1;
            while (end < w && picture.pixel(end, y) == pixel) ++end;
            if (qAlpha(pixel) != 0) {
                char colour[8];
                std::snprintf(colour, sizeof colour, "#%02x%02x%02x", qRed(pixel), qGreen(pixel),
                              qBlue(pixel));
                svg += "<rect x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" width=\"" +
                       std::to_string(end - x) + "\" height=\"1\" fill=\"" + colour + "\"";
                if (qAlpha(pixel) != 255)
                    svg += " fill-opacity=\"" + std::to_string(qAlpha(pixel) / 255.0) + "\"";
                svg += "/>\n";
            }
            x = end;
        }
    }
    return svg + "</svg>\n";
}

bool WriteText(const QString& path, const std::string& text) {
    std::ofstream file(path.toStdString(), std::ios::binary | std::ios::trunc);
    file << text;
    return static_cast<bool>(file.flush());
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: quellin_icons DIR ID SIZE...\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    const QString id = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        const QImage icon = AppIcon(size);
        if (size < 16 || !root.mkpath(folder) || icon.size() != QSize(size, size) ||
            !icon.save(root.filePath(folder + "/" + id + ".png"), "PNG")) {
            std::fprintf(stderr, "quellin_icons: cannot write the %s pixel icon\n", argv[i]);
            return 1;
        }
    }
    if (!root.mkpath(QStringLiteral("scalable/apps")) ||
        !WriteText(root.filePath("scalable/apps/" + id + ".svg"), PixelsAsSvg(AppIcon(32)))) {
        std::fprintf(stderr, "quellin_icons: cannot write the scalable icon\n");
        return 1;
    }
    return 0;
}
