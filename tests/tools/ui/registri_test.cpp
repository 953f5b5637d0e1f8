// The register view window draws its model and forwards scrolling and clicks.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTableWidget>

#include "core/language.h"
#include "comm/register_map.h"
#include "fbeditor/editor.h"
#include "support/sim_session.h"
#include "tools/ui/registri.h"

namespace {

TEST(RegistriWindow, ShowsTheRowsAndHandsAClickToTheEditor) {
    SimSession s;
    CaricaRisorse(*s.shell, 1);
    MappaRegistri(s.app, false);
    RegisterView view(s.app);
    Editor editor(s.app);
    view.comandi = [&editor](int reg, uint8_t type) { editor.registerClicked(reg, type); };
    Registri w(view);
    w.show();
    EXPECT_EQ(w.windowTitle(), "Registers Table");
    EXPECT_EQ(w.table()->horizontalHeaderItem(2)->text(), "Value");
    ASSERT_GT(w.table()->rowCount(), 0);
    EXPECT_EQ(w.table()->rowCount(), view.visibleRows());

    w.scrollBar()->setValue(40);
    EXPECT_EQ(view.firstRegister(), 40);
    EXPECT_EQ(w.table()->item(0, 0)->text(), "%R40");

    editor.Caricato = true;
    editor.Args[0].Label = "Register";
    editor.Args[0].IsRegister = -1;
    ASSERT_GT(w.table()->rowCount(), 1);
    emit w.table()->cellClicked(1, 0);
    EXPECT_EQ(editor.Args[0].Value, 41);
}

} // namespace
