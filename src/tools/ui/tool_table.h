#pragma once
// The list tables of the tool windows (read-only rows of texts, one row selected at a time) and their
// rows of keys.
#include <initializer_list>
#include <QStringList>
#include <string>
#include <vector>

class QHBoxLayout;
class QPushButton;
class QTableWidget;

QTableWidget* makeToolTable(const QStringList& headers);
void fillTable(QTableWidget& table, const std::vector<std::vector<std::string>>& rows);
// The keys side by side from the left.
QHBoxLayout* keyRow(std::initializer_list<QPushButton*> keys);
