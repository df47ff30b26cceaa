#include "engine/store/TTinyTable.h"

#include "engine/store/StoreCatalog.h"
#include "engine/store/StoreErrors.h"
#include "engine/store/StoreFilter.h"
#include "engine/store/StoreText.h"
#include "somnex/EngineError.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <utility>

namespace somnex {

TTinyTable::TTinyTable() = default;
TTinyTable::~TTinyTable() = default;

void TTinyTable::checkActive() const {
    if (!conn_) throw EngineError(store_errors::notOpen);
}

void TTinyTable::Open() {
    if (conn_) return;
    auto conn = std::make_unique<StoreConnection>(databaseName_, password_);
    std::string stored;
    auto fields = conn->loadFields(tableName_, stored);
    // The table must have every catalogued column; a damaged schema is caught here, not later.
    std::string cols;
    for (const auto& f : fields) cols += (cols.empty() ? "" : ", ") + quoteIdentifier(f.name);
    { SqliteStmt probe(conn->db(), "SELECT " + cols + " FROM " + quoteIdentifier(stored) + " WHERE 0"); }

    conn_ = std::move(conn);
    storedName_ = stored;
    fields_ = std::move(fields);
    fieldObjects_.clear();
    for (size_t i = 0; i < fields_.size(); ++i) fieldObjects_.push_back(TTinyField(*this, i));
    state_ = State::Browse;
    try {
        applyRecordSet(selectRows(filtered_), 0);
    } catch (...) {
        Close();
        throw;
    }
}

void TTinyTable::Close() {
    conn_.reset();
    fields_.clear();
    fieldObjects_.clear();
    slots_.clear();
    rows_.clear();
    current_ = 0;
    state_ = State::Browse;
}

std::vector<int64_t> TTinyTable::selectRows(bool useFilter) {
    std::vector<FilterCondition> conds;
    if (useFilter) conds = parseFilter(filter_);
    std::string sql = "SELECT rowid FROM " + quoteIdentifier(storedName_);
    std::vector<std::pair<std::string, bool>> binds; // bytes, as blob
    for (size_t i = 0; i < conds.size(); ++i) {
        auto it = std::find_if(fields_.begin(), fields_.end(),
                               [&](const FieldInfo& f) { return equalsNoCase(f.name, conds[i].field); });
        if (it == fields_.end())
            throw EngineError(store_errors::badFilter(filter_, "no field " + conds[i].field));
        if (it->type != TFieldType::String)
            throw EngineError(store_errors::badFilter(filter_, it->name + " is not a text field"));
        // The stored text was cut to the field's size, so the compared value is cut the same way.
        std::string value = cutText(conds[i].value, static_cast<size_t>(it->size));
        if (it->coding.framed())
            binds.emplace_back(encodeValue(conn_->codec(), it->coding, value), true);
        else
            binds.emplace_back(std::move(value), false);
        sql += (i == 0 ? " WHERE " : " AND ") + quoteIdentifier(it->name) + "=?" + std::to_string(i + 1);
    }
    sql += " ORDER BY rowid";
    SqliteStmt st(conn_->db(), sql);
    for (size_t i = 0; i < binds.size(); ++i) {
        if (binds[i].second)
            st.bindBlob(static_cast<int>(i + 1), binds[i].first);
        else
            st.bindText(static_cast<int>(i + 1), binds[i].first);
    }
    std::vector<int64_t> rows;
    while (st.step()) rows.push_back(st.columnInt(0));
    return rows;
}

void TTinyTable::applyRecordSet(std::vector<int64_t> rows, size_t current) {
    rows_ = std::move(rows);
    current_ = std::min(current, rows_.size());
    state_ = State::Browse;
    clearSlots();
}

void TTinyTable::clearSlots() {
    slots_.assign(fields_.size(), Slot{});
}

void TTinyTable::SetFilter(const std::string& text) {
    if (text == filter_) return;
    if (conn_ && filtered_) {
        postIfEditing();
        std::string old = std::exchange(filter_, text);
        std::vector<int64_t> rows;
        try {
            rows = selectRows(true);
        } catch (...) {
            filter_ = old; // a malformed filter leaves the record set as it was
            throw;
        }
        applyRecordSet(std::move(rows), 0);
        return;
    }
    filter_ = text;
}

void TTinyTable::SetFiltered(bool on) {
    if (on == filtered_) return;
    if (conn_) {
        postIfEditing();
        auto rows = selectRows(on);
        filtered_ = on;
        applyRecordSet(std::move(rows), 0);
        return;
    }
    filtered_ = on;
}

int TTinyTable::RecordCount() {
    checkActive();
    return static_cast<int>(rows_.size());
}

bool TTinyTable::FindFirst() {
    checkActive();
    postIfEditing();
    auto matches = selectRows(true);
    if (matches.empty()) return false;
    if (!filtered_) {
        // Filtering off: the cursor moves within the whole table.
        auto all = selectRows(false);
        auto at =
            static_cast<size_t>(std::lower_bound(all.begin(), all.end(), matches.front()) - all.begin());
        applyRecordSet(std::move(all), at);
    } else {
        applyRecordSet(std::move(matches), 0);
    }
    return true;
}

void TTinyTable::First() {
    checkActive();
    postIfEditing();
    current_ = 0;
    clearSlots();
}

void TTinyTable::Next() {
    checkActive();
    postIfEditing();
    if (current_ < rows_.size()) ++current_;
    clearSlots();
}

bool TTinyTable::Eof() const {
    return !conn_ || (state_ == State::Browse && current_ >= rows_.size());
}

int64_t TTinyTable::RecNo() const {
    if (!conn_ || state_ == State::Insert || current_ >= rows_.size()) return 0;
    return rows_[current_];
}

void TTinyTable::Append() {
    checkActive();
    postIfEditing();
    clearSlots();
    for (auto& s : slots_) s.loaded = true; // a new record starts empty
    state_ = State::Insert;
}

void TTinyTable::Edit() {
    checkActive();
    if (state_ != State::Browse) return;
    if (current_ >= rows_.size()) throw EngineError(store_errors::noRecord);
    state_ = State::Edit;
}

void TTinyTable::Cancel() {
    if (state_ == State::Browse) return;
    state_ = State::Browse;
    clearSlots();
}

void TTinyTable::postIfEditing() {
    if (state_ != State::Browse) Post();
}

void TTinyTable::Post() {
    checkActive();
    if (state_ == State::Browse) throw EngineError(store_errors::notEditing);
    std::vector<size_t> changed;
    for (size_t i = 0; i < fields_.size(); ++i)
        if (slots_[i].modified) changed.push_back(i);
    std::vector<std::string> encoded(changed.size());
    for (size_t k = 0; k < changed.size(); ++k) {
        const auto& f = fields_[changed[k]];
        if (f.coding.framed()) encoded[k] = encodeValue(conn_->codec(), f.coding, slots_[changed[k]].plain);
    }
    auto bindAll = [&](SqliteStmt& st) {
        for (size_t k = 0; k < changed.size(); ++k) {
            const auto& f = fields_[changed[k]];
            const auto& s = slots_[changed[k]];
            int n = static_cast<int>(k + 1);
            if (s.null)
                st.bindNull(n);
            else if (f.coding.framed())
                st.bindBlob(n, encoded[k]);
            else if (f.type == TFieldType::Blob)
                st.bindBlob(n, s.plain);
            else
                st.bindText(n, s.plain);
        }
    };
    std::string table = quoteIdentifier(storedName_);
    if (state_ == State::Insert) {
        std::string cols, params;
        for (size_t k = 0; k < changed.size(); ++k) {
            cols += (k ? ", " : "") + quoteIdentifier(fields_[changed[k]].name);
            params += (k ? ", ?" : "?") + std::to_string(k + 1);
        }
        SqliteStmt st(conn_->db(), changed.empty()
                                       ? "INSERT INTO " + table + " DEFAULT VALUES"
                                       : "INSERT INTO " + table + "(" + cols + ") VALUES (" + params + ")");
        bindAll(st);
        st.step();
        rows_.push_back(conn_->db().lastInsertRowid());
        current_ = rows_.size() - 1;
    } else if (!changed.empty()) {
        std::string sets;
        for (size_t k = 0; k < changed.size(); ++k)
            sets +=
                (k ? ", " : "") + quoteIdentifier(fields_[changed[k]].name) + "=?" + std::to_string(k + 1);
        SqliteStmt st(conn_->db(), "UPDATE " + table + " SET " + sets + " WHERE rowid=?" +
                                       std::to_string(changed.size() + 1));
        bindAll(st);
        st.bindInt(static_cast<int>(changed.size() + 1), rows_[current_]);
        st.step();
    }
    // What was just written stays readable without decoding it again.
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (fields_[i].type == TFieldType::AutoInc) slots_[i] = Slot{};
        slots_[i].modified = false;
    }
    state_ = State::Browse;
}

void TTinyTable::Refresh() {
    checkActive();
    postIfEditing();
    int64_t keep = RecNo();
    auto rows = selectRows(filtered_);
    auto it = std::find(rows.begin(), rows.end(), keep);
    size_t at = it == rows.end() ? 0 : static_cast<size_t>(it - rows.begin());
    applyRecordSet(std::move(rows), at);
}

size_t TTinyTable::FieldCount() const {
    return fields_.size();
}

TTinyField& TTinyTable::Fields(size_t index) {
    checkActive();
    if (index >= fieldObjects_.size()) throw EngineError(store_errors::noField(std::to_string(index)));
    return fieldObjects_[index];
}

TTinyField& TTinyTable::FieldByName(std::string_view name) {
    checkActive();
    for (size_t i = 0; i < fields_.size(); ++i)
        if (equalsNoCase(fields_[i].name, name)) return fieldObjects_[i];
    throw EngineError(store_errors::noField(std::string(name)));
}

TTinyTable::Slot& TTinyTable::slot(size_t field) {
    checkActive();
    Slot& s = slots_[field];
    if (s.loaded) return s;
    s.loaded = true;
    s.null = true;
    s.plain.clear();
    if (current_ >= rows_.size()) return s;
    const FieldInfo& f = fields_[field];
    SqliteStmt st(conn_->db(), "SELECT " + quoteIdentifier(f.name) + " FROM " + quoteIdentifier(storedName_) +
                                   " WHERE rowid=?1");
    st.bindInt(1, rows_[current_]);
    if (!st.step() || st.isNull(0)) return s; // deleted meanwhile, or never set
    std::string raw = st.columnBytes(0);
    try {
        s.plain =
            f.coding.framed() ? decodeValue(conn_->codec(), f.coding, raw, conn_->file()) : std::move(raw);
    } catch (...) {
        s.loaded = false;
        throw;
    }
    s.null = false;
    return s;
}

void TTinyTable::setValue(size_t field, std::string value) {
    checkActive();
    if (state_ == State::Browse) throw EngineError(store_errors::notEditing);
    const FieldInfo& f = fields_[field];
    if (f.type == TFieldType::AutoInc) throw EngineError(store_errors::readOnlyField(f.name));
    Slot& s = slots_[field];
    s.plain = f.type == TFieldType::String ? cutText(value, static_cast<size_t>(f.size)) : std::move(value);
    s.null = false;
    s.loaded = true;
    s.modified = true;
}

const std::string& TTinyField::FieldName() const {
    return table_->fields_[index_].name;
}
TFieldType TTinyField::DataType() const {
    return table_->fields_[index_].type;
}
int TTinyField::Size() const {
    return table_->fields_[index_].size;
}
bool TTinyField::IsNull() const {
    return table_->slot(index_).null;
}
std::string TTinyField::AsString() const {
    return table_->slot(index_).plain;
}
void TTinyField::SetAsString(std::string_view value) {
    table_->setValue(index_, std::string(value));
}

void TTinyField::LoadFromStream(const std::vector<uint8_t>& stream) {
    table_->setValue(index_, std::string(stream.begin(), stream.end()));
}

void TTinyField::SaveToStream(std::vector<uint8_t>& stream) const {
    const std::string& v = table_->slot(index_).plain;
    stream.assign(v.begin(), v.end());
}

void TTinyField::LoadFromFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::error_code ec;
    auto size = std::filesystem::file_size(path, ec);
    if (!in || ec) throw EngineError("Cannot open file \"" + path + "\"");
    std::string bytes(size, '\0');
    if (!in.read(bytes.data(), static_cast<std::streamsize>(size)))
        throw EngineError("Cannot read file \"" + path + "\"");
    table_->setValue(index_, std::move(bytes));
}

void TTinyField::SaveToFile(const std::string& path) const {
    const std::string& v = table_->slot(index_).plain;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out) out.write(v.data(), static_cast<std::streamsize>(v.size()));
    if (out) out.close();
    if (!out) {
        std::error_code ec;
        std::filesystem::remove(path, ec);
        throw EngineError("Cannot create file \"" + path + "\"");
    }
}

} // namespace somnex
