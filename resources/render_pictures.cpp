// Draws the pictures once, when the program is built, at the sizes the program shows them, so that
// start-up copies pixels instead of reading and drawing every drawing. Writes a C++ source with the
// premultiplied ARGB pixels of each picture and size:
//     render_pictures <output.cpp> <drawing.svg>...
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) return 2;
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) return 1;
    std::fprintf(out, "// Made by render_pictures from the drawings in resources/pictures.\n"
                      "#include \"app/ui/rendered_pictures.h\"\n\nnamespace {\n");
    QStringList entries;
    for (int i = 2; i < argc; ++i) {
        const QString key = QFileInfo(QString::fromLocal8Bit(argv[i])).baseName();
        QSvgRenderer renderer(QString::fromLocal8Bit(argv[i]));
        if (!renderer.isValid()) return 1;
        const std::vector<int> sizes = key == "melqo" ? std::vector<int>{16, 32, 48} : std::vector<int>{16};
        for (int size : sizes) {
            QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            renderer.render(&painter);
            painter.end();
            const QString name = QString("p%1").arg(entries.size());
            std::fprintf(out, "const uint32_t %s[] = {", qPrintable(name));
            for (int y = 0; y < size; ++y) {
                const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
                for (int x = 0; x < size; ++x)
                    std::fprintf(out, "%s0x%08x", (x || y) ? "," : "", unsigned(row[x]));
            }
            std::fprintf(out, "};\n");
            entries << QString("{\"%1\", %2, %3}").arg(key).arg(size).arg(name);
        }
    }
    std::fprintf(out,
                 "} // namespace\n\nconst RenderedPicture RenderedPictures[] = {\n    %s};\n"
                 "const size_t RenderedPictureCount = %d;\n",
                 qPrintable(entries.join(",\n    ")), int(entries.size()));
    return std::fclose(out) == 0 ? 0 : 1;
}
