#include "app/ui/project_navigator.h"

#include <QHeaderView>

ProjectNavigator::ProjectNavigator(std::function<void()> openSettings, QWidget* parent)
    : QTreeWidget(parent), openSettings_(std::move(openSettings)) {
    setObjectName("frm_Progetto");
    setWindowTitle("Project");
    header()->hide();
    // Only the pages this build can open are listed.
    addTopLevelItem(new QTreeWidgetItem(QStringList{"Settings"}));
    connect(this, &QTreeWidget::itemDoubleClicked, this, &ProjectNavigator::Lista_DblClick);
}

void ProjectNavigator::Lista_DblClick() {
    QTreeWidgetItem* node = currentItem();
    if (!node) return;
    if (node->text(0) == "Settings") openSettings_();
}
