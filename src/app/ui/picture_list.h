#pragma once
// ImageList1: the program's pictures under their keys. Start-up (CaricaImmagini) only notes which
// pictures the program holds; each is drawn the first time a window asks for it, once, at the small size
// the toolbar, title bars and trees show it, and kept.
#include <QIcon>
#include <QMap>
#include <QSet>
#include <QString>

class PictureList {
  public:
    void CaricaImmagini();
    // An empty icon for a key that is not in the list.
    QIcon picture(const QString& key) const;
    qsizetype size() const { return keys_.size(); }

  private:
    QSet<QString> keys_;
    mutable QMap<QString, QIcon> drawn_;
};

// The application icon (the main window's and the about box's).
QIcon applicationIcon();
