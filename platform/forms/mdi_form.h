#pragma once

// The program's main window: a menu bar, a strip for the toolbar, the area holding the child
// windows, and a strip for the status line. Child windows (Form::setMdiChild) open inside it.

#include <QList>

#include "platform/forms/form.h"

class QMdiArea;
class QMdiSubWindow;
class QMenuBar;
class QVBoxLayout;

namespace forms {

// Arrangements of the child windows.
inline constexpr int vbCascade = 0;
inline constexpr int vbTileHorizontal = 1;  // one below the other, each the full width
inline constexpr int vbTileVertical = 2;    // side by side, each the full height
inline constexpr int vbArrangeIcons = 3;

class MdiForm : public Form {
    Q_OBJECT
public:
    explicit MdiForm(std::string name, QWidget* parent = nullptr);
    ~MdiForm() override;

    // The one main window of the run (the first made).
    static MdiForm* main();
    static void setMain(MdiForm* m);

    QMenuBar* menuBar() const { return m_menuBar; }
    QMdiArea* mdiArea() const { return m_area; }
    // Above the child area (toolbar) and below it (status line).
    void addTopWidget(QWidget* w);
    void addBottomWidget(QWidget* w);

    void Arrange(int arrangement);
    // The active child window, or nullptr.
    Form* ActiveForm() const { return m_activeChild; }
    // Loaded child windows in the order they were opened.
    std::vector<Form*> children() const;

    // Used by Form.
    void attachChild(Form* child);
    void childActivated(Form* child);
    void childUnloaded(Form* child);
    bool queryUnloadChildren();
    bool unloadChildren();

private:
    void cascade(QList<QMdiSubWindow*> subs);

    QMenuBar* m_menuBar;
    QVBoxLayout* m_top;
    QMdiArea* m_area;
    QVBoxLayout* m_bottom;
    QPointer<Form> m_activeChild;
    std::vector<QPointer<Form>> m_children;
};

}  // namespace forms
