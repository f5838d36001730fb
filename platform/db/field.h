#pragma once

#include <string>

#include "platform/db/types.h"
#include "platform/vb/variant.h"

namespace db {

class Recordset;

// A column of a recordset, seen at the recordset's current row (or its edit buffer).
class Field {
public:
    std::string Name() const;
    FieldType Type() const;
    int Size() const;  // characters of a TEXT(n) field, bytes of the value type otherwise

    // 3021 without a current row. A field of a new row reads its default until set.
    vb::Variant Value() const;
    // Only in edit mode (3020 otherwise). Checks the value against the column: 3163 text too long,
    // 3349 number out of range, 13 text that is no number, 3164 counter or computed field.
    void setValue(const vb::Variant& value);
    Field& operator=(const vb::Variant& value) {
        setValue(value);
        return *this;
    }
    operator vb::Variant() const { return Value(); }

private:
    friend class Recordset;
    Field(Recordset* rs, int index) : m_rs(rs), m_index(index) {}
    Recordset* m_rs;
    int m_index;
};

}  // namespace db
