// Qt menus from menu resources. Every item's action sends its command id to
// the command router; before a menu opens, the router's update handlers set
// each item's enabled state, check mark and text.
#pragma once

#include "ui/menu_resource.h"

#include <QObject>
#include <map>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

class CQtMenuBuilder : public QObject {
    Q_OBJECT
public:
    explicit CQtMenuBuilder(QObject* parent = nullptr) : QObject(parent) {}

    // Fills `bar` with the titles of main menu `menu` and their items.
    void FillMenuBar(QMenuBar* bar, const CMenuNode& menu);
    // A context menu: the items of the first popup of `menu`.
    QMenu* BuildPopup(const CMenuNode& menu, QWidget* parent);

    // The actions of command `id` (a command may sit in several menus).
    const std::vector<QAction*>& Actions(unsigned id) const;

    // Runs the update handlers of every item of `menu` (what opening it does).
    static void UpdateMenu(QMenu* menu);

private:
    std::map<unsigned, std::vector<QAction*>> m_Actions;
    void AddItems(QMenu* menu, const CMenuNode& node);
};

// Sets `action` from the router's update handlers for its command id.
void UpdateCommandAction(QAction* action, unsigned id);
