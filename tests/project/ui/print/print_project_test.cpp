// The listing drawn on a real printer object writing a PDF file (internal edition only: the standard
// edition is built without printing).
#include <gtest/gtest.h>

#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>

#include "app_context_fixture.h"
#include "project/project_fixture.h"
#include "project/ui/print_project.h"

namespace {

class PrinterOutput : public ::testing::Test, public AppContextFixture {
  protected:
    QTemporaryDir dir;
    QString pdf() const { return dir.filePath("listing.pdf"); }
    std::unique_ptr<QPrinter> printer() {
        auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(pdf());
        p->setPageSize(QPageSize(QPageSize::A4));
        return p;
    }
};

} // namespace

TEST_F(PrinterOutput, ProjectListingBecomesAPdfOnPagesMeasuredInTwips) {
    auto p = printer();
    const PrintMetrics m = printerMetrics(*p);
    // A4 is 8.27 x 11.69 inches; the printable area is a little smaller.
    EXPECT_TRUE(m.W > 10000 && m.W <= 11906) << m.W;
    EXPECT_TRUE(m.H > 15000 && m.H <= 16838) << m.H;
    const int h10 = m.textHeight("x", 10, true), h8 = m.textHeight("x", 8, false);
    // An 8 point line is at least its 160 twips of type, give or take leading.
    EXPECT_TRUE(150 < h8 && h8 < h10 && h10 < 400) << h8 << " " << h10;

    project.ProjectPath = "/tmp/Boiler";
    ProgramSection& s = project.Program.Sections[0];
    s.RungCount = 40;
    for (int i = 1; i <= s.RungCount; ++i) {
        s.Rungs[static_cast<size_t>(i)].Label = "L" + std::to_string(i);
        s.Rungs[static_cast<size_t>(i)].Description = "Rung " + std::to_string(i);
    }
    s.Rungs[2] = readHoldingRung();
    comm.Registers[30] = {"%R30", "Temp", 0, 4, 0, 0};
    ASSERT_TRUE(printProject(ctx, *p));
    QFile f(pdf());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    // 40 rungs of six lines are about 240 lines: four or five pages at some 75 lines a page.
    const int pages = static_cast<int>(f.readAll().count("/Type /Page\n"));
    if (const QByteArray shots = qgetenv("MELQO_SHOTS"); !shots.isEmpty())
        QFile::copy(pdf(), QString::fromLocal8Bit(shots) + "/listing.pdf");
    EXPECT_TRUE(pages >= 3 && pages <= 6) << pages;

    // A printer that cannot start ends the job, and the user is told.
    p = printer();
    p->setOutputFileName("/nonexistent-dir/listing.pdf");
    EXPECT_FALSE(printProjectOrTell(ctx, *p));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown[0].starts_with("The project could not be printed")) << dialogs.shown[0];
}
