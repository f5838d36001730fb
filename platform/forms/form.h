#pragma once

// The window base with the life cycle the programs' windows rely on:
//   Form_Initialize once per object, Form_Load on first use (touching a default window's
//   controls through Default<T>() loads it hidden), Form_Resize, Form_Activate, the two-step
//   close (Form_QueryUnload, Form_Unload), key events with key preview, and the window's own
//   scroll bars with the scroll messages the scrolling windows expect.
//
// Default windows live for the whole run and keep their object across Unload; windows made with
// `new` for one request are deleted (later, so unloading inside their own handler is safe) once
// unloaded: hold them in a QPointer.

#include "platform/host/handler_errors.h"
#include "platform/vb/error.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QEventLoop;
class QScrollBar;

namespace forms {

class MdiForm;

inline constexpr int vbModeless = 0;
inline constexpr int vbModal = 1;

// Window states.
inline constexpr int vbNormal = 0;
inline constexpr int vbMinimized = 1;
inline constexpr int vbMaximized = 2;

// Why a window is being closed (Form_QueryUnload).
inline constexpr int vbFormControlMenu = 0;  // the person closed it (close box, Alt+F4)
inline constexpr int vbFormCode = 1;         // Unload in the program
inline constexpr int vbAppWindows = 2;
inline constexpr int vbAppTaskManager = 3;
inline constexpr int vbFormMDIForm = 4;  // its MDI main window is closing

// Mouse pointers.
inline constexpr int vbDefault = 0;
inline constexpr int vbHourglass = 11;

// Window messages and scroll codes, with the numbers the scrolling windows test.
inline constexpr int WM_SIZE = 5;
inline constexpr int WM_SETREDRAW = 11;
inline constexpr int WM_PAINT = 15;
inline constexpr int WM_HSCROLL = 276;
inline constexpr int WM_VSCROLL = 277;
inline constexpr int SB_HORZ = 0;
inline constexpr int SB_VERT = 1;
inline constexpr int SB_BOTH = 3;
inline constexpr int SB_LINEUP = 0;
inline constexpr int SB_LINEDOWN = 1;
inline constexpr int SB_PAGEUP = 2;
inline constexpr int SB_PAGEDOWN = 3;
inline constexpr int SB_THUMBPOSITION = 4;
inline constexpr int SB_THUMBTRACK = 5;
inline constexpr int SB_TOP = 6;
inline constexpr int SB_BOTTOM = 7;
inline constexpr int SB_ENDSCROLL = 8;
inline constexpr int SIF_RANGE = 1;
inline constexpr int SIF_PAGE = 2;
inline constexpr int SIF_POS = 4;
inline constexpr int SIF_TRACKPOS = 16;
inline constexpr int SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

inline int LoWord(std::intptr_t v) { return static_cast<int>(v & 0xFFFF); }
inline int HiWord(std::intptr_t v) { return static_cast<int>((v >> 16) & 0xFFFF); }
inline std::intptr_t MakeLong(int lo, int hi) { return (static_cast<std::intptr_t>(hi & 0xFFFF) << 16) | (lo & 0xFFFF); }

// The record exchanged with GetScrollInfo/SetScrollInfo (pixels).
struct ScrollInfo {
    int cbSize = 28;
    int fMask = 0;
    int nMin = 0;
    int nMax = 0;
    int nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};

class Form : public QWidget {
    Q_OBJECT
public:
    // `name` is the window's name as the programs compare it ("frmMDI", "auswertform").
    explicit Form(std::string name, QWidget* parent = nullptr);
    ~Form() override;

    const std::string& Name() const { return m_name; }

    // ---- life cycle
    bool isLoaded() const { return m_state != State::Unloaded; }
    bool isDefaultInstance() const { return m_defaultInstance; }
    void ensureLoaded();  // loads hidden when not loaded
    // An owner window keeps this one above it (a tool window of the owner); the owner is kept
    // for later showings.
    void Show(int modal = vbModeless, QWidget* owner = nullptr);
    QWidget* owner() const { return m_owner; }
    void Hide();
    // MDI child windows open inside the program's MDI main window.
    void setMdiChild(bool on) { m_mdiChild = on; }
    bool isMdiChild() const { return m_mdiChild; }
    bool isModalShown() const { return m_modalLoop != nullptr; }

    // ---- properties; touching one loads the window, as the programs expect
    std::string Caption();
    void setCaption(const std::string& c);
    int WindowState();
    void setWindowState(int s);
    int Left();
    int Top();
    int Width();
    int Height();
    void setLeft(int twips);
    void setTop(int twips);
    void setWidth(int twips);
    void setHeight(int twips);
    void Move(int left, int top, int width = -1, int height = -1);
    // Inner size in the window's scale (ScaleMode 1 twips, 3 pixels).
    int ScaleMode() const { return m_scaleMode; }
    void setScaleMode(int m) { m_scaleMode = m; }
    int ScaleWidth();
    int ScaleHeight();
    bool Visible() const { return m_shownFlag && isLoaded(); }
    void setVisibleFlag(bool v) { v ? Show() : Hide(); }
    int MousePointer() const { return m_mousePointer; }
    void setMousePointer(int p);
    bool KeyPreview() const { return m_keyPreview; }
    void setKeyPreview(bool on) { m_keyPreview = on; }
    void setToolWindow(bool on);
    void SetFocus();
    void Refresh() { repaint(); }

    // The window's handle as the programs pass it around (non-zero while loaded).
    std::intptr_t hWnd() { return reinterpret_cast<std::intptr_t>(this); }

    // ---- the window's own scroll bars (pixels), as the scrolling windows drive them
    bool GetScrollInfo(int bar, ScrollInfo& info) const;
    int SetScrollInfo(int bar, const ScrollInfo& info, bool redraw = true);
    bool ShowScrollBar(int bar, bool show);
    bool isScrollBarShown(int bar) const;
    // The inner area without the shown bars, in pixels, origin (0,0).
    QRect GetClientRect() const;
    // Delivers a scroll message as the person's use of a bar would.
    void sendScroll(int bar, int code, int pos = 0);
    // WM_SETREDRAW switches painting off (0) and on; WM_PAINT paints now; scroll messages are
    // delivered as from the bars; others go to Form_Message.
    void SendMessage(int msg, std::intptr_t wParam, std::intptr_t lParam = 0);
    // Paints the whole window now (and switches painting back on).
    void RedrawWindow();

    // ---- event handlers the windows override
    virtual void Form_Initialize() {}
    // Puts the controls into their design state; runs at every load, before Form_Load, so a
    // window loaded again after Unload starts from the same state as the first time.
    virtual void setupControls() {}
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Deactivate() {}
    virtual void Form_Resize() {}
    virtual void Form_QueryUnload(int& cancel, int unloadMode) { (void)cancel, (void)unloadMode; }
    virtual void Form_Unload(int& cancel) { (void)cancel; }
    virtual void Form_KeyDown(int& keyCode, int shift) { (void)keyCode, (void)shift; }
    virtual void Form_KeyPress(int& keyAscii) { (void)keyAscii; }
    virtual void Form_KeyUp(int& keyCode, int shift) { (void)keyCode, (void)shift; }
    virtual void Form_MouseMove(int button, int shift, float x, float y) { (void)button, (void)shift, (void)x, (void)y; }
    // Window messages: WM_SIZE (wParam size type, lParam MakeLong(w, h) of the inner area),
    // WM_HSCROLL/WM_VSCROLL (wParam MakeLong(code, thumb position)).
    virtual void Form_Message(int msg, std::intptr_t wParam, std::intptr_t lParam) {
        (void)msg, (void)wParam, (void)lParam;
    }

    // Used by the life-cycle functions below.
    bool unloadWith(int unloadMode);
    void markDefault() { m_defaultInstance = true; }
    void ensureInitialized();
    void activateSelf();
    QWidget* outerWindow();  // the MDI sub-window around an MDI child, else the form itself

signals:
    void unloaded();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    enum class State { Unloaded, Loading, Loaded };
    struct Bar {
        QScrollBar* widget = nullptr;
        int min = 0, max = 0, page = 0, pos = 0, track = 0;
        bool shown = false;
    };
    bool unloadImpl(int unloadMode, bool query);
    bool waitForOwner();
    void showWindow();
    void placeScrollBars();
    void barAction(int bar, int action);
    Bar& bar(int b) { return b == SB_VERT ? m_vbar : m_hbar; }
    const Bar& bar(int b) const { return b == SB_VERT ? m_vbar : m_hbar; }

    std::string m_name;
    State m_state = State::Unloaded;
    bool m_initialized = false;
    bool m_defaultInstance = false;
    bool m_mdiChild = false;
    bool m_unloading = false;
    bool m_shownFlag = false;
    bool m_keyPreview = false;
    bool m_inResize = false;
    int m_scaleMode = 1;
    int m_mousePointer = 0;
    QEventLoop* m_modalLoop = nullptr;
    QPointer<QWidget> m_owner;
    QPointer<QObject> m_ownerWatch;
    // An owned window that was minimised: window managers iconify a tool window together with its
    // owner, so it is put aside (hidden) instead and reads as minimised until it is shown again.
    bool m_abgelegt = false;
    Bar m_hbar, m_vbar;
    int m_wheelRest = 0;  // wheel turn short of a whole notch, kept for the next turn
    friend class MdiForm;
};

// ---- the windows of the run

// Loaded windows in load order (position 0 = the first window loaded).
const std::vector<Form*>& Forms();
void Load(Form& f);
// Runs QueryUnload (mode 1) and Unload; false when a handler cancelled.
bool Unload(Form& f);
inline bool IsLoaded(const Form& f) { return f.isLoaded(); }

namespace detail {
void registerDefault(std::function<void()> destroy);
}

template <class T>
T*& defaultSlot() {
    static T* p = nullptr;
    return p;
}

// The program-wide default window of a class, created on first use but not loaded.
template <class T>
T& Instance() {
    T*& p = defaultSlot<T>();
    if (!p) {
        p = new T();
        p->markDefault();
        detail::registerDefault([] {
            T*& slot = defaultSlot<T>();
            delete slot;
            slot = nullptr;
        });
        p->ensureInitialized();
    }
    return *p;
}

// The default window, loaded hidden if it is not loaded: what touching `Form4.Combo3` does.
template <class T>
T& Default() {
    T& f = Instance<T>();
    f.ensureLoaded();
    return f;
}

// Whether the default window of a class is loaded, without loading it.
template <class T>
bool IsLoaded() {
    return defaultSlot<T>() && defaultSlot<T>()->isLoaded();
}

// Unloads the default window of a class when it is loaded.
template <class T>
bool Unload() {
    return defaultSlot<T>() ? Unload(*defaultSlot<T>()) : true;
}

// Tests: unloads every window and destroys the default windows, so the next test starts fresh.
void resetAllWindows();

}  // namespace forms
