#pragma once

// The data control on a window: the database side (platform/db) with a visible navigator
// (first, previous, caption, next, last), and the controls bound to its fields.
//
// Bound controls show the field of the current row whenever the row or its content changes.
// They write back only into a pending Edit or AddNew of the recordset: a change typed while the
// row is in edit mode goes into the edit buffer at once, and the program's Update stores it.
// Moving, Refresh or closing the window without Update stores nothing; a change typed while
// no edit is pending is not written at all. (No automatic saving: the test form relies on
// "paging leaves the current entry unstored".)

#include "platform/db/data_control.h"
#include "platform/db/recordset.h"
#include "platform/forms/control.h"

#include <QFrame>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <string>

class QLabel;
class QToolButton;

namespace forms {

class Data : public Control<QFrame> {
    Q_OBJECT
public:
    explicit Data(QWidget* parent = nullptr);
    ~Data() override;

    // The database side, with the names the programs use.
    const std::string& DatabaseName() const { return m_db.DatabaseName(); }
    void setDatabaseName(std::string path) { m_db.setDatabaseName(std::move(path)); }
    const std::string& RecordSource() const { return m_db.RecordSource(); }
    void setRecordSource(std::string source) { m_db.setRecordSource(std::move(source)); }
    bool ReadOnly() const { return m_db.ReadOnly(); }
    void setReadOnly(bool on) { m_db.setReadOnly(on); }
    bool Exclusive() const { return m_db.Exclusive(); }
    void setExclusive(bool on) { m_db.setExclusive(on); }
    const std::string& Connect() const { return m_db.Connect(); }
    void setConnect(std::string c) { m_db.setConnect(std::move(c)); }
    db::RecordsetType RecordsetType() const { return m_db.RecordsetType(); }
    void setRecordsetType(db::RecordsetType t) { m_db.setRecordsetType(t); }
    void Refresh() { m_db.Refresh(); }
    std::shared_ptr<db::Recordset> Recordset() const { return m_db.Recordset(); }
    void close() { m_db.close(); }
    db::DataControl& control() { return m_db; }

    std::string Caption() const { return m_caption; }
    void setCaption(const std::string& c);

    // The current row became another one (Refresh, a move, a find, a new row), after the bound
    // controls show it.
    std::function<void()> Reposition;

    // The navigator's buttons, as the person uses them. At the ends the control stays on the
    // first or last row; without rows nothing happens.
    void moveFirst();
    void movePrevious();
    void moveNext();
    void moveLast();

    // Bound controls register what to do when the row changes.
    int attach(std::function<void()> show);
    void detach(int id);
    // The current row's value of a field; Empty without a recordset or current row.
    vb::Variant fieldValue(const std::string& field) const;
    // Writes into a pending Edit/AddNew; false (and nothing written) when none is pending.
    bool writeField(const std::string& field, const vb::Variant& value);
    // Field type and size, for the bound controls' limits; Text/0 when unknown.
    std::pair<db::FieldType, int> fieldShape(const std::string& field) const;

private:
    void rowChanged();
    void navigate(void (db::Recordset::*step)(), void (db::Recordset::*fallback)(), bool (db::Recordset::*past)() const);

    db::DataControl m_db;
    std::string m_caption;
    QLabel* m_label;
    std::map<int, std::function<void()>> m_bound;
    int m_nextId = 1;
    int m_listener = 0;
    std::weak_ptr<db::Recordset> m_lastRs;
    bool m_navigating = false;
    long m_lastPos = -2;
    bool m_lastAdd = false;
};

// The link of one control to one field of a data control.
class Binding {
public:
    Binding() = default;
    ~Binding();
    Binding(const Binding&) = delete;
    Binding& operator=(const Binding&) = delete;

    // `show` puts a field value into the control.
    void bind(Data* source, std::string field, std::function<void(const vb::Variant&)> show);
    void setField(std::string field);
    const std::string& field() const { return m_field; }
    Data* source() const { return m_source; }
    // The control changed: written into a pending edit (not while the control is being filled).
    void changed(const vb::Variant& value);
    void show();

private:
    void release();
    QPointer<Data> m_source;
    std::string m_field;
    std::function<void(const vb::Variant&)> m_show;
    int m_id = 0;
    bool m_showing = false;
};

}  // namespace forms
