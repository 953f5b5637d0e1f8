#pragma once
// frm_Progetto: a narrow tree of the project's pages; a double-click opens the page.
#include <functional>
#include <QTreeWidget>

class ProjectNavigator : public QTreeWidget {
    Q_OBJECT
  public:
    // openSettings opens the settings dialog on its connection page.
    explicit ProjectNavigator(std::function<void()> openSettings, QWidget* parent = nullptr);
    void Lista_DblClick();

  private:
    std::function<void()> openSettings_;
};
