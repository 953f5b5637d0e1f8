#pragma once
// The list tables of the tool windows: read-only rows of texts, one row selected at a time.
#include <QStringList>
#include <string>
#include <vector>

class QTableWidget;

QTableWidget* makeToolTable(const QStringList& headers);
void fillTable(QTableWidget& table, const std::vector<std::vector<std::string>>& rows);
