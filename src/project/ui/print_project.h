#pragma once
// The printer side of the project listing: the printer dialog, the printer's metrics in twips, and the
// laid-out commands drawn page by page with QPainter.
#include <vector>

#include "project/print_layout.h"

class QPrinter;
class QWidget;

// What the printer reports, in twips.
PrintMetrics printerMetrics(QPrinter& printer);
// Draws the commands; false when the printer fails (the job then ends where it is).
bool drawListing(const std::vector<PrintCommand>& commands, QPrinter& printer);
// Lays the project out for this printer and draws it.
bool printProject(const AppContext& ctx, QPrinter& printer);
// The same, and a printer that fails is told in a message and in the log.
bool printProjectOrTell(const AppContext& ctx, QPrinter& printer);
// mnu_print: the printer dialog, then the job. Cancel ends it without a message, a failure with one.
void StampaProgetto(const AppContext& ctx, QWidget* parent);
