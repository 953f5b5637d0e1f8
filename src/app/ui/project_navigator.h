#pragma once
// frm_Progetto: a narrow tree of the project's pages; a double-click opens the page.
#include <functional>
#include <QTreeWidget>

class ProjectNavigator : public QTreeWidget {
    Q_OBJECT
  public:
    // openSettings opens the settings dialog on its connection page; openProgram shows the program view
    // from its first rung.
    ProjectNavigator(std::function<void()> openSettings, std::function<void()> openProgram,
                     QWidget* parent = nullptr);
    void Lista_DblClick();

  private:
    std::function<void()> openSettings_;
    std::function<void()> openProgram_;
};
