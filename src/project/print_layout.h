#pragma once
// The module Stampa without a printer: lays the project listing out as drawing commands in printer
// units (twips) that a printer adapter replays page by page.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/app_context.h"
#include "fbeditor/rung_row.h"

struct PrintCommand {
    enum Kind { Text, Picture, Rule, NewPage } kind = Text;
    int x = 0, y = 0;
    // Text: its font. Picture: the resource number and size. Rule: its end point.
    std::string text;
    int fontSize = 0;
    bool bold = false;
    uint16_t picture = 0;
    int width = 0, height = 0;
    int x2 = 0, y2 = 0;
    bool operator==(const PrintCommand&) const = default;
};

// What the printer reports: its page size and the height of a text in a font, all in twips.
struct PrintMetrics {
    int W = 0;
    int H = 0;
    std::function<int(const std::string& text, int fontSize, bool bold)> textHeight;
};

class Stampa {
  public:
    explicit Stampa(PrintMetrics metrics) : m_(std::move(metrics)) {}

    // The whole listing: header, project name and controller, section 0 rung by rung with rows[i - 1]
    // giving rung i's program view row, and the register legend.
    void StampaProgetto(const AppContext& ctx, const std::vector<RungRow>& rows);

    const std::vector<PrintCommand>& commands() const { return out_; }

    // Positions are whole twips; a page taller than 16 bits of twips still breaks where it should.
    int PrintY = 0;
    int PrintNextY = 0;
    uint8_t PrintPage = 1;
    std::array<std::string, 3> PrintColumns;

  private:
    void StampaTesto(const std::string& text, int y, int x, bool advance);
    void StampaRiga(int h);
    void StampaLinea(uint16_t picture, int y, int x, int s);
    void StampaColonne(const std::string& a, const std::string& b);
    void StampaColonne2(const std::string& a, const std::string& b, const std::string& c);
    void Intestazione(const std::string& text);
    void TestaPagina();
    void ControllaFinePagina(int y);
    int column(int eighths) const { return m_.W * eighths / 8 + Margin; }
    void printRung(const AppContext& ctx, int i, const RungRow& row);
    void printRegisters(const AppContext& ctx);

    static constexpr int Margin = 200;
    PrintMetrics m_;
    int fontSize_ = 10;
    bool bold_ = false;
    bool inHeader_ = false;
    std::vector<PrintCommand> out_;
};

// The program view rows of section 0's rungs 1..count, rebuilt through the function-block editor on a
// copy of the project so that printing leaves the project as it was.
std::vector<RungRow> printRows(const AppContext& ctx);
