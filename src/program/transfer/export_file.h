#pragma once
// Esporta: the project's whole controller memory (program image and side areas) into one binary file,
// optionally behind a 256-byte header.
#include <string>

#include "program/transfer/export_layout.h"
#include "program/transfer/transfer_view.h"

struct AppContext;

// Asks for the file, compiles, encodes and writes it; true when the file was written. A failed compile
// or a failed write logs "Export Failed" and leaves no file behind.
bool Esporta(AppContext& app, const TransferView& view, bool header, bool areas);

// How this build lays out its export file.
struct ExportFormat {
    const ExportSectionTable* sections = &ExportLayoutB;
    bool layoutA = false;
    std::string magic = "MELQO";
    std::string filter = " (*.mlq)|*.mlq|(*.*)|*.*|";
    int firstTextBlock = 0;
};
ExportFormat BuildExportFormat();

// Esporta with a given format (tests reach the other layout through it).
bool EsportaFormat(AppContext& app, const TransferView& view, bool header, bool areas, const ExportFormat& format);
