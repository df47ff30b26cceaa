#pragma once
// The store's table object: a cursor over one table's records, optionally narrowed by a filter,
// with the usual append / edit / post cycle. Values are decoded only when a field is read.
#include "engine/store/StoreTypes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace somnex {

class StoreConnection;
struct FieldInfo;
class TTinyTable;

class TTinyField {
public:
    const std::string& FieldName() const;
    TFieldType DataType() const;
    int Size() const;

    bool IsNull() const;
    std::string AsString() const;
    // A text field keeps at most Size characters.
    void SetAsString(std::string_view value);
    void LoadFromStream(const std::vector<uint8_t>& stream);
    void SaveToStream(std::vector<uint8_t>& stream) const;
    // Raises the file error when the file cannot be read; a failed save leaves no file.
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;

private:
    friend class TTinyTable;
    TTinyField(TTinyTable& table, size_t index) : table_(&table), index_(index) {}
    TTinyTable* table_;
    size_t index_;
};

class TTinyTable {
public:
    TTinyTable();
    ~TTinyTable();
    TTinyTable(const TTinyTable&) = delete;
    TTinyTable& operator=(const TTinyTable&) = delete;

    const std::string& DatabaseName() const { return databaseName_; }
    void SetDatabaseName(const std::string& file) { databaseName_ = file; }
    const std::string& Password() const { return password_; }
    void SetPassword(const std::string& password) { password_ = password; }
    const std::string& TableName() const { return tableName_; }
    void SetTableName(const std::string& name) { tableName_ = name; }

    void Open();
    // Unposted changes are dropped.
    void Close();
    bool Active() const { return conn_ != nullptr; }

    // Changing the text or switching filtering on applies the filter and may raise the filter error.
    const std::string& Filter() const { return filter_; }
    void SetFilter(const std::string& text);
    bool Filtered() const { return filtered_; }
    void SetFiltered(bool on);

    int RecordCount();
    // The first record of the whole table matching the filter text, filtering on or off.
    bool FindFirst();
    void First();
    void Next();
    bool Eof() const;
    int64_t RecNo() const; // the record's row number, 0 without a current record

    void Append();
    void Edit();
    void Post();
    void Cancel();
    // Re-reads the records (and the filter) and keeps the current record when it is still there.
    void Refresh();

    size_t FieldCount() const;
    TTinyField& Fields(size_t index);
    TTinyField& FieldByName(std::string_view name);

private:
    friend class TTinyField;
    enum class State { Browse, Edit, Insert };
    struct Slot {
        bool loaded = false;
        bool modified = false;
        bool null = true;
        std::string plain;
    };

    void checkActive() const;
    void postIfEditing();
    std::vector<int64_t> selectRows(bool useFilter);
    void applyRecordSet(std::vector<int64_t> rows, size_t current);
    void clearSlots();
    Slot& slot(size_t field);
    void setValue(size_t field, std::string value);

    std::string databaseName_, password_, tableName_;
    std::string storedName_;
    std::string filter_;
    bool filtered_ = false;

    std::unique_ptr<StoreConnection> conn_;
    std::vector<FieldInfo> fields_;
    std::vector<TTinyField> fieldObjects_;
    std::vector<Slot> slots_;
    std::vector<int64_t> rows_;
    size_t current_ = 0;
    State state_ = State::Browse;
};

} // namespace somnex
