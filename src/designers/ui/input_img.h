#pragma once
// Input_Img: the image table editor, a view over ImageEditor: the list of images, add from a PNG or
// BMP file, remove, and a preview of the selected bitmap.
#include "designers/ui/designer_form.h"

#include "designers/image_table.h"

class QLabel;
class QListWidget;
class QPushButton;
struct AppContext;

class Input_Img : public DesignerForm {
    Q_OBJECT
  public:
    explicit Input_Img(AppContext& ctx, QWidget* parent = nullptr);

    void SetRes();
    void refresh() override;
    void cmd_add_Click();
    void cmd_remove_Click();

    QListWidget* images() const { return lst_images; }
    QLabel* preview() const { return img_preview; }

  private:
    void showPreview();

    AppContext& ctx_;
    ImageEditor editor_;
    QListWidget* lst_images;
    QLabel *img_preview, *lbl_info;
    QPushButton *cmd_add, *cmd_remove;
};
