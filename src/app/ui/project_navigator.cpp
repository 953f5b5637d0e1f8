#include "app/ui/project_navigator.h"

#include <QHeaderView>

ProjectNavigator::ProjectNavigator(std::function<void()> openSettings, std::function<void()> openProgram,
                                   QWidget* parent)
    : QTreeWidget(parent), openSettings_(std::move(openSettings)), openProgram_(std::move(openProgram)) {
    setObjectName("frm_Progetto");
    setWindowTitle("Project");
    header()->hide();
    // Only the pages this build can open are listed.
    for (const char* node : {"Settings", "Programma"})
        addTopLevelItem(new QTreeWidgetItem(QStringList{node}));
    connect(this, &QTreeWidget::itemDoubleClicked, this, &ProjectNavigator::Lista_DblClick);
}

void ProjectNavigator::Lista_DblClick() {
    QTreeWidgetItem* node = currentItem();
    if (!node) return;
    if (node->text(0) == "Settings") openSettings_();
    if (node->text(0) == "Programma") openProgram_();
}
