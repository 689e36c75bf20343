// Builds menus and keeps their items in step with the update handlers.
#include "ui/qt/menu_builder.h"

#include "platform/resources.h"
#include "ui/command_router.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {
constexpr const char* kIdProperty = "orduneCommand";
}

void UpdateCommandAction(QAction* action, unsigned id)
{
    CCmdUI ui(id);
    CommandRouter().UpdateCommandUI(ui);
    action->setEnabled(ui.m_Enabled);
    // A check mark only while the handler sets one: an item that can never
    // be checked shows no empty box beside it.
    action->setCheckable(ui.m_Check != 0);
    action->setChecked(ui.m_Check != 0);
    if (ui.m_TextSet)
        action->setText(QString::fromStdString(ui.m_Text));
}

void CQtMenuBuilder::FillMenuBar(QMenuBar* bar, const CMenuNode& menu)
{
    for (const CMenuNode& title : menu.items) {
        if (!title.IsPopup())
            continue;
        QMenu* popup = bar->addMenu(QString::fromStdString(title.text));
        AddItems(popup, title);
    }
}

QMenu* CQtMenuBuilder::BuildPopup(const CMenuNode& menu, QWidget* parent)
{
    auto* popup = new QMenu(parent);
    if (!menu.items.empty())
        AddItems(popup, menu.items.front());
    return popup;
}

void CQtMenuBuilder::AddItems(QMenu* menu, const CMenuNode& node)
{
    connect(menu, &QMenu::aboutToShow, menu, [menu] { UpdateMenu(menu); });
    for (const CMenuNode& item : node.items) {
        if (item.separator) {
            menu->addSeparator();
        } else if (item.IsPopup()) {
            AddItems(menu->addMenu(QString::fromStdString(item.text)), item);
        } else {
            QAction* action = menu->addAction(QString::fromStdString(item.text));
            unsigned id = item.id;
            action->setProperty(kIdProperty, id);
            action->setObjectName(QStringLiteral("command%1").arg(id));
            std::string prompt = LoadResString(id);
            action->setStatusTip(QString::fromStdString(prompt.substr(0, prompt.find('\n'))));
            connect(action, &QAction::triggered, this, [id] { CommandRouter().Dispatch(id); });
            m_Actions[id].push_back(action);
        }
    }
}

const std::vector<QAction*>& CQtMenuBuilder::Actions(unsigned id) const
{
    static const std::vector<QAction*> none;
    auto it = m_Actions.find(id);
    return it == m_Actions.end() ? none : it->second;
}

void CQtMenuBuilder::UpdateMenu(QMenu* menu)
{
    for (QAction* action : menu->actions()) {
        QVariant id = action->property(kIdProperty);
        if (id.isValid())
            UpdateCommandAction(action, id.toUInt());
    }
}
