// Display images placed downward from the top of the program area, never over the data area.
#include "compile_fixture.h"

class ImageFixture : public CompileFixture {
protected:
    ImageFixture() {
        useRow(DisplayRow);
        project.Pages.Count = 0;
        add(deviceRung(2, {1}));
    }
    DisplayImage& image(int bytes, uint8_t fill) {
        DisplayImage im;
        im.ByteCount = static_cast<int16_t>(bytes);
        std::fill_n(im.Bitmap.begin(), std::min<int>(bytes, 529), fill);
        project.Images.Images.push_back(im);
        project.Images.Count = static_cast<uint8_t>(project.Images.Images.size());
        return project.Images.Images.back();
    }
};

TEST_F(ImageFixture, ImagesStackDownFromTheTopOfTheProgramArea) {
    image(100, 1);
    image(50, 2);
    image(20, 3);
    EXPECT_EQ(compile(), 14);
    const auto& ims = project.Images.Images;
    EXPECT_EQ(ims[0].DeviceAddress, 5634 - 100);
    EXPECT_EQ(ims[1].DeviceAddress, 5634 - 150);
    EXPECT_EQ(ims[2].DeviceAddress, 5634 - 170);
    EXPECT_EQ(bytes(5634 - 170, 21), (std::vector<uint8_t>{3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 2}));
    EXPECT_EQ(CompileFixture::image()[5633], 1);
    EXPECT_EQ(CompileFixture::image()[5634], 0);
}

TEST_F(ImageFixture, ImagesAreNotPlacedOnModelsWithoutDisplay) {
    useRow(0);
    DisplayImage& im = image(100, 1);
    EXPECT_EQ(compile(), 14);
    EXPECT_EQ(im.DeviceAddress, 0);
    EXPECT_EQ(CompileFixture::image()[5633], 0);
}

TEST_F(ImageFixture, ImagesBelowTheTablePagesOutsideTheAreaFailTheCompile) {
    // With a table the top lies below the data start (14 + (-21 - 1) * 34 - 1): nothing may go there.
    project.Tables.Count = 1;
    project.Tables.Tables[0].PointCount = 5;
    project.Tables.Tables[0].StartPage = -21;
    image(10, 1);
    EXPECT_EQ(compile(), 0);
    EXPECT_EQ(report(), (std::vector<std::string>{"Error check : Error", "Impossible to compile"}));
}

TEST_F(ImageFixture, TablesWithoutImagesCompile) {
    project.Tables.Count = 1;
    project.Tables.Tables[0].StartPage = -21;
    EXPECT_EQ(compile(), 14);
}

TEST_F(ImageFixture, ImagesOutsideTheProgramAreaFailTheCompile) {
    image(530, 1); // more than one bitmap holds
    EXPECT_EQ(compile(), 0);
    project.Images.Images.clear();
    for (int i = 0; i < 11; ++i) image(529, 1); // 5819 bytes: below offset 0
    EXPECT_EQ(compile(), 0);
    EXPECT_EQ(report(), (std::vector<std::string>{"Error check : Error", "Impossible to compile"}));
}

TEST_F(ImageFixture, DataAreaReachingTheImagesFailsAfterTheSizeLine) {
    for (int i = 0; i < 9; ++i) image(529, 1);
    image(527, 1);                 // lowest image byte at 5634 - 5288 = 346
    add(operation(20, 0, 250));    // data from 34
    add(operation(20, 0, 66));     // ends at 350, over the images
    EXPECT_EQ(compile(), 0);
    EXPECT_EQ(report(), (std::vector<std::string>{"Compiling", "Error check : OK", "Resource usage :",
                                                  "  350 / 5634 Bytes (6%)", "Error check : Error",
                                                  "Impossible to compile"}));
    project.Program.Sections[0].Rungs[3].DataSize = 62; // ends right below the images
    EXPECT_EQ(compile(), 346);
}
