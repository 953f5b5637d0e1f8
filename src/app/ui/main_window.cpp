#include "app/ui/main_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QWindow>

#include "app/close_check.h"
#include "app/connect_sequence.h"
#include "app/menu_model.h"
#include "app/run_commands.h"
#include "app/shell_procedures.h"
#include "app/ui/about_box.h"
#include "app/ui/log_window.h"
#include "app/ui/project_navigator.h"
#include "app/ui/ui_texts.h"
#include "core/app_context.h"
#include "core/build_flags.h"
#include "core/busy_run.h"
#include "core/button_groups.h"
#include "core/toolbar_layout.h"
#include "core/web_page.h"
#include "designers/ui/frm_display.h"
#include "designers/ui/frm_scheduler.h"
#include "designers/ui/input_img.h"
#include "devconfig/config_window.h"
#include "devconfig/ui/frm_config2.h"
#include "discovery/ui/discovery_windows.h"
#include "discovery/ui/frm_search.h"
#include "factorytest/calibration_bench/calibration_bench.h"
#include "factorytest/ui/coll7593.h"
#include "factorytest/ui/conf_jxv4174.h"
#include "factorytest/ui/conf_jxv7593.h"
#include "factorytest/ui/frm_coll_nwac.h"
#include "factorytest/ui/frm_collaudo.h"
#include "factorytest/ui/frm_q7r218.h"
#include "fbeditor/ui/comandi.h"
#include "fbeditor/ui/input_tab.h"
#include "platform/app_data_folder.h"
#include "platform/input_hold.h"
#include "platform/qt_link_port.h"
#include "platform/window_fit.h"
#include "program/ui/frm_download.h"
#include "program/ui/program_commands.h"
#include "project/ui/frm_variabili.h"
#ifdef MELQO_BUILD_INTERNAL
#include "project/ui/print_project.h"
#endif
#include "tools/ui/frm_dialoga.h"
#include "tools/ui/frm_eeprom.h"
#include "tools/ui/frm_watch.h"
#include "tools/ui/multi_sock_window.h"
#include "tools/ui/registri.h"

namespace {

constexpr int LogWidthTwips = 3490;
constexpr int NavigatorWidthTwips = 3080;
constexpr int PanelCount = 6;

QString qs(std::string_view s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// The hourglass while a long command runs; the boxes it shows lift it while they are open.
template <class F> auto withBusyPointer(F&& command) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct Restore {
        ~Restore() { QApplication::restoreOverrideCursor(); }
    } restore;
    return command();
}

} // namespace

MainWindow::MainWindow(AppContext& ctx, const ShellProcedures& procs, QWidget* parent)
    : QMainWindow(parent), ctx_(ctx), procs_(procs), mdi_(new QMdiArea(this)),
      router_(ctx.comm.PollStop, [&ctx] { AggiornaStato(ctx); }),
      languages_([&procs](uint8_t language) { callIf(procs.CaricaRisorse, language); }), registers_(ctx),
      animation_(ctx), debug_(ctx, animation_, [this] { registers_.AggiornaRegistri_new(true); }) {
    setObjectName("Principale");
    setCentralWidget(mdi_);
    discovery_ = std::make_unique<DiscoveryWindows>(ctx, mdi_);
    buildMenus();
    buildStatusBar();
    ctx_.shell.Toolbar.onChanged = [this] {
        syncToolbar();
        syncMenus();
        syncMenuEnabling();
    };
    ctx_.shell.status.onChanged = [this](int panel) {
        if (QLabel* l = panels_.value(panel))
            l->setText(fromLatin1(ctx_.shell.status.Text[static_cast<size_t>(panel)]));
    };
    // A key clicked while a command runs acts after it only if that command left its key on.
    router_.checkTurnWith([this](std::string_view key) { return OnInItsTurn(ctx_, key); });
    // The device procedures refresh the toolbar and the status bar through these.
    ctx_.shell.status.onAggiornaStato = [&ctx] { AggiornaStato(ctx); };
    ctx_.shell.status.onAbilitaPulsanti = [&ctx](const std::string& group, bool enable) {
        AbilitaPulsanti(ctx, group, enable);
    };
    // The main window is the first window loaded; its captions come first on a language switch.
    languages_.windowLoaded(this, [this] { SetRes(); });
    registers_.load = [this] { loadRegisters(); };
    // The benches' instruments may sit on other devices than COMn's own (a simulated bench, an adapter):
    // MELQO_BENCH_PORTS="3=/dev/pts/4,7=/dev/pts/6"; MELQO_BENCH_CALIBRATOR names the calibrator's COM.
    benchPorts_.Devices = ParseComDevices(qEnvironmentVariable("MELQO_BENCH_PORTS").toStdString());
    benchPorts_.Seriale_calib.Number = qEnvironmentVariableIntValue("MELQO_BENCH_CALIBRATOR");
}

MainWindow::~MainWindow() {
    // Their windows show the benches and the windows' state, which go with this window.
    delete coll7593_;
    delete collaudo_;
    delete collNwac_;
    delete confJXV7593_;
    delete confJXV4174_;
    delete q7r218_;
    // The dialogs leave the language switch when they go, so they go before it does.
    delete settings_;
    delete about_;
    delete variables_;
    delete tables_;
    delete configSub_;
    delete display_;
    delete scheduler_;
    delete images_;
    delete searchSub_;
    delete registriSub_; // its window draws the register view, which goes with this window
    for (const auto& sub : std::as_const(tools_)) {
        if (sub) languages_.windowUnloaded(sub->widget());
        delete sub.data();
    }
    if (procs_.Program) procs_.Program->setLanguages(nullptr); // its windows go with the MDI area, later
    ctx_.shell.Toolbar.onChanged = nullptr;
    ctx_.shell.status.onChanged = nullptr;
    ctx_.shell.status.onAggiornaStato = nullptr;
    ctx_.shell.status.onAbilitaPulsanti = nullptr;
}

void MainWindow::CaricaImmagini() {
    ImageList1.CaricaImmagini();
}

void MainWindow::ShowInternalMenus(bool visible) {
    // An item this edition is built without (printing in the standard edition) stays hidden.
    for (const char* name : {"mnu_collaudo", "mnu_Export", "mnu_print"})
        if (QAction* a = menuItems_.value(name))
            a->setVisible(visible && findMenu(name)->Shown != MenuShown::No);
}

void MainWindow::SetIcon() {
    setWindowIcon(applicationIcon());
}

void MainWindow::SetCaption(const std::string& caption) {
    programName_ = fromLatin1(caption);
    setWindowTitle(programName_);
}

void MainWindow::SetSizeTwips(int width, int height) {
    QSize size(twipsToPixels(width, logicalDpiX()), twipsToPixels(height, logicalDpiY()));
    // A screen smaller than the design size gets a window that fits it, title bar included.
    if (QScreen* s = screen()) {
        const QRect room = s->availableGeometry();
        const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight) + 8;
        size = fittedSize(size, room.size() - QSize(0, titleBar));
        move(room.topLeft());
    }
    resize(size);
}

void MainWindow::ApplyMenuCaptions(const std::vector<std::pair<std::string, std::string>>& captions) {
    for (const auto& [menu, caption] : captions)
        if (QAction* a = menuItems_.value(QString::fromStdString(menu))) a->setText(fromLatin1(caption));
}

void MainWindow::CreaToolBar() {
    delete Toolbar1;
    buttons_.clear();
    Toolbar1 = addToolBar("Toolbar1");
    Toolbar1->setObjectName("Toolbar1");
    Toolbar1->setMovable(false);
    Toolbar1->setIconSize(QSize(16, 16));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const auto& e : ToolbarLayout) {
        if (e.Key.empty()) {
            Toolbar1->addSeparator();
            continue;
        }
        QString key = qs(e.Key);
        QAction* a = Toolbar1->addAction(ImageList1.picture(qs(e.Picture)), qs(e.Tooltip));
        a->setObjectName(key);
        a->setToolTip(qs(e.Tooltip)); // the tooltip only: the status bar keeps its panels
        connect(a, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
        buttons_.insert(key, a);
    }
    syncToolbar();
}

void MainWindow::LoadLogWindow(int heightTwips) {
    log_ = new LogWindow(ctx_.shell.log);
    logSub_ = mdi_->addSubWindow(log_);
    logSub_->setObjectName("Log");
    keepOnClose(logSub_); // closing only hides it; it lives for the whole run
    logSub_->setWindowIcon(ImageList1.picture("view_log"));
    // Opens at the left, as wide as a date header and a connection line need (measured in the window's
    // own font, whose glyphs are loaded already); the user may make it wider for long lines, and it
    // keeps what he chose.
    constexpr int ReadableChars = 46;
    const int readable = fontMetrics().horizontalAdvance(QString(ReadableChars, u'0'));
    logSub_->setGeometry(0, 0, std::max(twipsToPixels(LogWidthTwips, logicalDpiX()), readable),
                         twipsToPixels(heightTwips, logicalDpiY()));
    logSub_->show();
}

void MainWindow::buildMenus() {
    for (const auto& m : MenuTree) {
        const QString name = qs(m.Name);
        const bool hasChildren = std::any_of(MenuTree.begin(), MenuTree.end(),
                                             [&](const MenuItem& c) { return c.Parent == m.Name; });
        QMenu* parent = m.Parent.empty() ? nullptr : menus_.value(qs(m.Parent));
        QAction* action = nullptr;
        if (hasChildren) {
            auto* menu = new QMenu(qs(m.Caption), this);
            menu->setObjectName(name);
            menus_.insert(name, menu);
            if (parent)
                parent->addMenu(menu);
            else if (!isPopupOnly(m))
                menuBar()->addMenu(menu);
            action = menu->menuAction();
        } else if (::isSeparator(m)) {
            action = parent->addSeparator();
        } else {
            action = parent->addAction(qs(m.Caption));
            connect(action, &QAction::triggered, this, [this, name] {
                const auto run = [self = QPointer<MainWindow>(this), name] {
                    if (!self) return;
                    if (auto h = self->menuHandlers_.value(name)) h();
                    self->refreshDesigners();
                };
                // Exit closes at once. The rest acts after the input held while a request waits, and,
                // like a key, once a running command (a connect) has returned, never between its requests.
                if (name == "mnu_exit") return run();
                const auto idle = [self = QPointer<MainWindow>(this), run] {
                    if (self) self->router_.whenIdle(run);
                };
                if (inputHold_ && inputHold_->holdsInput())
                    inputHold_->afterHeldInput(idle);
                else
                    idle();
            });
        }
        action->setObjectName(name);
        action->setVisible(menuShown(m, ctx_.shell.Flags.Internal != 0, true, true));
        menuItems_.insert(name, action);
    }
}

void MainWindow::buildStatusBar() {
    for (int p = 1; p <= PanelCount; ++p) {
        auto* l = new QLabel;
        l->setObjectName(QString("Panel%1").arg(p));
        l->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        l->setMinimumWidth(60);
        // Permanent: a status tip shown in the bar never hides the panels.
        statusBar()->addPermanentWidget(l, 1);
        panels_.insert(p, l);
    }
    statusBar()->setSizeGripEnabled(true);
}

void MainWindow::addMenuHandler(const std::string& name, std::function<void()> handler) {
    // An item that would change the project, the link, the settings or the controller is refused while a
    // run is under way, also when it comes as input held during one of the run's requests.
    if (!KeptDuringRun(name))
        handler = [this, name, command = std::move(handler)] {
            if (!RefusedDuringRun(ctx_, CommandCaption(name))) command();
        };
    menuHandlers_.insert(QString::fromStdString(name), std::move(handler));
}

void MainWindow::bindCommands() {
    const ShellProcedures& p = procs_;
    AppContext& ctx = ctx_;
    auto add = [this](const char* key, bool available, std::function<void()> command) {
        if (available) router_.add(key, [command] { return command(), true; });
    };
    const bool newProject = p.NuovoProgramma && p.NuovoProgetto;
    // A new project only when the old one was closed: a save that did not happen keeps it.
    // A closed or new project leaves no old path in the caption.
    const auto newCommand = [this, &p] {
        if (!p.NuovoProgramma()) return;
        p.NuovoProgetto();
        setWindowTitle(programName_);
    };
    add("proj_new", newProject, newCommand);
    const auto load = [this, &p] { projectCommand([&p] { p.CaricaProgetto(); }); };
    const auto save = [this, &p](bool askName) {
        projectCommand([&p, askName] { p.SalvaProgetto(askName); });
    };
    add("proj_open", bool(p.CaricaProgetto), load);
    add("proj_save", bool(p.SalvaProgetto), [save] { save(true); });
    add("connect", p.Connetti && p.Disconnetti, [&ctx, &p] { ConnectSequence(ctx, p); });
    // Set as Controller reconnects too: one command like the connect key's, which keys and menu items wait
    // for.
    add("mnu_SetAsController", true, [this] { searchWindow()->search().SetAsController(); });
    add("disconnect", bool(p.Disconnetti), [&p] { p.Disconnetti(); });
    add("download", true, [this] { showDownload(); });
    // A key that sends the controller several requests is one run: a tool window's request given back
    // between them is refused, not sent in the middle (keys and menu items wait for the key's return).
    const auto addRun = [&add, &ctx](const char* key, bool available, const char* run,
                                     std::function<void()> command) {
        add(key, available, [&ctx, run, command = std::move(command)] {
            const BusyRun busy(ctx, run);
            command();
        });
    };
    const bool mode = p.ImpostaModoDebug && p.LeggiStatoPLC;
    // The mode read sets DebugMode itself, and only from a mode byte it knows.
    addRun("debug", mode, "a mode change", [&p] {
        p.ImpostaModoDebug(true);
        p.LeggiStatoPLC();
    });
    addRun("release", mode, "a mode change", [&p] {
        p.ImpostaModoDebug(false);
        p.LeggiStatoPLC();
    });
    add("proj_comp", bool(p.CompilaProgramma), [&p] { withBusyPointer([&p] { p.CompilaProgramma(); }); });
    add("view_log", true, [this] { showLog(); });
    add("view_reg", true, [this] { showRegisters(false); });
    addRun("pause", true, "a halt", [this] { debug_.pause(); });
    addRun("stop", true, "a stop", [this] { debug_.stop(); });
    // The loops wait for PollStop; other keys may run from inside their waits to end them.
    router_.add(
        "run", [this] { return debug_.run(); }, CommandRouter::Kind::Loop);
    router_.add(
        "runBr", [this] { return debug_.runToBreak(); }, CommandRouter::Kind::Loop);
    router_.add(
        "step", [this] { return debug_.step(); }, CommandRouter::Kind::Loop);
    add("view_http", bool(p.OpenUrl), [this] { viewWebPage(); });
    if (p.Program) {
        ProgramCommands& program = *p.Program;
        program.setHost(mdi_);
        program.setLanguages(&languages_);
        program.useEditorWindow();
        program.setRungMenu([this] { menus_.value("mnu_FB")->popup(QCursor::pos()); });
        bindDebugViews(program);
        // A new project's program view goes beside the log window, the register window beside it.
        program.life.arrangeWindows = [this, &program] {
            QWidget* frame = program.frame();
            if (frame) frame->move(logSub_ ? logSub_->geometry().right() + 1 : 0, 0);
            if (auto* sub = qobject_cast<QMdiSubWindow*>(frame)) fitSubWindow(sub, sub->widget()->size());
            placeRegistersBeside(frame);
        };
        // A project closed or replaced takes the windows that edit its data with it; the scheduler
        // designer is created again on its next use.
        program.life.closeEditors = [this] {
            if (variables_) variables_->close();
            if (tables_) tables_->close();
            if (scheduler_) scheduler_->close();
        };
        program.life.redrawRegisters = [this] { registers_.AggiornaRegistri_new(false); };
        for (const auto& [key, command] : program.toolbarCommands())
            add(key.c_str(), true, command);
    }

    ctx_.shell.Toolbar.Unavailable.clear();
    for (const auto& e : ToolbarLayout)
        if (!e.Key.empty() && !router_.has(e.Key)) ctx_.shell.Toolbar.Unavailable.insert(std::string(e.Key));

    menuHandlers_.clear();
    if (newProject) addMenuHandler("mnu_new", newCommand);
    if (p.CaricaProgetto) addMenuHandler("mnu_openProj", load);
    if (p.NuovoProgramma)
        addMenuHandler("mnu_close", [this, &p] {
            if (p.NuovoProgramma()) setWindowTitle(programName_);
        });
    if (p.SalvaProgetto) {
        addMenuHandler("mnu_SaveProj", [save] { save(false); });
        addMenuHandler("mnu_saveAs", [save] { save(true); });
    }
    if (p.Esporta) addMenuHandler("mnu_Export", [&p] { p.Esporta(true, true); });
    addMenuHandler("mnu_exit", [this] { close(); });
    addMenuHandler("mnu_controller", [this] { openSettings(SettingsDialog::ConnectionPage); });
    addMenuHandler("mnu_workspace", [this] { openSettings(SettingsDialog::WorkspacePage); });
    addMenuHandler("mnu_viewProj", [this] { showNavigator(); });
    addMenuHandler("mnu_log", [this] { showLog(); });
    addMenuHandler("mnu_Registri", [this] { showRegisters(true); });
    for (const char* tool : {"mnu_Watch", "mnu_dialoga", "mnu_eeprom"})
        addMenuHandler(tool, [this, tool] { showTool(tool, true); });
    addMenuHandler("mnu_MultiSock", [this] { showTool("mnu_MultiSock", false); });
    addMenuHandler("mnu_About", [this] { showAbout(); });
    addMenuHandler("mnu_Format", [this] { showVariables(); });
    addMenuHandler("mnu_Tables", [this] { showTables(); });
    addMenuHandler("mnu_display", [this] { showDisplay(); });
    addMenuHandler("mnu_scheduler", [this] { loadScheduler(); });
    addMenuHandler("mnu_images", [this] { showImages(); });
    addMenuHandler("mnu_7403", [this] { showConfig(true); });
    addMenuHandler("mnu_config2", [this] { showConfig(false); });
    addMenuHandler("mnu_mac", [this] { discovery_->showMacRegister(inputHold_); });
#ifdef MELQO_BUILD_INTERNAL // printing and the FTP listing are built into the internal edition only
    addMenuHandler("mnu_print", [this] { StampaProgetto(ctx_, this); });
    addMenuHandler("mnu_FTP", [this] { discovery_->showFtp(); });
#endif
    addMenuHandler("mnu_coll_7593", [this] { showColl7593(); });
    addMenuHandler("mnu_config_7593", [this] { showConfJXV7593(); });
    addMenuHandler("mnu_coll_4174", [this] { showConfJXV4174(); });
    addMenuHandler("mnu_collQ7R218", [this] { showQ7R218(); });
    addMenuHandler("mnu_coll", [this] { showCollaudo(); });
    addMenuHandler("mnu_coll_NWAC", [this] { showCollNwac(); });
    addMenuHandler("mnu_search", [this] { showSearch(); });
    addMenuHandler("mnu_SetAsController", [this] { router_.press("mnu_SetAsController"); });
    addMenuHandler("mnu_ViewHomePage", [this] { searchWindow()->search().Elenco_DblClick(); });
    addMenuHandler("mnu_SetIP", [this] { searchWindow()->search().SetIP(); });
    addMenuHandler("mnu_CopyIP", [this] { searchWindow()->search().CopyIP(); });
    addMenuHandler("mnu_CopyMAC", [this] { searchWindow()->search().CopyMAC(); });
    addMenuHandler("mnu_SubNodes", [this] { searchWindow()->search().SearchSubNodes(); });
    if (p.Program)
        for (const auto& [name, command] : p.Program->menuCommands())
            addMenuHandler(name, command);

    syncMenuEnabling();
    syncToolbar();
}

void MainWindow::SetRes() {
    for (const auto& m : MenuTree)
        if (m.TextKey >= 0)
            menuItems_.value(qs(m.Name))->setText(fromLatin1(menuCaption(m, ctx_.shell.UiText)));
}

void MainWindow::Toolbar1_ButtonClick(const QString& key, CommandRouter::Click click) {
    const std::string command = key.toStdString();
    if (refusingRun() && !KeptDuringRun(command) && RefusedDuringRun(ctx_, CommandCaption(command))) return;
    router_.press(command, click);
    refreshDesigners();
}

// A command may have opened, closed or started a project: the open designers list it again.
void MainWindow::refreshDesigners() {
    for (QMdiSubWindow* sub : {display_.data(), scheduler_.data(), images_.data()})
        if (sub) static_cast<DesignerForm*>(sub->widget())->refresh();
}

void MainWindow::projectCommand(const std::function<void()>& command) {
    withBusyPointer(command);
    // The caption names the project saved or loaded.
    if (!ctx_.project.ProjectPath.empty()) setWindowTitle(fromLatin1(ctx_.project.ProjectPath));
}

bool MainWindow::longOperationRunning() const {
    auto* download = qobject_cast<frm_Download*>(download_.data());
    return download && download->running();
}

const char* MainWindow::refusingRun() const {
    return router_.commandRunning() ? nullptr : ctx_.comm.RunUnderWay;
}

void MainWindow::syncToolbar() {
    const ToolbarState& t = ctx_.shell.Toolbar;
    const char* run = refusingRun();
    for (auto it = buttons_.begin(); it != buttons_.end(); ++it) {
        std::string key = it.key().toStdString();
        it.value()->setEnabled(t.enabled(key) && (!run || KeptDuringRun(key)));
        it.value()->setVisible(t.visible(key));
    }
    // A disabled download key says what it waits for.
    if (QAction* download = buttons_.value("download")) {
        const QString why =
            run ? QString("%1 is under way").arg(run) : "needs a connected controller in Debug mode";
        download->setToolTip(download->isEnabled() ? "Download" : "Download (" + why + ")");
    }
}

void MainWindow::syncMenuEnabling() {
    const char* run = refusingRun();
    for (const auto& m : MenuTree) {
        const QString name = qs(m.Name);
        if (!menus_.contains(name) && !::isSeparator(m))
            menuItems_.value(name)->setEnabled(menuHandlers_.contains(name) &&
                                               (!run || KeptDuringRun(m.Name)));
    }
}

void MainWindow::syncMenus() {
    const ToolbarState& t = ctx_.shell.Toolbar;
    menuItems_.value("mnu_program")->setVisible(ctx_.shell.Flags.Internal || t.ProgramMenuShown);
    menuItems_.value("mnu_display")->setVisible(ctx_.shell.Flags.Internal || t.DisplayMenuShown);
}

void MainWindow::viewWebPage() {
    const std::string& ip = ctx_.comm.CurrentDevice.IpAddress;
    if (auto url = webPageUrl(ip))
        procs_.OpenUrl(*url);
    else
        ctx_.dialogs.messageBox("Invalid IP address: " + ip, MsgButtons::Ok, MsgIcon::Warning,
                                programName_.toStdString());
}

SettingsDialog* MainWindow::openSettings(SettingsDialog::Page page) {
    const char* item = page == SettingsDialog::ConnectionPage ? "mnu_controller" : "mnu_workspace";
    if (RefusedDuringRun(ctx_, CommandCaption(item))) return nullptr;
    if (!settings_) settings_ = new SettingsDialog(ctx_, procs_, languages_, ImageList1, this);
    settings_->showPage(page);
    settings_->show();
    settings_->raise();
    settings_->activateWindow();
    return settings_;
}

AboutBox* MainWindow::showAbout() {
    if (!about_) about_ = new AboutBox(ctx_, programName_, languages_, this);
    about_->show();
    about_->raise();
    return about_;
}

void MainWindow::showLog() {
    if (!logSub_) return; // start-up did not get as far as loading it
    logSub_->show();
    logSub_->raise();
    mdi_->setActiveSubWindow(logSub_);
}

void MainWindow::showNavigator() {
    if (!navigator_) {
        auto openProgram = [this] {
            if (procs_.Program) procs_.Program->showProgramFrom(0);
        };
        auto* tree =
            new ProjectNavigator([this] { openSettings(SettingsDialog::ConnectionPage); }, openProgram);
        navigator_ = mdi_->addSubWindow(tree);
        navigator_->setWindowIcon(ImageList1.picture("progetto"));
        int width = twipsToPixels(NavigatorWidthTwips, logicalDpiY());
        fitSubWindow(navigator_, {width, tree->sizeHint().height()});
    }
    navigator_->show();
    navigator_->raise();
}

void MainWindow::bindDebugViews(ProgramCommands& program) {
    ProgramView& view = program.view;
    DebugAnimationView& v = animation_.view;
    v.load = [&view] {
        if (!view.Caricato) view.load();
    };
    v.colourRung = [&view](int element, uint32_t colour) {
        ViewRow* row = element >= 0 && element < static_cast<int>(view.rows().Rows.size())
                           ? &view.rows().Rows[static_cast<size_t>(element)]
                           : nullptr;
        if (row) row->NumberColour = colour, view.changed();
        return row != nullptr;
    };
    v.rowInView = [&view](int element) { return view.rowInView(element); };
    v.scrollTo = [&view](int first) { view.setScroll(first); };
    // An edited rung's registers are read when the link is free (a controller, no loop, no request waiting,
    // no run between its requests); else the view is redrawn from the table.
    program.refreshRegisters = [this] { registers_.refresh(); };
    // A click goes to the editor only when it is open: it never creates one.
    registers_.comandi = [this](int reg, uint8_t valueType) {
        if (auto* editor = mdi_->findChild<comandi*>()) editor->registerClicked(reg, valueType);
    };
}

void MainWindow::loadRegisters() {
    if (registriSub_) return;
    auto* window = new Registri(registers_);
    registriSub_ = addFittedSubWindow(mdi_, window);
    registriSub_->setObjectName("Registri");
    keepOnClose(registriSub_); // closing only hides it, like the log
    registriSub_->setWindowIcon(ImageList1.picture("view_reg"));
    registriSub_->hide(); // loading does not show it; the key and the menu item do
    languages_.windowLoaded(window, [this] { registers_.SetRes(); });
}

void MainWindow::placeRegistersBeside(const QWidget* frame) {
    loadRegisters();
    // Its four columns in sight: right of the frame where the area has the room, else moved left over the
    // frame's right part as far as they need; an area narrower than the columns gets it at its whole width.
    fitSubWindow(registriSub_);
    registriSub_->move(frame ? frame->geometry().right() + 1 : 0, 0);
    keepInsideArea(registriSub_);
    registriSub_->raise(); // above the frame it may overlap, so that the columns are not hidden behind it
}

QMdiSubWindow* MainWindow::registersSubWindow() const {
    return registriSub_;
}

void MainWindow::showRegisters(bool toFront) {
    loadRegisters();
    if (registriSub_->isHidden()) keepInsideArea(registriSub_);
    registriSub_->show();
    if (toFront) {
        registriSub_->raise();
        mdi_->setActiveSubWindow(registriSub_);
    }
    registers_.refresh(); // live values of the rows now in view, when the controller is connected
}

QMdiSubWindow* MainWindow::showTool(const QString& menu, bool toFront) {
    QPointer<QMdiSubWindow>& sub = tools_[menu];
    const bool created = !sub;
    QSize size; // the window's own opening size, inside the frame
    if (created) {
        QWidget* w = nullptr;
        if (menu == "mnu_Watch") {
            auto* watch = new frm_watch(ctx_);
            languages_.windowLoaded(watch, [watch] { watch->SetRes(); });
            w = watch;
        } else if (menu == "mnu_dialoga") {
            w = new frm_dialoga(ctx_);
        } else if (menu == "mnu_eeprom") {
            w = new frm_eeprom(ctx_);
        } else {
            w = new MultiSockWindow(ctx_, inputHold_);
        }
        size = w->size();
        sub = mdi_->addSubWindow(w);
        sub->setObjectName(w->objectName());
        keepOnClose(sub); // closing hides it; its loops end on close
    }
    QMdiSubWindow* front = mdi_->activeSubWindow();
    sub->show();                          // which makes it the active one
    if (created) fitSubWindow(sub, size); // where the area had room, never past its edges
    if (toFront) {
        sub->raise();
        mdi_->setActiveSubWindow(sub);
    } else if (front && front != sub) {
        mdi_->setActiveSubWindow(front);
    }
    return sub;
}

frm_search* MainWindow::searchWindow() {
    if (search_) return search_;
    DiscoveryServices services;
    services.setClipboard = [](const std::string& text) {
        QGuiApplication::clipboard()->clear();
        QGuiApplication::clipboard()->setText(fromLatin1(text));
    };
    services.openUrl = procs_.OpenUrl;
    services.redrawRegisters = [this] {
        registers_.load();
        registers_.Redraw();
    };
    services.newTcpLink = [] { return std::make_unique<QtLinkPort>(); };
    services.runner = &programs_;
    services.openTerminal = [this](const std::string& host, uint16_t port) {
        discovery_->showTerminal(QString::fromStdString(host), port);
    };
    search_ = new frm_search(
        ctx_, services, [this](const QString& key) { return ImageList1.picture(key); },
        [this] { menus_.value("mnu_Cont")->popup(QCursor::pos()); });
    searchSub_ = addFittedSubWindow(mdi_, search_);
    keepOnClose(searchSub_); // closing only hides it; its search state stays
    searchSub_->hide();
    languages_.windowLoaded(search_, [this] { search_->SetRes(); });
    return search_;
}

frm_search* MainWindow::showSearch() {
    searchWindow();
    searchSub_->show();
    searchSub_->raise();
    mdi_->setActiveSubWindow(searchSub_);
    return search_;
}

void MainWindow::showDownload() {
    if (!download_) {
        auto* download = new frm_Download(ctx_, true, this);
        download->refreshRegisters = [this] { registers_.AggiornaRegistri_new(true); };
        download_ = download;
        fitDialog(download, this);
    }
    download_->show();
    download_->raise();
    download_->activateWindow();
}

QWidget* MainWindow::showBench(QPointer<QMdiSubWindow>& sub, const char* name, QSize size,
                               const std::function<QWidget*()>& make) {
    if (!sub) {
        sub = mdi_->addSubWindow(make());
        sub->setObjectName(name);
        keepOnClose(sub); // one window for the whole run
        // It opens over the log window, inside the main window.
        sub->setGeometry(0, 0, std::min(mdi_->width(), size.width()),
                         std::min(mdi_->height(), size.height()));
    }
    sub->show();
    sub->raise();
    mdi_->setActiveSubWindow(sub);
    return sub->widget();
}

QWidget* MainWindow::showColl7593() {
    // Wide enough for every result column.
    return showBench(coll7593_, "coll7593", {1066, 660}, [this] {
        calibrationBench_ = std::make_unique<CalibrationBench>(
            ctx_, benchPorts_, QCoreApplication::applicationDirPath().toStdString());
        return new Coll7593(*calibrationBench_);
    });
}

QWidget* MainWindow::showCollaudo() {
    return showBench(collaudo_, "frm_collaudo", {900, 560}, [this] {
        controllerBench_ = std::make_unique<ControllerBench>(ctx_, SerialeMult, SerialeAlim);
        controllerBench_->settings.Devices = benchPorts_.Devices;
        // The consumption limits live beside the program's settings file.
        if (const std::string folder = GetLocalAppDataFolder(); !folder.empty())
            controllerBench_->settings.LimitsFile = folder + "/" + BenchSettingsFileName;
        controllerBench_->loadConsumptionLimits();
        std::array<std::string, 4> models;
        std::copy_n(ctx_.shell.ModelNames.begin(), models.size(), models.begin());
        std::array<std::string, 12> months;
        std::copy_n(ctx_.shell.MonthNames.begin() + 1, months.size(), months.begin());
        return new frm_collaudo(*controllerBench_, models, months);
    });
}

QWidget* MainWindow::showCollNwac() {
    return showBench(collNwac_, "frm_coll_NWAC", {640, 430}, [this] {
        productBench_ = std::make_unique<EthernetProductBench>(ctx_, EUT_Socket, programs_);
        // The images sit in the program's firmware folder.
        const std::string folder = QCoreApplication::applicationDirPath().toStdString() + "/firmware/";
        productBench_->firmware = {folder + "fw_R47x_fact_101212.bin", folder + "fw_brand1.bin",
                                   folder + "fw_brand2.bin"};
        return new frm_coll_NWAC(*productBench_);
    });
}

QWidget* MainWindow::showConfJXV7593() {
    return showBench(confJXV7593_, "ConfJXV7593", {1180, 640}, [this] {
        analogConfig_ = std::make_unique<AnalogConfig>(ctx_);
        return new ConfJXV7593(*analogConfig_);
    });
}

QWidget* MainWindow::showConfJXV4174() {
    return showBench(confJXV4174_, "ConfJXV4174", {860, 700}, [this] {
        multiChannelConfig_ = std::make_unique<MultiChannelConfig>(ctx_);
        return new ConfJXV4174(*multiChannelConfig_);
    });
}

QWidget* MainWindow::showQ7R218() {
    return showBench(q7r218_, "frm_Q7R218", {1100, 600}, [this] {
        energyMeter_ = std::make_unique<EnergyMeterReader>(ctx_);
        return new frm_Q7R218(*energyMeter_);
    });
}

QWidget* MainWindow::showVariables(std::shared_ptr<VarPickerHandOver> handOver) {
    if (variables_ && handOver) variables_->close(); // deleted on close: the picker is a window of its own
    if (!variables_ || handOver) {
        auto* w = new frm_variabili(ctx_, handOver, this);
        // A caller that waits on the hand-over goes on also when the window goes without closing.
        if (handOver) connect(w, &QObject::destroyed, this, [handOver] { handOver->VarPickerBusy = 0; });
        w->setAttribute(Qt::WA_DeleteOnClose);
        languages_.windowLoaded(w, [w] { w->SetRes(); });
        connect(w, &QObject::destroyed, this, [this, w] { languages_.windowUnloaded(w); });
        variables_ = w;
        fitDialog(w, this);
    }
    variables_->show();
    variables_->raise();
    variables_->activateWindow();
    return variables_;
}

QWidget* MainWindow::showTables() {
    if (tables_) {
        tables_->show();
        tables_->raise();
        tables_->activateWindow();
        return tables_;
    }
    auto* w = new Input_Tab(ctx_, std::make_shared<DialogHandOver>(), this);
    w->setAttribute(Qt::WA_DeleteOnClose);
    languages_.windowLoaded(w, [w] { w->SetRes(); });
    connect(w, &QObject::destroyed, this, [this, w] { languages_.windowUnloaded(w); });
    tables_ = w;
    w->Form_Load();
    fitDialog(w, this);
    return w;
}

template <class W, class Make>
W* MainWindow::designerWindow(QPointer<QMdiSubWindow>& sub, Make make, bool toFront) {
    if (!sub) {
        W* w = make();
        sub = mdi_->addSubWindow(w);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->move(logSub_ ? logSub_->geometry().right() + 1 : 0, 0); // beside the log, like the program view
        fitSubWindow(sub, w->size());                                // opens whole inside the main window
        languages_.windowLoaded(w, [w] { w->SetRes(); });
        connect(w, &QObject::destroyed, this, [this, w] { languages_.windowUnloaded(w); });
    }
    auto* w = static_cast<W*>(sub->widget());
    w->refresh(); // the project may have changed since the window was last shown
    sub->show();
    fitSubWindow(sub, sub->widget()->size());
    if (toFront) {
        sub->raise();
        mdi_->setActiveSubWindow(sub);
    }
    return w;
}

QWidget* MainWindow::showDisplay() {
    return designerWindow<frm_display::Form>(
        display_, [this] { return new frm_display::Form(ctx_); }, true);
}

QWidget* MainWindow::loadScheduler() {
    auto pick = [this] {
        auto handOver = std::make_shared<VarPickerHandOver>();
        handOver->VarPickerBusy = -1;
        showVariables(handOver);
        return handOver;
    };
    return designerWindow<frm_scheduler::Form>(
        scheduler_, [this, pick] { return new frm_scheduler::Form(ctx_, pick); }, false);
}

QWidget* MainWindow::showImages() {
    return designerWindow<Input_Img>(
        images_, [this] { return new Input_Img(ctx_); }, true);
}

QWidget* MainWindow::showConfig(bool read) {
    if (!config_) config_ = std::make_unique<ConfigWindow>(ctx_);
    config_->NomeModello = ctx_.model().ModelName;
    if (!configSub_) {
        auto* w = new frm_Config2(*config_, ImageList1.picture("calendar"));
        configSub_ = mdi_->addSubWindow(w);
        configSub_->setAttribute(Qt::WA_DeleteOnClose);
        languages_.windowLoaded(config_.get(), [this] { config_->SetRes(); });
        connect(w, &QObject::destroyed, this, [this] {
            config_->cmd_stop_Click(); // a poll does not outlive its window
            languages_.windowUnloaded(config_.get());
        });
        config_->Form_Load();
        fitSubWindow(configSub_, w->sizeHint().expandedTo(QSize(780, 560)));
        configSub_->show();
    }
    if (read) config_->cmd_read_Click(0);
    if (!configSub_) return nullptr;
    configSub_->raise();
    mdi_->setActiveSubWindow(configSub_);
    return configSub_->widget();
}

bool MainWindow::transferRunning() const {
    QMdiSubWindow* eeprom = tools_.value("mnu_eeprom");
    return longOperationRunning() || (eeprom && static_cast<frm_eeprom*>(eeprom->widget())->running());
}

CloseChecks MainWindow::closeChecks() {
    CloseChecks checks;
    checks.transferRunning = transferRunning();
    checks.tellWithoutWaiting = [this](const std::string& text) {
        auto* box = new QMessageBox(QMessageBox::Warning, programName_, QString::fromLatin1(text),
                                    QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    };
    checks.windowsMayClose = [this] { return discovery_->mayClose(); };
    checks.saveProject = procs_.SalvaProgetto;
    return checks;
}

void MainWindow::takeCloseDuringRequests(QtEventPump& pump) {
    inputHold_ = &pump.inputHold();
    const auto duringWait = [this] { return CloseDuringWait(ctx_, closeChecks()); };
    inputHold_->takeCloseOf(this, duringWait, [this] { return close(); });
    inputHold_->letThrough([this](QObject* receiver, QEvent* event) { return menuInput(receiver, event); });
    // A click held on a toolbar key takes its turn among the keys and clicks before it, and is judged then
    // by the state their commands left: on, it acts; off, the log says why. A key grey when clicked never
    // acts.
    inputHold_->takeKeyClicks([this](QObject* receiver, QPointF position) -> InputHold::Key {
        if (receiver != windowHandle()) return {};
        QAction* key = Toolbar1->actionAt(Toolbar1->mapFrom(this, position.toPoint()));
        if (!key || key->objectName().isEmpty()) return {};
        if (!key->isEnabled()) return {key, {}};
        return {key, [self = QPointer<MainWindow>(this), key = key->objectName()] {
                    if (self) self->Toolbar1_ButtonClick(key, CommandRouter::Click::Held);
                }};
    });
    // Keys waiting behind a loop key act at its loop's first Pausa, ahead of the input held since.
    router_.passWaitingTo([this](std::function<void()> call) {
        if (!call) return inputHold_->atNextPausa({});
        inputHold_->atNextPausa([self = QPointer<MainWindow>(this), call = std::move(call)] {
            if (self) call();
        });
    });
}

// The menu bar and its menus stay usable while a request waits, so that Project > Exit reaches the close;
// their other items act once the request has returned.
bool MainWindow::menuInput(QObject* receiver, QEvent* event) const {
    if (event->type() == QEvent::Shortcut) return receiver == menuBar();
    if (QWidget* popup = QApplication::activePopupWidget())
        return std::find(menus_.begin(), menus_.end(), popup) != menus_.end(); // it takes every input
    const auto* mouse = dynamic_cast<const QMouseEvent*>(event);
    return mouse && receiver == windowHandle() && menuBar()->geometry().contains(mouse->position().toPoint());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!MayCloseProgram(ctx_, closeChecks(), programName_.toStdString())) {
        event->ignore();
        return;
    }
    ctx_.comm.PollStop = 1; // ends any loop still running under a toolbar command
    router_.dropWaiting();  // and no key pressed before the close acts once that command has returned
    if (search_) search_->Form_Unload(); // and a device search or scan and the sniffer, freeing their ports
    if (productBench_) productBench_->cmd_stop_test_Click(); // and the product's loop test
    for (const auto& sub : std::as_const(tools_))
        if (sub) sub->close(); // a tool's loop or scan ends with its window
    for (QMdiSubWindow* factory : {coll7593_, collaudo_, collNwac_, confJXV7593_, confJXV4174_, q7r218_})
        if (factory) factory->close(); // and the factory windows' runs, polls and ports
    // What still runs returns without waiting.
    ctx_.pump.programClosed();
    event->accept();
}
