#include "platform/forms/data.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

namespace forms {

Data::Data(QWidget* parent) : Control<QFrame>(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    auto button = [&](QStyle::StandardPixmap icon, const QString& tip, void (Data::*slot)()) {
        auto* b = new QToolButton(this);
        b->setIcon(style()->standardIcon(icon));
        b->setToolTip(tip);
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, [this, slot] { (this->*slot)(); });
        layout->addWidget(b);
    };
    button(QStyle::SP_MediaSkipBackward, QStringLiteral("Erster Datensatz"), &Data::moveFirst);
    button(QStyle::SP_MediaSeekBackward, QStringLiteral("Vorheriger Datensatz"), &Data::movePrevious);
    m_label = new QLabel(this);
    m_label->setTextFormat(Qt::PlainText);
    layout->addWidget(m_label, 1);
    button(QStyle::SP_MediaSeekForward, QStringLiteral("Nächster Datensatz"), &Data::moveNext);
    button(QStyle::SP_MediaSkipForward, QStringLiteral("Letzter Datensatz"), &Data::moveLast);
    m_listener = m_db.addRowListener([this] { rowChanged(); });
}

Data::~Data() {
    m_bound.clear();
    m_db.removeRowListener(m_listener);
}

void Data::setCaption(const std::string& c) {
    m_caption = c;
    m_label->setText(QString::fromStdString(c));
}

void Data::navigate(void (db::Recordset::*step)(), void (db::Recordset::*fallback)(),
                    bool (db::Recordset::*past)() const) {
    auto rs = Recordset();
    if (!rs) return;
    // The step past the end and back is one move for the bound controls.
    m_navigating = true;
    runHandler([&] {
        if (rs->RecordCount() == 0) return;
        (rs.get()->*step)();
        if ((rs.get()->*past)()) (rs.get()->*fallback)();
    });
    m_navigating = false;
    rowChanged();
}

void Data::moveFirst() { navigate(&db::Recordset::MoveFirst, &db::Recordset::MoveFirst, &db::Recordset::Bof); }
void Data::movePrevious() { navigate(&db::Recordset::MovePrevious, &db::Recordset::MoveFirst, &db::Recordset::Bof); }
void Data::moveNext() { navigate(&db::Recordset::MoveNext, &db::Recordset::MoveLast, &db::Recordset::Eof); }
void Data::moveLast() { navigate(&db::Recordset::MoveLast, &db::Recordset::MoveLast, &db::Recordset::Eof); }

int Data::attach(std::function<void()> show) {
    const int id = m_nextId++;
    m_bound[id] = std::move(show);
    return id;
}

void Data::detach(int id) { m_bound.erase(id); }

void Data::rowChanged() {
    if (m_navigating) return;
    // A copy: showing a value may bind or unbind controls.
    auto bound = m_bound;
    for (auto& [id, show] : bound)
        if (m_bound.count(id)) show();
    // A change of the row's content alone is no repositioning.
    auto rs = Recordset();
    long pos = -2;
    bool adding = false;
    if (rs) {
        try {
            pos = rs->AbsolutePosition();
            adding = rs->editMode() == db::Recordset::EditMode::Add;
        } catch (const vb::Error&) {
        }
    }
    const bool moved = m_lastRs.lock() != rs || pos != m_lastPos || (adding && !m_lastAdd);
    m_lastRs = rs;
    m_lastPos = pos;
    m_lastAdd = adding;
    if (moved && rs) fire(Reposition);
}

vb::Variant Data::fieldValue(const std::string& field) const {
    auto rs = Recordset();
    if (!rs || field.empty()) return {};
    try {
        if (rs->editMode() == db::Recordset::EditMode::None && (rs->Eof() || rs->Bof())) return {};
        return rs->Fields(field).Value();
    } catch (const vb::Error&) {
        // No current row, or a field the source does not have: the control shows nothing.
        return {};
    }
}

bool Data::writeField(const std::string& field, const vb::Variant& value) {
    auto rs = Recordset();
    if (!rs || field.empty() || rs->editMode() == db::Recordset::EditMode::None) return false;
    rs->Fields(field).setValue(value);
    return true;
}

std::pair<db::FieldType, int> Data::fieldShape(const std::string& field) const {
    auto rs = Recordset();
    if (!rs || field.empty()) return {db::FieldType::Text, 0};
    try {
        db::Field& f = rs->Fields(field);
        return {f.Type(), f.Size()};
    } catch (const vb::Error&) {
        return {db::FieldType::Text, 0};
    }
}

// ---------------------------------------------------------------- Binding

Binding::~Binding() { release(); }

void Binding::release() {
    if (m_source && m_id) m_source->detach(m_id);
    m_id = 0;
}

void Binding::bind(Data* source, std::string field, std::function<void(const vb::Variant&)> show) {
    release();
    m_source = source;
    m_field = std::move(field);
    m_show = std::move(show);
    if (m_source) m_id = m_source->attach([this] { this->show(); });
    this->show();
}

void Binding::setField(std::string field) {
    m_field = std::move(field);
    show();
}

void Binding::show() {
    if (!m_source || m_field.empty() || !m_show) return;
    m_showing = true;
    struct Reset {
        bool& b;
        ~Reset() { b = false; }
    } reset{m_showing};
    m_show(m_source->fieldValue(m_field));
}

void Binding::changed(const vb::Variant& value) {
    if (!m_source || m_field.empty() || m_showing) return;
    runHandler([&] {
        const auto [type, size] = m_source->fieldShape(m_field);
        (void)size;
        const bool textField = type == db::FieldType::Text || type == db::FieldType::Memo ||
                               type == db::FieldType::Variant;
        // An emptied box means "no value" for a number, date or yes/no field.
        if (!textField && value.isString() && value.stringPtr()->empty())
            m_source->writeField(m_field, vb::Variant::null());
        else m_source->writeField(m_field, value);
    });
}

}  // namespace forms
