#include "discovery/ui/frm_search.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSerialPortInfo>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/window_fit.h"

namespace {

QString qs(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

std::string bytes(const QString& s) {
    return s.toLatin1().toStdString();
}

// A line box whose text goes to the form as the user types.
QLineEdit* lineBox(const char* name, std::string& field, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    QObject::connect(e, &QLineEdit::textEdited, e, [&field](const QString& t) { field = bytes(t); });
    return e;
}

DiscoveryServices withProgramPath(DiscoveryServices s) {
    s.programPath = bytes(QCoreApplication::applicationFilePath());
    return s;
}

void setTextKeepCursor(QLineEdit* e, const std::string& text) {
    if (e->text() != qs(text)) e->setText(qs(text));
}

// The serial devices of this machine, which the port list shows after COM1..COM32.
std::vector<std::string> machinePorts() {
    std::vector<std::string> out;
    for (const QSerialPortInfo& p : QSerialPortInfo::availablePorts())
        out.push_back(bytes(p.systemLocation()));
    return out;
}

} // namespace

frm_search::frm_search(AppContext& app, DiscoveryServices services,
                       std::function<QIcon(const QString&)> pictures, std::function<void()> popupMenu,
                       SearchPorts ports, QWidget* parent)
    : QWidget(parent), search_(app, udp_, addresses_, withProgramPath(std::move(services)), ports),
      pictures_(std::move(pictures)), popupMenu_(std::move(popupMenu)),
      sniffer_(
          app, snifferSocket_,
          [] {
              QLocale locale;
              QDateTime now = QDateTime::currentDateTime();
              return bytes(locale.toString(now.date(), QLocale::ShortFormat) + " " +
                           now.time().toString("HH:mm:ss"));
          },
          ports.SnifferPort) {
    setObjectName("frm_search");
    build();
    bindTree();
    search_.onFormChanged = [this] { refresh(); };
    search_.Form_Load(machinePorts());
    List2->setToolTip("After a search, select the network to bind, than click binding");
    resize(720, search_.form.HeightTwips / 15);
}

void frm_search::build() {
    SearchForm& f = search_.form;
    Elenco = new QTreeWidget(this);
    Elenco->setObjectName("Elenco");
    Elenco->setHeaderHidden(true);
    Elenco->setContextMenuPolicy(Qt::CustomContextMenu);

    cmb_porta = new QComboBox(this);
    cmb_porta->setObjectName("cmb_porta");
    connect(cmb_porta, &QComboBox::activated, this, [this](int i) {
        search_.form.cmb_porta = i;
        cmb_porta_Click();
    });
    txt_Timeout = lineBox("txt_Timeout", f.txt_Timeout, this);

    frm_opz[1] = new QGroupBox(this);
    frm_opz[1]->setObjectName("frm_opz_1");
    auto* families = new QVBoxLayout(frm_opz[1]);
    for (int i = 0; i < 3; ++i) {
        chk_disp_ethernet[i] = new QCheckBox(frm_opz[1]);
        chk_disp_ethernet[i]->setObjectName(QString("chk_disp_ethernet_%1").arg(i));
        connect(chk_disp_ethernet[i], &QCheckBox::clicked, this,
                [this, i](bool on) { search_.form.chk_disp_ethernet[static_cast<size_t>(i)] = on; });
        families->addWidget(chk_disp_ethernet[i]);
    }

    frm_opz[0] = new QGroupBox(this);
    frm_opz[0]->setObjectName("frm_opz_0");
    auto* serial = new QHBoxLayout(frm_opz[0]);
    auto* baud = new QGroupBox(frm_opz[0]);
    baud->setObjectName("Frame1");
    auto* baudGrid = new QGridLayout(baud);
    for (int i = 0; i < BaudChoices; ++i) {
        chk_baud[i] = new QRadioButton(DeviceSearch::Bauds[static_cast<size_t>(i)], baud);
        chk_baud[i]->setObjectName(QString("chk_baud_%1").arg(i));
        connect(chk_baud[i], &QRadioButton::clicked, this, [this, i] { search_.form.chk_baud = i; });
        baudGrid->addWidget(chk_baud[i], i % 4, i / 4);
    }
    auto* range = new QGroupBox(frm_opz[0]);
    range->setObjectName("Frame5");
    auto* rangeGrid = new QGridLayout(range);
    const char* rangeLabels[2] = {"Label4", "Label6"};
    for (int i = 0; i < 2; ++i) {
        auto* l = new QLabel(range);
        l->setObjectName(rangeLabels[i]);
        txt_indir[i] = lineBox(i ? "txt_indir_1" : "txt_indir_0", f.txt_indir[static_cast<size_t>(i)], range);
        rangeGrid->addWidget(l, i, 0);
        rangeGrid->addWidget(txt_indir[i], i, 1);
    }
    serial->addWidget(baud);
    serial->addWidget(range);

    cmd_Search = new QPushButton(this);
    cmd_Search->setObjectName("cmd_Search");
    connect(cmd_Search, &QPushButton::clicked, this, [this] { search_.cmd_Search_Click(); });
    cmd_stop = new QPushButton(this);
    cmd_stop->setObjectName("cmd_stop");
    connect(cmd_stop, &QPushButton::clicked, this, [this] { search_.cmd_stop_Click(); });
    lbl_search = new QLabel(this);
    lbl_search->setObjectName("lbl_search");
    portNote_ = new QLabel(this);
    portNote_->setObjectName("portNote");
    portNote_->setWordWrap(true);
    portNote_->setTextInteractionFlags(Qt::TextSelectableByMouse); // the command can be copied
    portNote_->setStyleSheet("color: darkred");

    List2 = new QListWidget(this);
    List2->setObjectName("List2");
    connect(List2, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* i) { search_.List2_Click(List2->row(i)); });
    Text1 = lineBox("Text1", f.Text1, this);
    Loc_mask = lineBox("Loc_mask", f.Loc_mask, this);
    loc_ip_add = lineBox("loc_ip_add", f.loc_ip_add, this);
    auto* get_ip_add = new QPushButton("Get Local IP", this);
    get_ip_add->setObjectName("get_ip_add");
    get_ip_add->setToolTip("Click to show the current IP address of PC");
    connect(get_ip_add, &QPushButton::clicked, this, [this] { search_.get_ip_add_Click(); });
    auto* binding = new QPushButton("Binding", this);
    binding->setObjectName("Binding");
    binding->setToolTip("Executes the binding over the selected network");
    connect(binding, &QPushButton::clicked, this, [this] { search_.cmd_Search_Click(); }); // Binding_Click

    auto* side = new QGridLayout;
    int row = 0;
    auto labelled = [&](const char* name, const QString& text, QWidget* w, QWidget* after = nullptr) {
        auto* l = new QLabel(text, this);
        l->setObjectName(name);
        side->addWidget(l, row, 0);
        side->addWidget(w, row, 1, 1, after ? 1 : 2);
        if (after) side->addWidget(after, row, 2);
        ++row;
    };
    auto* mSec = new QLabel(this);
    mSec->setObjectName("Label12");
    mSec->setText("mSec");
    labelled("Label5_0", {}, cmb_porta);
    labelled("Label9", {}, txt_Timeout, mSec);
    side->addWidget(frm_opz[1], row++, 0, 1, 3);
    side->addWidget(frm_opz[0], row++, 0, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmd_Search);
    buttons->addWidget(cmd_stop);
    side->addLayout(buttons, row++, 0, 1, 3);
    side->addWidget(lbl_search, row++, 0, 1, 3);
    side->addWidget(portNote_, row++, 0, 1, 3);
    auto* networks = new QLabel("List of networks", this);
    side->addWidget(networks, row++, 0, 1, 3);
    side->addWidget(List2, row++, 0, 1, 3);
    // An address box shows a whole address.
    for (QLineEdit* e : {Text1, Loc_mask, loc_ip_add})
        e->setMinimumWidth(e->fontMetrics().horizontalAdvance("255.255.255.255") + 16);
    labelled("LabelBind", "Network bind", Text1, binding);
    labelled("LabelMask", "Search Mask", Loc_mask);
    side->addWidget(get_ip_add, row, 0);
    side->addWidget(loc_ip_add, row++, 1, 1, 2);
    side->setRowStretch(row, 1);

    auto* searchPage = new QWidget;
    searchPage->setLayout(side);
    tab_search = new QTabWidget(this);
    tab_search->setObjectName("tab_search");
    tab_search->addTab(searchPage, "Search");
    tab_search->addTab(buildManualPanel(), "Search by MAC");
    auto* right = new QVBoxLayout;
    right->addWidget(tab_search, 1);
    right->addWidget(snifferPanel_ = buildSnifferPanel());

    auto* top = new QHBoxLayout(this);
    top->addWidget(Elenco, 3);
    top->addLayout(right, 2);
}

QWidget* frm_search::buildManualPanel() {
    ManualBoxes& m = search_.manual;
    auto* panel = new QWidget;
    auto* grid = new QGridLayout(panel);
    auto row = [&](int r, const char* caption, auto& texts, int digits) {
        grid->addWidget(new QLabel(caption), r, 0, 1, static_cast<int>(texts.size()));
        for (size_t i = 0; i < texts.size(); ++i) {
            auto* box = new QLineEdit(qs(texts[i]));
            box->setObjectName(QString("%1_%2").arg(digits == 2 ? "txt_mac" : "txt_IP").arg(i));
            box->setMaxLength(digits);
            box->setAlignment(Qt::AlignCenter);
            box->setMaximumWidth(box->fontMetrics().horizontalAdvance("0000") + 12);
            connect(box, &QLineEdit::textEdited, this,
                    [&texts, i](const QString& t) { texts[i] = bytes(t); });
            grid->addWidget(box, r + 1, static_cast<int>(i));
        }
    };
    row(0, "MAC Address", m.mac, 2);
    row(2, "Temporary IP Address", m.ip, 3);
    auto* type = new QGroupBox("Device Type");
    auto* typeLayout = new QVBoxLayout(type);
    for (int i = 0; i < 2; ++i) {
        Option1[i] = new QRadioButton;
        Option1[i]->setObjectName(QString("Option1_%1").arg(i));
        connect(Option1[i], &QRadioButton::clicked, this,
                [&m, i] { m.type = static_cast<ManualDeviceType>(i); });
        typeLayout->addWidget(Option1[i]);
    }
    grid->addWidget(type, 4, 0, 1, 6);
    auto* connectButton = new QPushButton("Connect");
    connectButton->setObjectName("cmd_Manual");
    connect(connectButton, &QPushButton::clicked, this, [this] { search_.cmd_Manual_Click(); });
    grid->addWidget(connectButton, 5, 0, 1, 6);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(6, 1);
    return panel;
}

QWidget* frm_search::buildSnifferPanel() {
    auto* panel = new QGroupBox("Sniffer");
    auto* grid = new QGridLayout(panel);
    auto* address = new QLineEdit(qs(sniffer_.IP_SNIFF));
    address->setObjectName("IP_SNIFF");
    address->setMinimumWidth(address->fontMetrics().horizontalAdvance("255.255.255.255") + 16);
    connect(address, &QLineEdit::textEdited, this,
            [this](const QString& t) { sniffer_.IP_SNIFF = bytes(t); });
    auto* start = new QPushButton("Start Sniffer");
    start->setObjectName("Command5");
    connect(start, &QPushButton::clicked, this, [this] { sniffer_.Command5_Click(); });
    auto* stop = new QPushButton("Stop Sniffer");
    stop->setObjectName("Command3");
    connect(stop, &QPushButton::clicked, this, [this] { sniffer_.Command3_Click(); });
    List1 = new QListWidget;
    List1->setObjectName("List1");
    List1->setMinimumHeight(120);
    // Every row one line high and as wide as the list, a long dump elided: adding rows never lays the
    // list out again row by row.
    List1->setUniformItemSizes(true);
    List1->setTextElideMode(Qt::ElideRight);
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    sniffer_.onCleared = [this] {
        snifferPending_.clear();
        List1->clear();
    };
    sniffer_.onAdded = [this](const std::string& line) {
        if (snifferPending_.isEmpty())
            QMetaObject::invokeMethod(this, &frm_search::addSnifferLines, Qt::QueuedConnection);
        snifferPending_.append(qs(line));
    };
    grid->addWidget(new QLabel("IP_Sniffer"), 0, 0);
    grid->addWidget(address, 0, 1);
    grid->addWidget(start, 0, 2);
    grid->addWidget(stop, 0, 3);
    grid->addWidget(List1, 1, 0, 1, 4);
    return panel;
}

void frm_search::addSnifferLines() {
    const int most = static_cast<int>(Sniffer::MostLines);
    if (snifferPending_.size() > most)
        snifferPending_.erase(snifferPending_.begin(), snifferPending_.end() - most);
    const int over = List1->count() + static_cast<int>(snifferPending_.size()) - most;
    if (over > 0) List1->model()->removeRows(0, over);
    List1->addItems(snifferPending_);
    snifferPending_.clear();
    List1->setCurrentRow(List1->count() - 1);
}

void frm_search::showEvent(QShowEvent* event) {
    if (!frame_ && (frame_ = subWindowOf(this))) frame_->installEventFilter(this);
    QWidget::showEvent(event);
}

bool frm_search::eventFilter(QObject* watched, QEvent* event) {
    if (watched == frame_ && event->type() == QEvent::Close) {
        Form_Unload();
        closed_ = true;
    } else if (watched == frame_ && event->type() == QEvent::Show && std::exchange(closed_, false)) {
        reopen();
    }
    return QWidget::eventFilter(watched, event);
}

void frm_search::Form_Unload() {
    search_.Form_Unload();
    sniffer_.Form_Unload();
}

void frm_search::reopen() {
    search_.Form_Reopen(machinePorts());
    for (QLineEdit* box : findChildren<QLineEdit*>(QRegularExpression("^txt_(mac|IP)_\\d$")))
        box->setText(box->objectName().startsWith("txt_IP") ? "000" : "");
    for (QRadioButton* option : Option1) {
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(true);
    }
    sniffer_.clear(); // the sniffer's address stays as typed: its Stop reaches the device it started
    tab_search->setCurrentIndex(0);
}

void frm_search::bindTree() {
    DeviceTree& tree = search_.Elenco;
    tree.onAdded = [this](const TreeNode& n) {
        QTreeWidgetItem* parent = items_.value(qs(n.Parent));
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(Elenco);
        item->setText(0, qs(n.Text));
        item->setData(0, Qt::UserRole, qs(n.Key));
        if (!n.Image.empty() && pictures_) item->setIcon(0, pictures_(qs(n.Image)));
        items_.insert(qs(n.Key), item);
    };
    tree.onRemoved = [this](const std::string& key) {
        QTreeWidgetItem* item = items_.value(qs(key));
        forget(item);
        delete item;
    };
    tree.onCleared = [this] {
        items_.clear();
        Elenco->clear();
    };
    tree.onShow = [this](const std::string& key, bool select) {
        QTreeWidgetItem* item = items_.value(qs(key));
        for (QTreeWidgetItem* p = item->parent(); p; p = p->parent())
            p->setExpanded(true);
        Elenco->scrollToItem(item);
        if (select) Elenco->setCurrentItem(item);
    };
    connect(Elenco, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        search_.Elenco_NodeClick(bytes(item->data(0, Qt::UserRole).toString()));
    });
    connect(Elenco, &QTreeWidget::itemDoubleClicked, this, [this] { search_.Elenco_DblClick(); });
    // A right-click acts on the line under the pointer: it is selected, highlight and device together,
    // before the menu opens.
    connect(Elenco, &QTreeWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        if (QTreeWidgetItem* item = Elenco->itemAt(pos)) {
            Elenco->setCurrentItem(item);
            search_.Elenco_NodeClick(bytes(item->data(0, Qt::UserRole).toString()));
        }
        if (popupMenu_) popupMenu_();
    });
}

void frm_search::forget(QTreeWidgetItem* item) {
    if (!item) return;
    items_.remove(item->data(0, Qt::UserRole).toString());
    for (int i = 0; i < item->childCount(); ++i)
        forget(item->child(i));
}

void frm_search::SetRes() {
    search_.SetRes();
}

void frm_search::cmb_porta_Click() {
    const bool tcp = search_.form.portText() == "TCP/IP";
    frm_opz[0]->setVisible(!tcp);
    frm_opz[1]->setVisible(tcp);
}

void frm_search::refresh() {
    const SearchForm& f = search_.form;
    for (const auto& [control, caption] : f.Captions) {
        const QString name = qs(control);
        if (name == objectName()) {
            setWindowTitle(qs(caption));
        } else if (auto* l = findChild<QLabel*>(name)) {
            l->setText(qs(caption));
        } else if (auto* b = findChild<QAbstractButton*>(name)) {
            b->setText(qs(caption));
        } else if (auto* g = findChild<QGroupBox*>(name)) {
            g->setTitle(qs(caption));
        }
    }
    if (cmb_porta->count() != static_cast<int>(f.cmb_porta_items.size())) {
        cmb_porta->clear();
        for (const std::string& item : f.cmb_porta_items)
            cmb_porta->addItem(qs(item));
    }
    if (cmb_porta->currentIndex() != f.cmb_porta) cmb_porta->setCurrentIndex(f.cmb_porta);
    cmb_porta_Click();
    setTextKeepCursor(txt_Timeout, f.txt_Timeout);
    for (size_t i = 0; i < 3; ++i) {
        chk_disp_ethernet[i]->setText(qs(f.chk_disp_ethernet_caption[i]));
        chk_disp_ethernet[i]->setChecked(f.chk_disp_ethernet[i]);
        chk_disp_ethernet[i]->setVisible(f.chk_disp_ethernet_shown[i]);
    }
    if (f.chk_baud >= 0 && f.chk_baud < BaudChoices) chk_baud[f.chk_baud]->setChecked(true);
    for (size_t i = 0; i < 2; ++i)
        setTextKeepCursor(txt_indir[i], f.txt_indir[i]);
    setTextKeepCursor(Text1, f.Text1);
    setTextKeepCursor(Loc_mask, f.Loc_mask);
    setTextKeepCursor(loc_ip_add, f.loc_ip_add);
    lbl_search->setText(qs(f.lbl_search));
    portNote_->setText(qs(f.portNote));
    portNote_->setVisible(!f.portNote.empty());
    for (size_t i = 0; i < 2; ++i)
        Option1[i]->setText(qs(f.Option1_caption[i]));
    Option1[0]->setVisible(f.Option1_0_shown);
    snifferPanel_->setVisible(f.SnifferShown);
    cmd_Search->setEnabled(f.cmd_Search_enabled);
    if (List2->count() != static_cast<int>(f.List2.size()) ||
        (List2->count() && List2->item(0)->text() != qs(f.List2.front()))) {
        List2->clear();
        for (const std::string& a : f.List2)
            List2->addItem(qs(a));
    }
}
