// The designer windows store what is typed into them and show the stored value again after a refusal;
// the image window reads a picture file into the table.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include "app_context_fixture.h"
#include "designers/ui/frm_display.h"
#include "designers/ui/frm_scheduler.h"
#include "designers/ui/input_img.h"
#include "project/ui/frm_variabili.h"

namespace {

void type(FieldEditor& e, const QString& text) {
    auto* line = qobject_cast<QLineEdit*>(e.editor());
    line->setText(text);
    emit line->editingFinished();
}

class DesignerWindows : public ::testing::Test, protected AppContextFixture {
  protected:
    DesignerWindows() : AppContextFixture(0) {}

    // Adds the picture file holding bytes through the images window, as the user would.
    void addPicture(const std::string& name, const std::string& bytes) {
        file = (std::filesystem::temp_directory_path() / name).string();
        std::ofstream(file, std::ios::binary) << bytes;
        Input_Img window(ctx);
        dialogs.files.push_back(file);
        window.cmd_add_Click();
        std::filesystem::remove(file);
    }
    std::string file;
};

} // namespace

TEST_F(DesignerWindows, TypedFieldsAreStoredOrRefusedAndShownAgain) {
    project.Pages.Count = 1;
    frm_display::Form display(ctx);
    display.cmd_add_Click();
    struct Case {
        int field;
        QString typed, shown;
        bool refused;
    };
    for (const Case& c : {Case{1, "12", "12", false}, Case{1, "300", "12", true}, Case{6, "Tank,1", "", true},
                          Case{11, " 2.5 ", "2.5", false}}) {
        dialogs.shown.clear();
        type(display.field(c.field), c.typed);
        EXPECT_EQ(qobject_cast<QLineEdit*>(display.field(c.field).editor())->text(), c.shown)
            << c.typed.toStdString();
        EXPECT_EQ(dialogs.shown.size(), c.refused ? 1u : 0u) << c.typed.toStdString();
    }
    const DisplayObject& o = project.Pages.Pages[0].Objects[1];
    EXPECT_EQ(std::tuple(o.X, o.Maximum, project.ProjectModified), std::tuple(12, 2.5, -1));

    frm_scheduler::Form scheduler(ctx, nullptr);
    scheduler.cmd_add_Click();
    qobject_cast<QCheckBox*>(scheduler.field(int(SchedulerDesigner::fields().size()) - 3).editor())->click();
    EXPECT_EQ(std::tuple(project.Tasks.Count, project.Tasks.Tasks[1].EnableFlag), std::tuple(1, -1));
}

// "Set Formats" waits, events running, on the variables window; after its OK the list shows the edits.
TEST_F(DesignerWindows, SetFormatsListsTheVariablesAsTheVariablesWindowLeftThem) {
    project.Variables.Count = 1;
    project.Variables.Variables[0] = {30, 0, "%+5.0f", "Var0", 30, 0, 1, 0, "Var0"};
    std::unique_ptr<frm_variabili> variables;
    frm_scheduler::Form scheduler(ctx, [&] {
        auto handOver = std::make_shared<VarPickerHandOver>(VarPickerHandOver{-1, -1});
        variables = std::make_unique<frm_variabili>(ctx, handOver);
        return handOver;
    });
    pump.onEvents = [&] { // the user, while the scheduler waits
        variables->list()->setCurrentItem(variables->list()->topLevelItem(0));
        variables->findChild<QLineEdit*>("txt_nomeCampo")->setText("Flow l/s");
        variables->findChild<QPushButton*>("cmd_RegistriWEB0")->click();
        variables->findChild<QPushButton*>("cmd_ok")->click();
    };
    scheduler.findChild<QPushButton*>("Command2")->click();
    EXPECT_EQ(scheduler.variables()->item(0)->text(), "0: Var0 (Flow l/s)");
}

TEST_F(DesignerWindows, APictureFileBecomesAnImageWithItsPreview) {
    std::string file = (std::filesystem::temp_directory_path() / "melqo_designer_picture.png").string();
    QImage picture(9, 2, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setPixel(0, 0, qRgb(0, 0, 0));
    picture.setPixel(8, 1, qRgb(90, 90, 90));
    ASSERT_TRUE(picture.save(QString::fromStdString(file)));
    Input_Img window(ctx);
    dialogs.files.push_back(file);
    window.cmd_add_Click();
    std::filesystem::remove(file);
    ASSERT_EQ(project.Images.Count, 1);
    const DisplayImage& im = project.Images.Images[0];
    EXPECT_EQ(im.Name, "melqo_designer_picture");
    ASSERT_EQ(im.ByteCount, 6);
    EXPECT_EQ(std::vector<uint8_t>(im.Bitmap.begin(), im.Bitmap.begin() + 6),
              (std::vector<uint8_t>{9, 2, 0x80, 0x00, 0x00, 0x80}));
    EXPECT_EQ(window.images()->count(), 1);
    EXPECT_FALSE(window.preview()->pixmap().isNull());
}

// A small file that declares a huge picture, or a part larger than the file, is refused without decoding.
TEST_F(DesignerWindows, APictureIsRefusedByWhatItDeclaresBeforeItIsDecoded) {
    struct Case {
        const char* name;
        std::string png, told; // told: the message after the file's path (empty: the whole message below)
    };
    const Case cases[] = {
        // The signature, the header chunk of a 40000 x 40000 picture (one bit per pixel), an empty data chunk.
        {"melqo_designer_huge.png",
         std::string("\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\x00\x00\x9c\x40\x00\x00\x9c\x40\x01\x00\x00\x00\x00"
                     "\x79\x77\x33\xa8\x00\x00\x00\x00IDAT\x35\xaf\x06\x1e",
                     45),
         ""},
        // The signature, the header chunk of a 1 x 1 picture and a text chunk that declares 2^31 - 1 bytes.
        {"melqo_designer_chunk.png",
         std::string("\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\x00\x00\x00\x01\x00\x00\x00\x01\x01\x00\x00\x00\x00"
                     "\x37\x6e\xf9\x24\x7f\xff\xff\xfftEXtdate\x00",
                     46),
         ": a part of the file declares more bytes than it holds"},
    };
    for (const Case& c : cases) {
        addPicture(c.name, c.png);
        EXPECT_EQ(project.Images.Count, 0) << c.name;
        EXPECT_EQ(dialogs.shown.back(), c.told.empty()
                                            ? "An image may be at most 255 pixels wide and 255 pixels high."
                                            : "The file cannot be read as a picture: " + file + c.told)
            << c.name;
    }
}
