#pragma once
// Esporta: the project's whole controller memory (program image and side areas) into one binary file,
// optionally behind a 256-byte header.
#include <string>

#include "program/transfer/export_layout.h"
#include "program/transfer/transfer_view.h"

struct AppContext;

// Asks for the file (its extension is added when the name lacks it), compiles, encodes and writes it;
// true when the file was written. A failed compile logs "Export Failed"; a file that cannot be written
// says why in the log and a message box, before the compile when the place cannot take it. No partial
// file is left behind, and the project's own name and path stay as they were.
bool Esporta(AppContext& app, const TransferView& view, bool header, bool areas);

// How this build lays out its export file.
struct ExportFormat {
    const ExportSectionTable* sections = &ExportLayoutB;
    bool layoutA = false;
    std::string magic = "MELQO";
    std::string filter = " (*.mlq)|*.mlq|(*.*)|*.*|";
    std::string extension = ".mlq";
    int firstTextBlock = 0;
};
ExportFormat BuildExportFormat();

// Esporta with a given format (tests reach the other layout through it).
bool EsportaFormat(AppContext& app, const TransferView& view, bool header, bool areas, const ExportFormat& format);
