#include "platform/forms/menu.h"

#include "platform/forms/control.h"
#include "platform/forms/mdi_form.h"
#include "platform/vb/error.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

namespace forms {

MenuItem::MenuItem(QMenuBar* bar, const std::string& caption) {
    m_action = new QAction(bar);
    bar->addAction(m_action);
    init(caption);
}

MenuItem::MenuItem(MenuItem& parent, const std::string& caption) : QObject() {
    QMenu* m = parent.menu();
    m_action = new QAction(m);
    if (m) m->addAction(m_action);
    init(caption);
}

MenuItem::MenuItem(MenuItem& parent, QAction* before, const std::string& caption) {
    QMenu* m = parent.menu();
    m_action = new QAction(m);
    if (m) m->insertAction(before, m_action);
    init(caption);
}

MenuItem::~MenuItem() {
    delete m_action;
    delete m_menu;
}

void MenuItem::init(const std::string& caption) {
    setCaption(caption);
    connect(m_action, &QAction::triggered, this, [this] {
        if (!m_menu) fire(Click);
    });
}

QMenu* MenuItem::menu() {
    if (!m_menu && m_action) {
        m_menu = new QMenu;
        m_menu->setTitle(m_action->text());
        m_action->setMenu(m_menu);
        connect(m_menu, &QMenu::aboutToShow, this, [this] {
            fire(Click);
            if (!m_windowList) return;
            // The list of child windows is rebuilt at every opening.
            for (QAction* a : m_menu->actions())
                if (a->property("zuvWindowList").toBool()) {
                    m_menu->removeAction(a);
                    a->deleteLater();
                }
            const auto kids = m_windowList->children();
            if (kids.empty()) return;
            QAction* sep = m_menu->addSeparator();
            sep->setProperty("zuvWindowList", true);
            int n = 0;
            for (Form* f : kids) {
                if (!f->Visible()) continue;
                QAction* a = m_menu->addAction(QStringLiteral("&%1 %2").arg(++n).arg(f->windowTitle()));
                a->setProperty("zuvWindowList", true);
                a->setCheckable(true);
                a->setChecked(f == m_windowList->ActiveForm());
                QPointer<Form> target(f);
                connect(a, &QAction::triggered, this, [target] {
                    if (target && target->isLoaded()) target->Show();
                });
            }
        });
    }
    return m_menu;
}

void MenuItem::setWindowList(MdiForm* main) {
    m_windowList = main;
    menu();
}

void MenuItem::setCaption(const std::string& c) {
    m_caption = c;
    if (!m_action) return;
    m_action->setSeparator(c == "-");
    // A separator shows its line only: some styles print a separator's text beside it.
    m_action->setText(c == "-" ? QString() : QString::fromStdString(c));
    if (m_menu) m_menu->setTitle(m_action->text());
}

bool MenuItem::Enabled() const { return m_action && m_action->isEnabled(); }
void MenuItem::setEnabled(bool on) {
    if (m_action) m_action->setEnabled(on);
}
bool MenuItem::Visible() const { return m_action && m_action->isVisible(); }
void MenuItem::setVisible(bool on) {
    if (m_action) m_action->setVisible(on);
}

void MenuItem::setShortcut(const QKeySequence& k) {
    if (!m_action) return;
    m_action->setShortcut(k);
    m_action->setShortcutContext(Qt::WindowShortcut);
}

void MenuItem::choose() {
    if (!m_action || !m_action->isEnabled() || !m_action->isVisible() || m_action->isSeparator()) return;
    if (m_menu) {
        fire(Click);
        return;
    }
    m_action->trigger();
}

// ---------------------------------------------------------------- MenuArray

MenuArray::MenuArray(MenuItem& parent, const std::string& caption0) : m_parent(parent) {
    m_items[0] = std::make_unique<MenuItem>(parent, caption0);
    wire(0);
}

MenuItem& MenuArray::operator()(int index) {
    auto it = m_items.find(index);
    if (it == m_items.end())
        throw vb::Error(vb::err::ControlArrayElementMissing,
                        "Element " + std::to_string(index) + " des Steuerelementfelds existiert nicht");
    return *it->second;
}

void MenuArray::wire(int index) {
    m_items[index]->Click = [this, index] {
        if (Click) Click(index);
    };
}

void MenuArray::Load(int index) {
    if (index < 0 || index > 32767) throw vb::Error(vb::err::SubscriptOutOfRange);
    if (exists(index)) throw vb::Error(vb::err::ObjectAlreadyLoaded, "Objekt bereits geladen");
    // Behind the element of the next lower index: before the action that follows it.
    QMenu* m = m_parent.menu();
    QAction* before = nullptr;
    auto next = m_items.upper_bound(index);
    if (next != m_items.end()) {
        before = next->second->action();
    } else if (m) {
        const auto actions = m->actions();
        const qsizetype pos = actions.indexOf(m_items.rbegin()->second->action());
        if (pos >= 0 && pos + 1 < actions.size()) before = actions[pos + 1];
    }
    MenuItem& first = *m_items.begin()->second;
    auto item = std::make_unique<MenuItem>(m_parent, before, first.Caption());
    item->setEnabled(first.Enabled());
    item->setVisible(first.Visible());
    m_items[index] = std::move(item);
    wire(index);
}

void MenuArray::Unload(int index) {
    if (index == 0)
        throw vb::Error(vb::err::CannotUnloadDesignTimeControl,
                        "Zur Entwurfszeit erstellte Steuerelemente können nicht entladen werden");
    if (!exists(index))
        throw vb::Error(vb::err::ControlArrayElementMissing,
                        "Element " + std::to_string(index) + " des Steuerelementfelds existiert nicht");
    m_items.erase(index);
}

}  // namespace forms
