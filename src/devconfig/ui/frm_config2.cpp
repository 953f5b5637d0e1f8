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

// The write buttons of panels whose module registers this window does not know yet.
QPushButton* idleButton(const char* text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
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

frm_Config2::frm_Config2(ConfigWindow& model, QWidget* parent) : QWidget(parent), model_(model) {
    setObjectName("frm_Config2");
    auto* top = new QHBoxLayout;
    Label1[0] = new QLabel(this);
    Indirizzo = new QLineEdit(this);
    Indirizzo->setMaximumWidth(60);
    Label1[1] = new QLabel(this);
    modello = new QComboBox(this);
    modello->setEditable(true); // the eight-channel variant is typed, it is in no list
    modello->setInsertPolicy(QComboBox::NoInsert);
    modello->setMinimumWidth(160);
    cmd_Read0 = new QPushButton(this);
    cmd_start = new QPushButton(this);
    cmd_stop = new QPushButton(this);
    for (QWidget* w : std::initializer_list<QWidget*>{Label1[0], Indirizzo, Label1[1], modello, cmd_Read0,
                                                      cmd_start, cmd_stop})
        top->addWidget(w);
    top->addStretch();

    TabStrip1 = new QTabBar(this);
    for (const char* caption : ConfigTabCaptions)
        TabStrip1->addTab(caption);
    auto* pagesHost = new QWidget;
    auto* pagesLayout = new QVBoxLayout(pagesHost);
    pages_ = {buildSystem(),    buildEthernet(),  buildComm(),       buildAnalogIn(),
              buildAnalogOut(), buildDigitalIn(), buildDigitalOut(), buildTrip()};
    for (QWidget* page : pages_)
        pagesLayout->addWidget(page);
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

    frm_Disp = captioned(new QGroupBox(page), "frm_Disp");
    auto* disp = new QGridLayout(frm_Disp);
    disp->addWidget(captioned(new QRadioButton(frm_Disp), "opt_DispMode(0)"), 0, 0);
    disp->addWidget(captioned(new QRadioButton(frm_Disp), "opt_DispMode(1)"), 0, 1);
    disp->addWidget(captioned(new QLabel(frm_Disp), "lbl_Lumin"), 1, 0);
    disp->addWidget(new QSlider(Qt::Horizontal, frm_Disp), 1, 1);
    disp->addWidget(captioned(new QLabel(frm_Disp), "lbl_Contr"), 2, 0);
    disp->addWidget(new QSlider(Qt::Horizontal, frm_Disp), 2, 1);
    disp->addWidget(idleButton("Write", frm_Disp), 3, 1);

    frm_RTC = captioned(new QGroupBox(page), "frm_RTC");
    auto* rtc = new QGridLayout(frm_RTC);
    txt_giorno = new QComboBox(frm_RTC);
    txt_mese = new QComboBox(frm_RTC);
    txt_anno = new QComboBox(frm_RTC);
    rtc->addWidget(txt_giorno, 0, 0);
    rtc->addWidget(txt_mese, 0, 1);
    rtc->addWidget(txt_anno, 0, 2);
    auto* calendar = new QPushButton("...", frm_RTC);
    calendar->setObjectName("cmd_calendar");
    rtc->addWidget(calendar, 0, 3);
    for (int i = 0; i < 3; ++i)
        rtc->addWidget(new QLineEdit(frm_RTC), 1, i);
    rtc->addWidget(idleButton("Write", frm_RTC), 1, 3);
    MonthView1 = new QCalendarWidget(frm_RTC);
    rtc->addWidget(MonthView1, 2, 0, 1, 4);
    connect(calendar, &QPushButton::clicked, this, [this] { model_.cmd_calendar_Click(); });
    connect(MonthView1, &QCalendarWidget::clicked, this,
            [this](QDate d) { model_.MonthView1_DateClick(d.year(), d.month(), d.day()); });
    connect(txt_giorno, &QComboBox::activated, this, [this](int i) { model_.Day.Selected = i; });
    connect(txt_mese, &QComboBox::activated, this, [this](int i) { model_.Month.Selected = i; });
    connect(txt_anno, &QComboBox::activated, this, [this](int i) { model_.Year.Selected = i; });

    frm_PupSafe = captioned(new QGroupBox(page), "frm_PupSafe");
    auto* events = new QGridLayout(frm_PupSafe);
    const char* rows[] = {"Label18(1)", "Label18(0)", "Label21"};
    for (int i = 0; i < 3; ++i) {
        events->addWidget(captioned(new QLabel(frm_PupSafe), rows[i]), i, 0);
        Led_Ev[static_cast<size_t>(i)] = newLed(frm_PupSafe);
        events->addWidget(Led_Ev[static_cast<size_t>(i)], i, 1);
        auto* toggle = new QPushButton("Toggle", frm_PupSafe);
        events->addWidget(toggle, i, 2);
        connect(toggle, &QPushButton::clicked, this, [this, i] { model_.cmd_Toggle_Click(i); });
    }

    Frm_Prog = captioned(new QGroupBox(page), "Frm_Prog");
    auto* prog = new QGridLayout(Frm_Prog);
    const char* progLabels[] = {"Label10", "Label6", "Label5"};
    for (int i = 0; i < 3; ++i) {
        prog->addWidget(captioned(new QLabel(Frm_Prog), progLabels[i]), i, 0);
        prog->addWidget(new QLineEdit(Frm_Prog), i, 1);
    }
    prog->addWidget(idleButton("Write", Frm_Prog), 3, 1);

    grid->addWidget(Frm_Prog, 0, 0);
    grid->addWidget(frm_PupSafe, 0, 1);
    grid->addWidget(frm_RTC, 1, 0);
    grid->addWidget(frm_Disp, 1, 1);
    return page;
}

QWidget* frm_Config2::buildEthernet() {
    auto* page = new QGroupBox;
    auto* grid = new QGridLayout(page);
    for (int i = 0; i < 22; ++i)
        grid->addWidget(new QLineEdit(page), i / 4, i % 4);
    grid->addWidget(new QCheckBox("DHCP", page), 6, 0);
    grid->addWidget(idleButton("Write", page), 6, 3);
    return page;
}

QWidget* frm_Config2::buildComm() {
    auto* page = new QWidget;
    auto* row = new QHBoxLayout(page);
    for (size_t p = 0; p < 2; ++p) {
        Frm_com[p] = captioned(new QGroupBox(page), p == 0 ? "Frm_com(0)" : "Frm_com(1)");
        auto* grid = new QGridLayout(Frm_com[p]);
        cmb_baud[p] = new QComboBox(Frm_com[p]);
        cmb_par[p] = new QComboBox(Frm_com[p]);
        cmb_stop[p] = new QComboBox(Frm_com[p]);
        parLabel[p] = new QLabel("Par", Frm_com[p]);
        stopLabel[p] = new QLabel("Stop bit", Frm_com[p]);
        grid->addWidget(captioned(new QLabel(Frm_com[p]), p == 0 ? "Label8(0)" : "Label8(1)"), 0, 0);
        grid->addWidget(cmb_baud[p], 0, 1);
        grid->addWidget(parLabel[p], 1, 0);
        grid->addWidget(cmb_par[p], 1, 1);
        grid->addWidget(stopLabel[p], 2, 0);
        grid->addWidget(cmb_stop[p], 2, 1);
        grid->addWidget(captioned(new QLabel(Frm_com[p]), p == 0 ? "Label11(0)" : "Label11(1)"), 3, 0);
        grid->addWidget(new QLineEdit(Frm_com[p]), 3, 1);
        grid->addWidget(idleButton("Write", Frm_com[p]), 4, 1);
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
    cmd_sync = new QPushButton(page);
    cmd_sync->setToolTip("40001 = 0010h - Synchonize");
    cmd_Invia6 = new QPushButton("Write", page);
    grid->addWidget(cmd_sync, 9, 5);
    grid->addWidget(cmd_Invia6, 9, 6);
    connect(cmd_sync, &QPushButton::clicked, this, [this] { model_.cmd_sync_Click(); });
    connect(cmd_Invia6, &QPushButton::clicked, this, [this] { model_.cmd_Invia_Click(6); });
    return page;
}

QWidget* frm_Config2::buildAnalogOut() {
    auto* page = new QWidget;
    auto* outer = new QVBoxLayout(page);
    frm_AO = captioned(new QGroupBox(page), "frm_AO");
    outer->addWidget(frm_AO);
    auto* grid = new QGridLayout(frm_AO);
    grid->addWidget(captioned(new QLabel(frm_AO), "Label17"), 0, 0);
    grid->addWidget(captioned(new QLabel(frm_AO), "Label20"), 0, 1);
    grid->addWidget(captioned(new QLabel(frm_AO), "Label19"), 0, 3);
    for (size_t k = 0; k < 8; ++k) {
        const int r = static_cast<int>(k) + 1;
        cmb_Out[k] = new QComboBox(frm_AO);
        txt_Safe[k] = new QLineEdit(frm_AO);
        outRow[k] = {new QLineEdit(frm_AO), idleButton("Write", frm_AO), txt_Safe[k]};
        grid->addWidget(cmb_Out[k], r, 0);
        grid->addWidget(outRow[k][0], r, 1);
        grid->addWidget(outRow[k][1], r, 2);
        grid->addWidget(txt_Safe[k], r, 3);
        connect(cmb_Out[k], &QComboBox::activated, this,
                [this, k](int i) { model_.OutTypes[k].Selected = i; });
        connect(txt_Safe[k], &QLineEdit::textEdited, this,
                [this, k](const QString& t) { model_.Safe[k] = t.toLatin1().toStdString(); });
    }
    for (int i = 0; i < 2; ++i) {
        auto* set = new QPushButton("Set All", frm_AO);
        grid->addWidget(set, 9, i == 0 ? 0 : 3);
        connect(set, &QPushButton::clicked, this, [this, i] { model_.cmd_Set_Click(i); });
    }
    return page;
}

QWidget* frm_Config2::buildDigitalIn() {
    auto* page = captioned(new QGroupBox, "frm_DI");
    auto* grid = new QGridLayout(page);
    for (size_t k = 0; k < DI.size(); ++k) {
        DI[k] = new QGroupBox(QString::number(k), page);
        (new QHBoxLayout(DI[k]))->addWidget(newLed(DI[k]));
        grid->addWidget(DI[k], static_cast<int>(k) / 8, static_cast<int>(k) % 8);
    }
    grid->addWidget(captioned(idleButton("", page), "cmd_clear_latch"), 2, 0, 1, 2);
    return page;
}

QWidget* frm_Config2::buildDigitalOut() {
    auto* page = captioned(new QGroupBox, "frm_DO");
    auto* grid = new QGridLayout(page);
    for (size_t k = 0; k < frm_dout_ch.size(); ++k) {
        frm_dout_ch[k] = new QGroupBox(QString::number(k), page);
        auto* box = new QVBoxLayout(frm_dout_ch[k]);
        for (int bit = 0; bit < 3; ++bit)
            box->addWidget(new QCheckBox(frm_dout_ch[k]));
        grid->addWidget(frm_dout_ch[k], 0, static_cast<int>(k));
    }
    grid->addWidget(captioned(new QLabel(page), "Label4"), 1, 0);
    grid->addWidget(idleButton("Write", page), 1, 1, 1, 2);
    return page;
}

QWidget* frm_Config2::buildTrip() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    for (int k = 0; k < 4; ++k) {
        auto* trip = new QGroupBox(QString("Trip %1").arg(k), page);
        auto* g = new QGridLayout(trip);
        g->addWidget(new QLabel("LO", trip), 0, 0);
        g->addWidget(new QLineEdit(trip), 0, 1);
        g->addWidget(new QLabel("HI", trip), 1, 0);
        g->addWidget(new QLineEdit(trip), 1, 1);
        g->addWidget(idleButton("Write", trip), 2, 1);
        grid->addWidget(trip, k / 2, k % 2);
    }
    grid->addWidget(idleButton("Update", page), 2, 0);
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
