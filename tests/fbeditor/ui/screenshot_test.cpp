// Pictures of the window for a few functions in both languages: every one must draw; with
// MELQO_SCREENSHOT_DIR set they are also saved there as PNG for a look.
#include <QPixmap>

#include "fbeditor/ui/input_tab.h"
#include "window_fixture.h"

namespace {

struct Shot {
    int function;
    const char* name;
};
constexpr Shot Shots[] = {
    {4, "add"}, {40, "read_holding"}, {30, "linearization"}, {21, "and_word"}, {13, "if_goto"}};

} // namespace

TEST_F(WindowTest, EveryFunctionDrawsInBothLanguages) {
    project.Tables.Count = 1;
    project.Tables.Tables[0].Name = "Tank";
    rung(1).Label = "START";
    const QString dir = qEnvironmentVariable("MELQO_SCREENSHOT_DIR");
    for (int language : {English, Italian}) {
        CaricaRisorse(shell, static_cast<uint8_t>(language));
        shell.Models[comm.CurrentDevice.ModelIndex].HasTrigger = -1; // show the trigger row too
        window->ApriRung(0, 2);
        window->SetRes();
        for (const Shot& s : Shots) {
            window->opt_Funzione_Click(s.function);
            QApplication::processEvents(); // lets the layout follow the new rows
            QPixmap picture = window->grab();
            ASSERT_FALSE(picture.isNull());
            EXPECT_GE(picture.width(), window->minimumSizeHint().width());
            if (!dir.isEmpty())
                picture.save(
                    QString("%1/comandi_%2_%3.png").arg(dir, s.name, language == English ? "en" : "it"));
        }
    }
}
