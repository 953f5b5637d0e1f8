#pragma once
// ImageList1: the program's pictures under their keys, filled once at start-up (CaricaImmagini).
#include <QIcon>
#include <QMap>
#include <QString>

class PictureList {
  public:
    void CaricaImmagini();
    // An empty icon for a key that is not in the list.
    QIcon picture(const QString& key) const { return pictures_.value(key); }
    qsizetype size() const { return pictures_.size(); }

  private:
    QMap<QString, QIcon> pictures_;
};

// The application icon (the main window's and the about box's).
QIcon applicationIcon();
