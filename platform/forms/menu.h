#pragma once

// Menu items with the properties the programs switch (Caption, Enabled, Visible) and a
// Click handler, plus menu control arrays whose elements are loaded at run time.

#include <QKeySequence>
#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <string>

class QAction;
class QMenu;
class QMenuBar;

namespace forms {

class MdiForm;

// An item belongs to its owner (a window's member or a menu array), not to its parent item, so
// items may be declared in any order; the Qt action goes with whichever of item and menu goes first.
class MenuItem : public QObject {
public:
    // A top-level item of a menu bar.
    explicit MenuItem(QMenuBar* bar, const std::string& caption = {});
    // An item appended to the parent's submenu.
    explicit MenuItem(MenuItem& parent, const std::string& caption = {});
    // An item inserted before `before` in the parent's submenu (menu arrays).
    MenuItem(MenuItem& parent, QAction* before, const std::string& caption);
    ~MenuItem() override;

    std::string Caption() const { return m_caption; }
    void setCaption(const std::string& c);  // "-" makes the item a separator line
    bool Enabled() const;
    void setEnabled(bool on);
    bool Visible() const;
    void setVisible(bool on);
    void setShortcut(const QKeySequence& k);

    // Chosen by the person; for an item with a submenu: the submenu is about to open.
    std::function<void()> Click;
    // Chooses the item as the person would: nothing happens when it is disabled or hidden.
    void choose();

    QAction* action() const { return m_action; }
    QMenu* menu();  // the submenu, made on first use
    // The window menu: lists the main window's open child windows below its own items.
    void setWindowList(MdiForm* main);

private:
    void init(const std::string& caption);
    QPointer<QAction> m_action;
    QMenu* m_menu = nullptr;
    std::string m_caption;
    QPointer<MdiForm> m_windowList;
};

// A menu control array: element 0 exists from the start; Load adds elements behind the
// elements of lower index, copying element 0's caption, state and visibility.
class MenuArray {
public:
    explicit MenuArray(MenuItem& parent, const std::string& caption0 = {});
    MenuItem& operator()(int index);  // error 340 for an element that is not loaded
    bool exists(int index) const { return m_items.count(index) > 0; }
    void Load(int index);    // error 360 when already loaded
    void Unload(int index);  // error 362 for element 0
    int Count() const { return static_cast<int>(m_items.size()); }
    int UBound() const { return m_items.empty() ? -1 : m_items.rbegin()->first; }
    int LBound() const { return m_items.empty() ? 0 : m_items.begin()->first; }
    std::function<void(int index)> Click;

private:
    void wire(int index);
    MenuItem& m_parent;
    std::map<int, std::unique_ptr<MenuItem>> m_items;
};

}  // namespace forms
