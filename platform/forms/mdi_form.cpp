#include "platform/forms/mdi_form.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QMenuBar>
#include <QVBoxLayout>

#include <algorithm>

namespace forms {

namespace {
MdiForm* g_main = nullptr;
}

MdiForm* MdiForm::main() { return g_main; }
void MdiForm::setMain(MdiForm* m) { g_main = m; }

MdiForm::MdiForm(std::string name, QWidget* parent) : Form(std::move(name), parent) {
    if (!g_main) g_main = this;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_menuBar = new QMenuBar(this);
    layout->setMenuBar(m_menuBar);
    m_top = new QVBoxLayout;
    m_top->setSpacing(0);
    layout->addLayout(m_top);
    m_area = new QMdiArea(this);
    m_area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(m_area, 1);
    m_bottom = new QVBoxLayout;
    m_bottom->setSpacing(0);
    layout->addLayout(m_bottom);
    connect(m_area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
        if (!sub) return;
        if (auto* f = qobject_cast<Form*>(sub->widget()); f && f->isLoaded() && f->Visible()) childActivated(f);
    });
}

MdiForm::~MdiForm() {
    if (g_main == this) g_main = nullptr;
}

void MdiForm::addTopWidget(QWidget* w) { m_top->addWidget(w); }
void MdiForm::addBottomWidget(QWidget* w) { m_bottom->addWidget(w); }

std::vector<Form*> MdiForm::children() const {
    std::vector<Form*> out;
    for (const auto& c : m_children)
        if (c && c->isLoaded()) out.push_back(c);
    return out;
}

void MdiForm::attachChild(Form* child) {
    if (qobject_cast<QMdiSubWindow*>(child->parentWidget())) {
        m_children.emplace_back(child);
        return;
    }
    auto* sub = new QMdiSubWindow;
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    sub->setWidget(child);
    m_area->addSubWindow(sub);
    sub->hide();
    m_children.emplace_back(child);
}

void MdiForm::childActivated(Form* child) {
    activateSelf();
    if (m_activeChild == child) return;
    QPointer<Form> prev = m_activeChild;
    m_activeChild = child;
    if (prev && prev->isLoaded()) runHandler([&] { prev->Form_Deactivate(); });
    runHandler([child] { child->Form_Activate(); });
}

void MdiForm::childUnloaded(Form* child) {
    m_children.erase(std::remove_if(m_children.begin(), m_children.end(),
                                    [child](const QPointer<Form>& p) { return !p || p == child; }),
                     m_children.end());
    if (m_activeChild == child) {
        m_activeChild = nullptr;
        // The next visible child becomes the active one, as the area shows it.
        for (auto it = m_children.rbegin(); it != m_children.rend(); ++it)
            if (*it && (*it)->isLoaded() && (*it)->Visible()) {
                childActivated(*it);
                break;
            }
    }
}

bool MdiForm::queryUnloadChildren() {
    for (Form* c : children()) {
        int cancel = 0;
        c->Form_QueryUnload(cancel, vbFormMDIForm);
        if (cancel) return false;
    }
    return true;
}

bool MdiForm::unloadChildren() {
    // Their QueryUnload has been asked already; what remains is each one's Unload step.
    for (Form* c : children())
        if (!c->unloadImpl(vbFormMDIForm, false)) return false;
    return true;
}

// Each window a step down and right of the one before, all of one size that leaves every step's
// title bar in view, the active window in front. Qt's own cascade sizes a window by its size hint,
// which shrinks a window without one to its title bar.
void MdiForm::cascade(QList<QMdiSubWindow*> subs) {
    if (subs.isEmpty()) return;
    if (QMdiSubWindow* aktiv = m_area->activeSubWindow(); aktiv && subs.removeOne(aktiv)) subs << aktiv;
    const QRect area = m_area->viewport()->rect();
    const int step = std::max(16, style()->pixelMetric(QStyle::PM_TitleBarHeight) + 4);
    const int w = std::max(area.width() * 3 / 4, std::min(area.width(), 300));
    const int h = std::max(area.height() * 3 / 4, std::min(area.height(), 200));
    const int platz = std::max(1, std::min((area.width() - w) / step, (area.height() - h) / step) + 1);
    for (int i = 0; i < subs.size(); ++i) {
        QMdiSubWindow* s = subs[i];
        if (s->isMaximized()) s->showNormal();
        const int k = i % platz;
        s->setGeometry(k * step, k * step, w, h);
        s->raise();
    }
    m_area->setActiveSubWindow(subs.back());
}

void MdiForm::Arrange(int arrangement) {
    ensureLoaded();
    QList<QMdiSubWindow*> subs;
    for (QMdiSubWindow* s : m_area->subWindowList(QMdiArea::CreationOrder))
        if (s->isVisible() && !s->isMinimized()) subs << s;
    if (arrangement == vbCascade) {
        cascade(subs);
        return;
    }
    if (arrangement == vbArrangeIcons) {
        // Minimised children in a row along the bottom edge.
        int x = 0;
        const QRect area = m_area->viewport()->rect();
        for (QMdiSubWindow* s : m_area->subWindowList(QMdiArea::CreationOrder))
            if (s->isVisible() && s->isMinimized()) {
                s->move(x, area.height() - s->height());
                x += s->width();
            }
        return;
    }
    if (subs.isEmpty()) return;
    const QRect area = m_area->viewport()->rect();
    const int n = static_cast<int>(subs.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* s = subs[i];
        if (s->isMaximized()) s->showNormal();
        QRect r;
        if (arrangement == vbTileHorizontal) {
            const int h = area.height() / n;
            r = QRect(0, i * h, area.width(), i == n - 1 ? area.height() - i * h : h);
        } else {
            const int w = area.width() / n;
            r = QRect(i * w, 0, i == n - 1 ? area.width() - i * w : w, area.height());
        }
        s->setGeometry(r);
    }
}

}  // namespace forms
