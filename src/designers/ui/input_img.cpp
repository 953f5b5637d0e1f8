#include "designers/ui/input_img.h"

#include <algorithm>
#include <filesystem>

#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "core/app_context.h"
#include "designers/ui/designer_lists.h"
#include "designers/ui/field_editor.h"
#include "designers/ui/picture_file.h"

namespace {

constexpr int TextImages = 36;
constexpr int PreviewScale = 4; // controller pixels are small: the preview shows each one as a square
constexpr const char* PictureFilter = "Pictures (*.png;*.bmp)|*.png;*.bmp|(*.*)|*.*|";

QImage previewImage(const MonoPicture& p) {
    QImage image(p.width, p.height, QImage::Format_Mono);
    image.setColor(0, qRgb(255, 255, 255));
    image.setColor(1, qRgb(0, 0, 0));
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            image.setPixel(x, y, p.dark[size_t(y * p.width + x)] ? 1 : 0);
    return image;
}

} // namespace

Input_Img::Input_Img(AppContext& ctx, QWidget* parent)
    : DesignerForm(parent), ctx_(ctx), editor_(ctx.project.Images, ctx.project.ProjectModified, ctx.dialogs),
      lst_images(new QListWidget), img_preview(new QLabel), lbl_info(new QLabel),
      cmd_add(new QPushButton("Add...")), cmd_remove(new QPushButton("Remove")) {
    setObjectName("Input_Img");
    lst_images->setObjectName("lst_images");
    img_preview->setObjectName("img_preview");
    img_preview->setMinimumSize(240, 180);
    img_preview->setAlignment(Qt::AlignCenter);
    img_preview->setFrameShape(QFrame::Box);
    auto* right = new QVBoxLayout;
    right->addWidget(img_preview, 1);
    right->addWidget(lbl_info);
    auto* top = new QHBoxLayout;
    top->addWidget(lst_images, 1);
    top->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttonRow({cmd_add, cmd_remove}));
    connect(lst_images, &QListWidget::currentRowChanged, this, [this](int) { showPreview(); });
    connect(cmd_add, &QPushButton::clicked, this, [this] { cmd_add_Click(); });
    connect(cmd_remove, &QPushButton::clicked, this, [this] { cmd_remove_Click(); });
    resize(560, 340);
    SetRes();
    refresh();
}

void Input_Img::SetRes() {
    setWindowTitle(latin1Text(ctx_.shell.UiText[TextImages]));
}

void Input_Img::refresh() {
    int keep = std::max(0, lst_images->currentRow());
    {
        const QSignalBlocker block(lst_images);
        lst_images->clear();
        for (int i = 0; i < editor_.count(); ++i)
            lst_images->addItem(latin1Text(editor_.imageLine(i)));
        lst_images->setCurrentRow(std::min(keep, editor_.count() - 1));
    }
    showPreview();
}

void Input_Img::showPreview() {
    int i = lst_images->currentRow();
    cmd_remove->setEnabled(i >= 0);
    img_preview->clear();
    lbl_info->clear();
    if (i < 0 || i >= editor_.count()) return;
    MonoPicture p = bitmapPicture(editor_.image(i));
    if (p.width == 0) return;
    // Whole pixels, as large as the preview holds, at most PreviewScale.
    int scale = std::clamp(std::min(img_preview->width() / p.width, img_preview->height() / p.height), 1,
                           PreviewScale);
    img_preview->setPixmap(QPixmap::fromImage(previewImage(p).scaled(p.width * scale, p.height * scale)));
    lbl_info->setText(QString("%1 x %2").arg(p.width).arg(p.height));
}

void Input_Img::cmd_add_Click() {
    std::string path = ctx_.dialogs.openFile(PictureFilter);
    if (path.empty()) return;
    std::string reason;
    std::optional<MonoPicture> picture = readMonoPicture(path, &reason);
    if (!picture) {
        ctx_.dialogs.messageBox("The file cannot be read as a picture: " + path + ": " + reason,
                                MsgButtons::Ok, MsgIcon::Warning);
        return;
    }
    int i = editor_.addImage(std::filesystem::path(path).stem().string(), *picture);
    if (i < 0) return;
    refresh();
    lst_images->setCurrentRow(i);
}

void Input_Img::cmd_remove_Click() {
    int i = editor_.removeImage(lst_images->currentRow());
    refresh();
    lst_images->setCurrentRow(i);
}
