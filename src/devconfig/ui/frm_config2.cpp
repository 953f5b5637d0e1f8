#include "devconfig/ui/frm_config2.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSlider>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

QString l1(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// Event indicators: red on, grey off.
void paintLed(QFrame* led, bool on) {
    led->setStyleSheet(on ? "background: #FF0000; border: 1px solid #404040;"
                          : "background: #808080; border: 1px solid #404040;");
}

QFrame* newLed(QWidget* parent) {
    auto* led = new QFrame(parent);
    led->setFixedSize(14, 14);
    paintLed(led, false);
    return led;
}

// A control under its name in the layout ("cmd_Invia(4)" for an element of a control array).
template <class W> W* named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QString element(const char* array, int index) {
    return QString("%1(%2)").arg(array).arg(index);
}

// The buttons whose action on the module no rule of this window gives: shown, never clickable.
QPushButton* idleButton(const char* text, QWidget* parent, const QString& name = {}) {
    auto* b = named(new QPushButton(text, parent), name);
    b->setEnabled(false);
    return b;
}

template <class List> void fillCombo(QComboBox* combo, const List& items, int selected) {
    const QSignalBlocker block(combo);
    QStringList texts;
    for (const auto& item : items)
        if constexpr (requires { item.first; })
            texts << l1(item.first);
        else
            texts << l1(item.Name);
    QStringList current;
    for (int i = 0; i < combo->count(); ++i)
        current << combo->itemText(i);
    if (current != texts) {
        combo->clear();
        combo->addItems(texts);
    }
    combo->setCurrentIndex(selected);
}

} // namespace

frm_Config2::frm_Config2(ConfigWindow& model, const QIcon& calendarPicture, QWidget* parent)
    : QWidget(parent), model_(model) {
    setObjectName("frm_Config2");
    auto* top = new QHBoxLayout;
    Label1[0] = named(new QLabel(this), "Label1(0)");
    Indirizzo = named(new QLineEdit(this), "Indirizzo");
    Indirizzo->setMaximumWidth(60);
    Label1[1] = named(new QLabel(this), "Label1(1)");
    modello = named(new QComboBox(this), "modello");
    modello->setEditable(true); // the eight-channel variant is typed, it is in no list
    modello->setInsertPolicy(QComboBox::NoInsert);
    modello->setMinimumWidth(160);
    cmd_Read0 = named(new QPushButton(this), "cmd_Read(0)");
    cmd_start = named(new QPushButton(this), "cmd_start");
    cmd_stop = named(new QPushButton(this), "cmd_stop");
    for (QWidget* w : std::initializer_list<QWidget*>{Label1[0], Indirizzo, Label1[1], modello, cmd_Read0,
                                                      cmd_start, cmd_stop})
        top->addWidget(w);
    top->addStretch();

    TabStrip1 = named(new QTabBar(this), "TabStrip1");
    for (const char* caption : ConfigTabCaptions)
        TabStrip1->addTab(caption);
    auto* pagesHost = new QWidget;
    auto* pagesLayout = new QVBoxLayout(pagesHost);
    pages_ = {buildSystem(),    buildEthernet(),  buildComm(),       buildAnalogIn(),
              buildAnalogOut(), buildDigitalIn(), buildDigitalOut(), buildTrip()};
    if (!calendarPicture.isNull()) {
        cmd_calendar->setIcon(calendarPicture);
        cmd_calendar->setText({});
    }
    const char* pageNames[] = {"frm_tab_prog", "frm_tab_eth", "frm_tab_com", "frm_tab_AI",
                               "frm_tab_ao",   "frm_tab_di",  "frm_tab_do",  "frm_tab_trip"};
    for (size_t i = 0; i < pages_.size(); ++i) {
        // Each page frame holds its content, which may be a named frame of its own.
        auto* frame = named(new QWidget, pageNames[i]);
        auto* box = new QVBoxLayout(frame);
        box->setContentsMargins(0, 0, 0, 0);
        box->addWidget(pages_[i]);
        pages_[i] = frame;
        pagesLayout->addWidget(frame);
    }
    pagesLayout->addStretch();
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setWidget(pagesHost);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(TabStrip1);
    layout->addWidget(scroll, 1);

    connect(Indirizzo, &QLineEdit::textEdited, this,
            [this](const QString& t) { model_.Indirizzo = t.toLatin1().toStdString(); });
    connect(modello, &QComboBox::activated, this,
            [this](int i) { model_.modello_Click(modello->itemText(i).toLatin1().toStdString()); });
    connect(modello->lineEdit(), &QLineEdit::editingFinished, this, [this] {
        const std::string typed = modello->currentText().toLatin1().toStdString();
        if (typed != model_.Model) model_.modello_Click(typed);
    });
    connect(TabStrip1, &QTabBar::currentChanged, this, [this](int i) { model_.TabStrip1_Click(i + 1); });
    connect(cmd_Read0, &QPushButton::clicked, this, [this] { model_.cmd_read_Click(0); });
    connect(cmd_start, &QPushButton::clicked, this, [this] { model_.cmd_start_Click(); });
    connect(cmd_stop, &QPushButton::clicked, this, [this] { model_.cmd_stop_Click(); });

    model_.onChanged = [this] { draw(); };
    draw();
    resize(760, 520);
}

frm_Config2::~frm_Config2() {
    model_.onChanged = nullptr;
}

QWidget* frm_Config2::buildSystem() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);

    frm_Disp = named(captioned(new QGroupBox(page), "frm_Disp"), "frm_Disp");
    auto* disp = new QGridLayout(frm_Disp);
    disp->addWidget(named(captioned(new QLabel(frm_Disp), "lbl_Mode"), "lbl_Mode"), 0, 0);
    disp->addWidget(named(captioned(new QRadioButton(frm_Disp), "opt_DispMode(0)"), "opt_DispMode(0)"), 0, 1);
    disp->addWidget(named(captioned(new QRadioButton(frm_Disp), "opt_DispMode(1)"), "opt_DispMode(1)"), 0, 2);
    disp->addWidget(named(captioned(new QLabel(frm_Disp), "lbl_Lumin"), "lbl_Lumin"), 1, 0);
    disp->addWidget(named(new QSlider(Qt::Horizontal, frm_Disp), "bar_Lumin"), 1, 1, 1, 2);
    disp->addWidget(named(captioned(new QLabel(frm_Disp), "lbl_Contr"), "lbl_Contr"), 2, 0);
    disp->addWidget(named(new QSlider(Qt::Horizontal, frm_Disp), "bar_Contr"), 2, 1, 1, 2);
    disp->addWidget(idleButton("Write", frm_Disp, element("cmd_Invia", 5)), 3, 2);

    frm_RTC = named(captioned(new QGroupBox(page), "frm_RTC"), "frm_RTC");
    auto* rtc = new QGridLayout(frm_RTC);
    txt_giorno = named(new QComboBox(frm_RTC), "txt_giorno");
    txt_mese = named(new QComboBox(frm_RTC), "txt_mese");
    txt_anno = named(new QComboBox(frm_RTC), "txt_anno");
    rtc->addWidget(txt_giorno, 0, 0);
    rtc->addWidget(txt_mese, 0, 1);
    rtc->addWidget(txt_anno, 0, 2);
    cmd_calendar = named(new QPushButton("...", frm_RTC), "cmd_calendar");
    rtc->addWidget(cmd_calendar, 0, 3);
    const char* timeBoxes[] = {"txt_ore", "txt_min", "txt_sec"};
    const char* timeLabels[] = {"Hours", "Minutes", "Seconds"};
    for (int i = 0; i < 3; ++i) {
        rtc->addWidget(named(new QLabel(timeLabels[i], frm_RTC), element("Label2", 3 + i)), 1, i);
        rtc->addWidget(named(new QLineEdit(frm_RTC), timeBoxes[i]), 2, i);
    }
    rtc->addWidget(idleButton("Write", frm_RTC, element("cmd_Invia", 4)), 2, 3);
    rtc->addWidget(idleButton("Date from PC", frm_RTC, element("cmd_ClockSync", 0)), 3, 0, 1, 2);
    rtc->addWidget(idleButton("Time from PC", frm_RTC, element("cmd_ClockSync", 1)), 3, 2, 1, 2);
    MonthView1 = named(new QCalendarWidget(frm_RTC), "MonthView1");
    rtc->addWidget(MonthView1, 4, 0, 1, 4);
    connect(cmd_calendar, &QPushButton::clicked, this, [this] { model_.cmd_calendar_Click(); });
    connect(MonthView1, &QCalendarWidget::clicked, this,
            [this](QDate d) { model_.MonthView1_DateClick(d.year(), d.month(), d.day()); });
    connect(txt_giorno, &QComboBox::activated, this, [this](int i) { model_.Day.Selected = i; });
    connect(txt_mese, &QComboBox::activated, this, [this](int i) { model_.Month.Selected = i; });
    connect(txt_anno, &QComboBox::activated, this, [this](int i) { model_.Year.Selected = i; });

    // Events: the watchdog frame (enable and time-out), then the watchdog and power-up flags.
    frm_PupSafe = named(captioned(new QGroupBox(page), "frm_PupSafe"), "frm_PupSafe");
    auto* events = new QVBoxLayout(frm_PupSafe);
    const char* frames[] = {"Frame1", "Ev(1)", "Ev(2)"};
    const char* rows[] = {"Label18(1)", "Label18(0)", "Label21"};
    for (int i = 0; i < 3; ++i) {
        auto* frame = named(new QGroupBox(i == 0 ? "WatchDog" : "", frm_PupSafe), frames[i]);
        auto* row = new QGridLayout(frame);
        row->addWidget(named(captioned(new QLabel(frame), rows[i]), rows[i]), 0, 0);
        Led_Ev[static_cast<size_t>(i)] = named(newLed(frame), element("Led_Ev", i));
        row->addWidget(Led_Ev[static_cast<size_t>(i)], 0, 1);
        auto* toggle = named(new QPushButton("Toggle", frame), element("cmd_Toggle", i));
        row->addWidget(toggle, 0, 2);
        connect(toggle, &QPushButton::clicked, this, [this, i] { model_.cmd_Toggle_Click(i); });
        if (i == 0) {
            row->addWidget(named(captioned(new QLabel(frame), "Label12(0)"), "Label12(0)"), 1, 0);
            row->addWidget(named(new QLineEdit(frame), "txt_wdt"), 1, 1);
            row->addWidget(idleButton("Write", frame, element("cmd_Invia", 9)), 1, 2);
        }
        events->addWidget(frame);
    }

    Frm_Prog = named(captioned(new QGroupBox(page), "Frm_Prog"), "Frm_Prog");
    auto* prog = new QGridLayout(Frm_Prog);
    const char* progLabels[] = {"Label10", "Label6", "Label5"};
    const char* progBoxes[] = {"txt_add", "txt_vers", "txt_nome"};
    for (int i = 0; i < 3; ++i) {
        prog->addWidget(named(captioned(new QLabel(Frm_Prog), progLabels[i]), progLabels[i]), i, 0);
        prog->addWidget(named(new QLineEdit(Frm_Prog), progBoxes[i]), i, 1);
    }
    prog->addWidget(idleButton("Write", Frm_Prog, element("cmd_Invia", 0)), 0, 2);
    prog->addWidget(idleButton("Write", Frm_Prog, element("cmd_Invia", 2)), 2, 2);

    grid->addWidget(Frm_Prog, 0, 0);
    grid->addWidget(frm_PupSafe, 0, 1);
    grid->addWidget(frm_RTC, 1, 0);
    grid->addWidget(frm_Disp, 1, 1);
    return page;
}

// Five address rows of four boxes with dots between, then the port and time-out boxes.
QWidget* frm_Config2::buildEthernet() {
    auto* page = named(new QGroupBox("Ethernet"), "Frame3(0)");
    auto* grid = new QGridLayout(page);
    const char* rows[] = {"IP Address", "Subnet Mask", "Gateway", "Primary DNS", "Secondary DNS"};
    int box = 0, dot = 0;
    for (int r = 0; r < 5; ++r) {
        grid->addWidget(named(new QLabel(rows[r], page), element("Label16", r)), r, 0);
        for (int part = 0; part < 4; ++part) {
            if (part) grid->addWidget(named(new QLabel(".", page), element("Label15", dot++)), r, 2 * part);
            auto* e = named(new QLineEdit(page), element("txt_IP", box++));
            e->setMaximumWidth(e->fontMetrics().horizontalAdvance("0000") + 12);
            grid->addWidget(e, r, 2 * part + 1);
        }
    }
    const char* singles[] = {"Modbus TCP Port", "Timeout (ms)"};
    for (int i = 0; i < 2; ++i) {
        grid->addWidget(named(new QLabel(singles[i], page), element("Label16", 5 + i)), 5 + i, 0);
        grid->addWidget(named(new QLineEdit(page), element("txt_IP", box++)), 5 + i, 1, 1, 3);
    }
    grid->addWidget(named(new QCheckBox("DHCP", page), "chk_DHCP"), 7, 0);
    grid->addWidget(named(new QLabel("With DHCP the module takes its address from the network", page),
                          element("Label16", 7)),
                    7, 1, 1, 7);
    grid->addWidget(
        named(new QLabel("The module takes new settings at its next start", page), element("Label16", 8)), 8,
        0, 1, 6);
    grid->addWidget(idleButton("Write", page, element("cmd_Invia", 10)), 8, 6, 1, 2);
    grid->setColumnStretch(8, 1);
    return page;
}

QWidget* frm_Config2::buildComm() {
    auto* page = new QWidget;
    auto* row = new QHBoxLayout(page);
    for (size_t p = 0; p < 2; ++p) {
        const int i = static_cast<int>(p);
        Frm_com[p] = named(captioned(new QGroupBox(page), p == 0 ? "Frm_com(0)" : "Frm_com(1)"),
                           element("Frm_com", i));
        auto* grid = new QGridLayout(Frm_com[p]);
        cmb_baud[p] = named(new QComboBox(Frm_com[p]), element("cmb_baud", i));
        cmb_par[p] = named(new QComboBox(Frm_com[p]), element("cmb_par", i));
        cmb_stop[p] = named(new QComboBox(Frm_com[p]), element("cmb_stop", i));
        // Port 0's labels are elements 2 and 3, port 1's 0 and 1.
        parLabel[p] = named(new QLabel("Par", Frm_com[p]), element("Label7", p == 0 ? 2 : 0));
        stopLabel[p] = named(new QLabel("Stop bit", Frm_com[p]), element("Label7", p == 0 ? 3 : 1));
        grid->addWidget(named(captioned(new QLabel(Frm_com[p]), p == 0 ? "Label8(0)" : "Label8(1)"),
                              element("Label8", i)),
                        0, 0);
        grid->addWidget(cmb_baud[p], 0, 1);
        grid->addWidget(parLabel[p], 1, 0);
        grid->addWidget(cmb_par[p], 1, 1);
        grid->addWidget(stopLabel[p], 2, 0);
        grid->addWidget(cmb_stop[p], 2, 1);
        grid->addWidget(named(captioned(new QLabel(Frm_com[p]), p == 0 ? "Label11(0)" : "Label11(1)"),
                              element("Label11", i)),
                        3, 0);
        grid->addWidget(named(new QLineEdit(Frm_com[p]), element("txt_delay", i)), 3, 1);
        grid->addWidget(idleButton("Write", Frm_com[p], element("cmd_Invia", p == 0 ? 3 : 8)), 4, 1);
        row->addWidget(Frm_com[p]);
        connect(cmb_baud[p], &QComboBox::activated, this, [this, p](int i) { model_.Baud[p].Selected = i; });
        connect(cmb_par[p], &QComboBox::activated, this, [this, p](int i) { model_.Parity[p].Selected = i; });
        connect(cmb_stop[p], &QComboBox::activated, this,
                [this, p](int i) { model_.StopBits[p].Selected = i; });
    }
    row->addStretch();
    return page;
}

// Columns: Ch, Type, En, Value, Br, Sync, Offset.
QWidget* frm_Config2::buildAnalogIn() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    const char* headers[] = {"Ch", "Type", "En", "Value", "Br", "Sync", "Offset"};
    for (int c = 0; c < 7; ++c)
        grid->addWidget(Label9[c] = new QLabel(headers[c], page), 0, c);
    // Column of each AiControl bit, in bit order (the calibration buttons live in a hidden frame).
    constexpr int column[] = {1, 0, 3, 2, 4, 5, 6};
    for (size_t k = 0; k < 8; ++k) {
        auto& row = aiRow[k];
        row[0] = cmb_InputType[k] = new QComboBox(page);
        cmb_InputType[k]->setMinimumWidth(110);
        row[1] = new QLabel(QString::number(k), page);
        row[2] = new QLineEdit(page);
        row[2]->setToolTip("40011 - Analog Input (Integer)");
        row[3] = new QCheckBox(page);
        row[4] = newLed(page);
        row[5] = new QLineEdit(page);
        row[5]->setToolTip("40012 - Synch. Analog Input");
        row[6] = new QLineEdit(page);
        for (size_t b = 0; b < 7; ++b)
            grid->addWidget(row[b], static_cast<int>(k) + 1, column[b]);
        connect(cmb_InputType[k], &QComboBox::activated, this,
                [this, k](int i) { model_.Types[k].Selected = i; });
    }
    cmd_sync = named(new QPushButton(page), "cmd_sync");
    cmd_sync->setToolTip("40001 = 0010h - Synchonize");
    cmd_Invia6 = named(new QPushButton("Write", page), element("cmd_Invia", 6));
    grid->addWidget(cmd_sync, 9, 5);
    grid->addWidget(cmd_Invia6, 9, 6);
    connect(cmd_sync, &QPushButton::clicked, this, [this] { model_.cmd_sync_Click(); });
    connect(cmd_Invia6, &QPushButton::clicked, this, [this] { model_.cmd_Invia_Click(6); });
    return page;
}

QWidget* frm_Config2::buildAnalogOut() {
    auto* page = new QWidget;
    auto* outer = new QHBoxLayout(page);
    frm_AO = named(captioned(new QGroupBox(page), "frm_AO"), "frm_AO");
    outer->addWidget(frm_AO, 0, Qt::AlignTop); // rows a model does not have leave no gap
    auto* ao = new QVBoxLayout(frm_AO);
    auto* Picture2 = named(new QWidget(frm_AO), "Picture2");
    ao->addWidget(Picture2);
    auto* grid = new QGridLayout(Picture2);
    grid->addWidget(named(captioned(new QLabel(Picture2), "Label17"), "Label17"), 0, 0);
    grid->addWidget(named(captioned(new QLabel(Picture2), "Label20"), "Label20"), 0, 1);
    grid->addWidget(named(captioned(new QLabel(Picture2), "Label19"), "Label19"), 0, 3);
    for (size_t k = 0; k < 8; ++k) {
        const int r = static_cast<int>(k) + 1;
        cmb_Out[k] = named(new QComboBox(Picture2), element("cmb_Out", r - 1));
        txt_Safe[k] = named(new QLineEdit(Picture2), element("txt_Safe", r - 1));
        outRow[k] = {named(new QLineEdit(Picture2), element("txt_Output", r - 1)),
                     idleButton("Write", Picture2, element("cmd_Output", r - 1)), txt_Safe[k]};
        grid->addWidget(cmb_Out[k], r, 0);
        grid->addWidget(outRow[k][0], r, 1);
        grid->addWidget(outRow[k][1], r, 2);
        grid->addWidget(txt_Safe[k], r, 3);
        connect(cmb_Out[k], &QComboBox::activated, this,
                [this, k](int i) { model_.OutTypes[k].Selected = i; });
        connect(txt_Safe[k], &QLineEdit::textEdited, this,
                [this, k](const QString& t) { model_.Safe[k] = t.toLatin1().toStdString(); });
    }
    // Set All: the types (0) and the safe values (1) have their writes; the output values (2) not.
    auto* setTypes = named(new QPushButton("Set All", Picture2), element("cmd_Set", 0));
    grid->addWidget(setTypes, 9, 0);
    auto* buttons = new QHBoxLayout;
    auto* setSafe = named(new QPushButton("Set All Safe", frm_AO), element("cmd_Set", 1));
    buttons->addWidget(idleButton("Set All Outputs", frm_AO, element("cmd_Set", 2)));
    buttons->addWidget(setSafe);
    ao->addLayout(buttons);
    connect(setTypes, &QPushButton::clicked, this, [this] { model_.cmd_Set_Click(0); });
    connect(setSafe, &QPushButton::clicked, this, [this] { model_.cmd_Set_Click(1); });

    auto* cal = named(new QGroupBox("Output Calibration", page), "frm_Out_Cal");
    auto* calGrid = new QGridLayout(cal);
    calGrid->addWidget(named(captioned(new QLabel(cal), "Label13(0)"), "Label13(0)"), 0, 1);
    calGrid->addWidget(named(new QLabel("Span", cal), "Label13(1)"), 0, 2);
    for (int k = 0; k < 8; ++k) {
        calGrid->addWidget(new QLabel(QString::number(k), cal), k + 1, 0);
        calGrid->addWidget(named(new QLineEdit(cal), element("txt_Out_Zero", k)), k + 1, 1);
        calGrid->addWidget(named(new QLineEdit(cal), element("txt_Out_Span", k)), k + 1, 2);
        calGrid->addWidget(idleButton("Cal", cal, element("cmd_Out_Cal", k)), k + 1, 3);
    }
    outer->addWidget(cal, 0, Qt::AlignTop);
    return page;
}

QWidget* frm_Config2::buildDigitalIn() {
    auto* page = named(captioned(new QGroupBox, "frm_DI"), "frm_DI");
    auto* grid = new QGridLayout(page);
    for (size_t k = 0; k < DI.size(); ++k) {
        DI[k] = named(new QGroupBox(QString::number(k), page), element("DI", static_cast<int>(k)));
        (new QHBoxLayout(DI[k]))->addWidget(named(newLed(DI[k]), element("Led", static_cast<int>(k))));
        grid->addWidget(DI[k], static_cast<int>(k) / 8, static_cast<int>(k) % 8);
    }
    grid->addWidget(captioned(idleButton("", page, "cmd_clear_latch"), "cmd_clear_latch"), 2, 0, 1, 2);
    return page;
}

// One column per output: its state, power-up state and safe state.
QWidget* frm_Config2::buildDigitalOut() {
    auto* page = named(captioned(new QGroupBox, "frm_DO"), "frm_DO");
    auto* grid = new QGridLayout(page);
    grid->addWidget(named(new QLabel("Output", page), element("Label2", 0)), 0, 0);
    grid->addWidget(named(new QLabel("PowerUp", page), element("Label2", 1)), 1, 0);
    grid->addWidget(named(captioned(new QLabel(page), "Label4"), "Label4"), 2, 0);
    auto* channels = new QHBoxLayout;
    for (size_t k = 0; k < frm_dout_ch.size(); ++k) {
        const int i = static_cast<int>(k);
        frm_dout_ch[k] = named(new QGroupBox(QString::number(k), page), element("frm_dout_ch", i));
        auto* box = new QVBoxLayout(frm_dout_ch[k]);
        for (const char* bit : {"chk_OutputBit", "chk_PupBit", "chk_SafeBit"})
            box->addWidget(named(new QCheckBox(frm_dout_ch[k]), element(bit, i)));
        channels->addWidget(frm_dout_ch[k]);
    }
    channels->addStretch();
    grid->addLayout(channels, 0, 1, 3, 1);
    grid->addWidget(idleButton("Write", page, element("cmd_Invia", 1)), 3, 1, Qt::AlignLeft);
    return page;
}

QWidget* frm_Config2::buildTrip() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    for (int k = 0; k < 4; ++k) {
        auto* trip = named(new QGroupBox(QString("Trip %1").arg(k), page), element("frm_Trip", k));
        auto* g = new QGridLayout(trip);
        g->addWidget(named(new QLabel("LO", trip), element("lbl_trip_lo", k)), 0, 0);
        g->addWidget(named(new QLineEdit(trip), element("txt_Trip_LO", k)), 0, 1);
        g->addWidget(named(new QLabel("HI", trip), element("lbl_trip_hi", k)), 1, 0);
        g->addWidget(named(new QLineEdit(trip), element("txt_Trip_HI", k)), 1, 1);
        g->addWidget(idleButton("Write", trip, element("cmd_Write_Trip", k)), 2, 1);
        grid->addWidget(trip, k / 2, k % 2);
    }
    grid->addWidget(idleButton("Update", page, element("cmd_Read", 7)), 2, 0);
    return page;
}

void frm_Config2::draw() {
    const ConfigWindow& m = model_;
    const ConfigLayout& l = m.Layout;
    auto caption = [&m](const char* control) {
        const auto it = m.Captions.find(control);
        return it == m.Captions.end() ? QString() : l1(it->second);
    };
    setWindowTitle(caption("frm_Config2"));
    Label1[0]->setText(caption("Label1(0)"));
    Label1[1]->setText(caption("Label1(1)"));
    cmd_Read0->setText(caption("cmd_Read(0)"));
    cmd_start->setText(caption("cmd_start"));
    cmd_stop->setText(caption("cmd_stop"));
    cmd_sync->setText(caption("cmd_sync"));
    for (const auto& [widget, control] : captioned_) {
        if (auto* label = qobject_cast<QLabel*>(widget))
            label->setText(caption(control));
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            button->setText(caption(control));
        else if (auto* box = qobject_cast<QGroupBox*>(widget))
            box->setTitle(caption(control));
    }
    if (Indirizzo->text().toLatin1().toStdString() != m.Indirizzo) Indirizzo->setText(l1(m.Indirizzo));
    cmd_start->setEnabled(!m.polling());
    cmd_Read0->setEnabled(!m.polling());

    {
        const QSignalBlocker block(modello);
        QStringList items;
        for (const auto& name : m.Models)
            items << l1(name);
        if (modello->count() != items.size()) {
            modello->clear();
            modello->addItems(items);
        }
        modello->setCurrentIndex(modello->findText(l1(m.Model), Qt::MatchExactly | Qt::MatchCaseSensitive));
        if (modello->currentText() != l1(m.Model)) modello->setEditText(l1(m.Model));
    }
    {
        const QSignalBlocker block(TabStrip1);
        TabStrip1->setCurrentIndex(m.Tab - 1);
    }
    for (size_t i = 0; i < pages_.size(); ++i)
        pages_[i]->setVisible(static_cast<int>(i) + 1 == l.Page);

    frm_RTC->setVisible(l.Rtc);
    frm_Disp->setVisible(l.Disp);
    fillCombo(txt_giorno, m.Day.Items, m.Day.Selected);
    fillCombo(txt_mese, m.Month.Items, m.Month.Selected);
    fillCombo(txt_anno, m.Year.Items, m.Year.Selected);
    MonthView1->setVisible(m.CalendarShown);
    for (size_t i = 0; i < Led_Ev.size(); ++i)
        paintLed(Led_Ev[i], m.Events[i]);

    drawPorts();
    drawAnalogIn();
    for (size_t k = 0; k < 8; ++k) {
        const bool shown = static_cast<int>(k) < l.OutRows;
        fillCombo(cmb_Out[k], m.OutTypes[k].Items, m.OutTypes[k].Selected);
        cmb_Out[k]->setVisible(shown);
        cmb_Out[k]->setEnabled(l.OutEnabled);
        for (QWidget* w : outRow[k])
            w->setVisible(shown);
        if (txt_Safe[k]->text().toLatin1().toStdString() != m.Safe[k]) txt_Safe[k]->setText(l1(m.Safe[k]));
    }
    for (size_t k = 0; k < DI.size(); ++k)
        DI[k]->setVisible(static_cast<int>(k) < l.Inputs);
    for (size_t k = 0; k < frm_dout_ch.size(); ++k)
        frm_dout_ch[k]->setVisible(static_cast<int>(k) < l.Outputs);
}

void frm_Config2::drawPorts() {
    const ConfigWindow& m = model_;
    for (size_t p = 0; p < 2; ++p) {
        fillCombo(cmb_baud[p], m.Baud[p].Items, m.Baud[p].Selected);
        fillCombo(cmb_par[p], m.Parity[p].Items, m.Parity[p].Selected);
        fillCombo(cmb_stop[p], m.StopBits[p].Items, m.StopBits[p].Selected);
    }
    Frm_com[0]->setVisible(m.Layout.Com0);
    Frm_com[1]->setVisible(m.Layout.Com1);
    for (QWidget* w : std::initializer_list<QWidget*>{cmb_par[0], cmb_stop[0], parLabel[0], stopLabel[0]})
        w->setEnabled(m.Layout.Com0ParStop);
}

void frm_Config2::drawAnalogIn() {
    const ConfigLayout& l = model_.Layout;
    for (size_t k = 0; k < 8; ++k) {
        const TypeRow& types = model_.Types[k];
        fillCombo(cmb_InputType[k], types.Items, types.Selected);
        cmb_InputType[k]->setEnabled(types.Enabled);
        for (size_t b = 0; b < 7; ++b)
            aiRow[k][b]->setVisible(l.AiRows[k] & (1u << b));
    }
    const uint16_t x = l.AiExtras;
    Label9[2]->setVisible(x & HeadEn);
    Label9[4]->setVisible(x & HeadBr);
    Label9[5]->setVisible(x & HeadSync);
    Label9[6]->setVisible(x & HeadOffset);
    cmd_Invia6->setVisible(x & ButtonWrite);
    cmd_Invia6->setEnabled(model_.readsInputTypes());
    cmd_sync->setVisible(x & ButtonSync);
}
