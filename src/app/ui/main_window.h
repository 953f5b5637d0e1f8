#pragma once
// Principale: the MDI main window with its menus, toolbar, status bar and the log window inside.
#include <memory>
#include <QMainWindow>
#include <QMap>
#include <QPointer>

#include "app/command_router.h"
#include "app/startup.h"
#include "app/ui/picture_list.h"
#include "app/ui/settings_dialog.h"
#include "comm/debug_animation.h"
#include "comm/debug_commands.h"
#include "core/language_switch.h"
#include "factorytest/instruments/instrument_port.h"
#include "platform/qt_event_pump.h"
#include "platform/qt_link_port.h"
#include "platform/qt_program_runner.h"
#include "project/ui/var_picker_hand_over.h"
#include "tools/register_view.h"

struct AppContext;
struct CloseChecks;
struct ShellProcedures;
class AboutBox;
class AnalogConfig;
class DiscoveryWindows;
class CalibrationBench;
class ControllerBench;
class EnergyMeterReader;
class EthernetProductBench;
class InputHold;
class MultiChannelConfig;
class ConfigWindow;
class LogWindow;
class ProgramCommands;
class ProjectNavigator;
class frm_search;
class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

class MainWindow : public QMainWindow, public StartupWindow {
    Q_OBJECT
  public:
    MainWindow(AppContext& ctx, const ShellProcedures& procs, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The window steps of start-up, called by Main in its order.
    void CaricaImmagini() override;
    void ShowInternalMenus(bool visible) override;
    void SetIcon() override;
    void SetCaption(const std::string& caption) override;
    void SetSizeTwips(int width, int height) override;
    void CreaToolBar() override;
    void LoadLogWindow(int heightTwips) override;
    void ApplyMenuCaptions(const std::vector<std::pair<std::string, std::string>>& captions) override;
    // Binds every toolbar key and menu item to the procedures this build offers; the rest are disabled.
    void bindCommands();

    // The main window's translated menu captions.
    void SetRes();
    void Toolbar1_ButtonClick(const QString& key, CommandRouter::Click click = CommandRouter::Click::Now);

    SettingsDialog* openSettings(SettingsDialog::Page page);
    AboutBox* showAbout();
    void showLog();
    void showNavigator();
    // Creates the download window if needed in download mode and brings it to the front.
    void showDownload();
    // frm_variabili: created on first use, then brought to the front. With a hand-over it is opened
    // anew as the picker of a waiting caller.
    QWidget* showVariables(std::shared_ptr<VarPickerHandOver> handOver = nullptr);
    // The designers: single child windows created on first use. The scheduler is loaded without being
    // brought to the front.
    QWidget* showDisplay();
    QWidget* loadScheduler();
    QWidget* showImages();
    // Input_Tab: created and loaded on first use, then brought to the front.
    QWidget* showTables();
    // Registri: created on first use; shown modeless, and brought to the front when asked.
    void showRegisters(bool toFront);
    // coll7593, the analog module calibration bench: created on first use, then brought to the front.
    QWidget* showColl7593();
    // frm_collaudo (controller test bench) and frm_coll_NWAC (Ethernet product test): the same.
    QWidget* showCollaudo();
    QWidget* showCollNwac();
    // The factory configuration windows ConfJXV7593, ConfJXV4174 and frm_Q7R218: the same.
    QWidget* showConfJXV7593();
    QWidget* showConfJXV4174();
    QWidget* showQ7R218();
    // The instruments' serial ports, kept for the factory test benches.
    InstrumentPorts& benchPorts() { return benchPorts_; }
    // The tool windows, each a single instance created on first use: frm_watch, frm_dialoga, frm_eeprom
    // and MultiSock by the name of their menu item; toFront also brings the window to the front.
    QMdiSubWindow* showTool(const QString& menu, bool toFront);
    // frm_Config2 on the current model: created and loaded on first use; with read, it reads the module.
    QWidget* showConfig(bool read);
    // frm_search: created on first use and kept; searchWindow() creates it without showing it.
    frm_search* searchWindow();
    frm_search* showSearch();
    // The download window's sequence is running.
    bool longOperationRunning() const;
    // A download or a memory transfer runs: the program does not close under it.
    bool transferRunning() const;
    // A close of this window while a request waits ends that wait, and is carried out once the request
    // has returned; during a transfer it is refused at once.
    void takeCloseDuringRequests(QtEventPump& pump);

    QMdiArea* mdi() const { return mdi_; }
    QToolBar* toolbar() const { return Toolbar1; }
    QAction* button(const QString& key) const { return buttons_.value(key); }
    QAction* menuItem(const QString& name) const { return menuItems_.value(name); }
    QMenu* popupMenu(const QString& name) const { return menus_.value(name); }
    QLabel* statusPanel(int panel) const { return panels_.value(panel); }
    QMdiSubWindow* logSubWindow() const { return logSub_; }
    CommandRouter& router() { return router_; }
    LanguageSwitch& languages() { return languages_; }
    RegisterView& registers() { return registers_; }
    QMdiSubWindow* registersSubWindow() const;
    // The program view binds its rung labels here.
    DebugAnimation& debugAnimation() { return animation_; }
    const PictureList& pictures() const { return ImageList1; }
    // The program's name, the title of message boxes that name no other.
    const QString& programName() const { return programName_; }

  protected:
    void closeEvent(class QCloseEvent* event) override;

  private:
    CloseChecks closeChecks();
    bool menuInput(QObject* receiver, QEvent* event) const;
    // Save or load: under the hourglass, then the caption names the project.
    void projectCommand(const std::function<void()>& command);
    void buildMenus();
    void buildStatusBar();
    // The run under way that refuses keys and menu items. None while a command runs (the connect key, Set as
    // Controller): keys and items wait for it, and its run has ended when they act.
    const char* refusingRun() const;
    void syncToolbar();
    void syncMenus();
    // Every menu item with a command is enabled, but for those a run under way refuses.
    void syncMenuEnabling();
    void viewWebPage();
    void addMenuHandler(const std::string& name, std::function<void()> handler);
    void loadRegisters();
    // A new project puts the register window at the top, right of the program view's frame.
    void placeRegistersBeside(const QWidget* frame);
    void refreshDesigners();
    template <class W, class Make> W* designerWindow(QPointer<QMdiSubWindow>& sub, Make make, bool toFront);
    // The debug animation colours and scrolls the program view; a clicked register goes to its editor.
    void bindDebugViews(ProgramCommands& program);

    AppContext& ctx_;
    const ShellProcedures& procs_;
    QString programName_;
    QMdiArea* mdi_;
    PictureList ImageList1;
    QToolBar* Toolbar1 = nullptr;
    CommandRouter router_;
    LanguageSwitch languages_;
    QMap<QString, QAction*> buttons_;
    QMap<QString, QAction*> menuItems_;
    QMap<QString, QMenu*> menus_;
    QMap<QString, std::function<void()>> menuHandlers_;
    QMap<int, QLabel*> panels_;
    LogWindow* log_ = nullptr;
    QMdiSubWindow* logSub_ = nullptr;
    QPointer<SettingsDialog> settings_;
    QPointer<AboutBox> about_;
    QPointer<QMdiSubWindow> navigator_;
    QPointer<QWidget> download_;
    QPointer<QWidget> variables_;
    QPointer<QWidget> tables_;
    QPointer<QMdiSubWindow> display_, scheduler_, images_;
    RegisterView registers_;
    QPointer<QMdiSubWindow> registriSub_;
    QMap<QString, QPointer<QMdiSubWindow>> tools_;
    std::unique_ptr<ConfigWindow> config_; // its data outlive the window's closing
    QPointer<QMdiSubWindow> configSub_;
    frm_search* search_ = nullptr;
    QPointer<QMdiSubWindow> searchSub_;
    DebugAnimation animation_;
    DebugCommands debug_;
    std::unique_ptr<DiscoveryWindows> discovery_;
    QtLinkPort Seriale_switch, Seriale_mult, Seriale_alim, Seriale_calib;
    InstrumentPorts benchPorts_{Seriale_switch, Seriale_mult, Seriale_alim, Seriale_calib};
    std::unique_ptr<CalibrationBench> calibrationBench_;
    QPointer<QMdiSubWindow> coll7593_;
    // The controller bench's multimeter and supply ports, and the product test's upload socket.
    QtLinkPort SerialeMult, SerialeAlim, EUT_Socket;
    QtProgramRunner programs_; // ip, ping, arp and the desktop's programs
    std::unique_ptr<ControllerBench> controllerBench_;
    std::unique_ptr<EthernetProductBench> productBench_;
    InputHold* inputHold_ = nullptr; // set once closes end a request's wait
    QPointer<QMdiSubWindow> collaudo_, collNwac_;
    std::unique_ptr<AnalogConfig> analogConfig_;
    std::unique_ptr<MultiChannelConfig> multiChannelConfig_;
    std::unique_ptr<EnergyMeterReader> energyMeter_;
    QPointer<QMdiSubWindow> confJXV7593_, confJXV4174_, q7r218_;
    // Shows a bench window in the main window, created by make on first use.
    QWidget* showBench(QPointer<QMdiSubWindow>& sub, const char* name, QSize size,
                       const std::function<QWidget*()>& make);
};
