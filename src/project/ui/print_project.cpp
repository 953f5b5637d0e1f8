#include "project/ui/print_project.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace {

constexpr double TwipsPerInch = 1440.0;

QFont printFont(int size, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSize(size > 0 ? size : 8);
    f.setBold(bold);
    return f;
}

// Twips to device pixels and back, by the printer's resolution.
struct Scale {
    double dpi;
    double px(int twips) const { return twips * dpi / TwipsPerInch; }
    int twips(double px) const { return static_cast<int>(px * TwipsPerInch / dpi + 0.5); }
};

// Function pictures have no bitmaps of their own here: a framed box with the picture number.
void drawPicture(QPainter& p, const QRectF& box, uint16_t picture) {
    p.save();
    p.setPen(QPen(Qt::darkGray, 0));
    p.drawRoundedRect(box, box.width() / 10, box.width() / 10);
    p.setFont(printFont(6, false));
    p.drawText(box, Qt::AlignCenter, QString::number(picture));
    p.restore();
}

} // namespace

PrintMetrics printerMetrics(QPrinter& printer) {
    const Scale s{static_cast<double>(printer.resolution())};
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    QPrinter* device = &printer;
    return {s.twips(page.width()), s.twips(page.height()),
            [s, device](const std::string& text, int size, bool bold) {
                const QFontMetrics fm(printFont(size, bold), device);
                (void)text; // every line of one font is as high as the font
                return s.twips(fm.height());
            }};
}

bool drawListing(const std::vector<PrintCommand>& commands, QPrinter& printer) {
    QPainter p;
    if (!p.begin(&printer)) return false;
    const Scale s{static_cast<double>(printer.resolution())};
    for (const PrintCommand& c : commands) {
        switch (c.kind) {
        case PrintCommand::Text: {
            p.setFont(printFont(c.fontSize, c.bold));
            const QFontMetricsF fm(p.font(), &printer);
            p.drawText(QPointF(s.px(c.x), s.px(c.y) + fm.ascent()),
                       QString::fromLatin1(c.text.data(), static_cast<qsizetype>(c.text.size())));
            break;
        }
        case PrintCommand::Picture:
            drawPicture(p, QRectF(s.px(c.x), s.px(c.y), s.px(c.width), s.px(c.height)), c.picture);
            break;
        case PrintCommand::Rule:
            p.setPen(QPen(Qt::black, 0));
            p.drawLine(QPointF(s.px(c.x), s.px(c.y)), QPointF(s.px(c.x2), s.px(c.y2)));
            break;
        case PrintCommand::NewPage:
            if (!printer.newPage()) {
                p.end();
                return false;
            }
            break;
        }
    }
    return p.end();
}

bool printProject(const AppContext& ctx, QPrinter& printer) {
    Stampa s(printerMetrics(printer));
    s.StampaProgetto(ctx, printRows(ctx));
    return drawListing(s.commands(), printer);
}

bool printProjectOrTell(const AppContext& ctx, QPrinter& printer) {
    if (printProject(ctx, printer)) return true;
    const std::string name = printer.printerName().toLatin1().toStdString();
    const std::string text = "The project could not be printed: the printer" +
                             (name.empty() ? "" : " " + name) + " reported an error.";
    ctx.shell.log.LogWrite(text);
    ctx.dialogs.messageBox(text, MsgButtons::Ok, MsgIcon::Critical);
    return false;
}

void StampaProgetto(const AppContext& ctx, QWidget* parent) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) return;
    printProjectOrTell(ctx, printer);
}
