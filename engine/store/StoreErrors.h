#pragma once
// The texts of the errors the table store raises. Callers show them to people, so they name the
// file or the table and say what is wrong, never an SQLite code.
#include <string>

namespace somnex::store_errors {

inline std::string cannotOpen(const std::string& file) {
    return "Cannot open database file '" + file + "'";
}
inline std::string notAStore(const std::string& file) {
    return "File '" + file + "' is not a table store database";
}
inline std::string damaged(const std::string& file) {
    return "Database file '" + file + "' is damaged";
}
inline std::string wrongPassword(const std::string& file) {
    return "Invalid password for database file '" + file + "'";
}
inline std::string noTable(const std::string& table) {
    return "Table '" + table + "' does not exist";
}
inline std::string tableExists(const std::string& table) {
    return "Table '" + table + "' already exists";
}
inline std::string noField(const std::string& field) {
    return "Field '" + field + "' not found";
}
inline std::string badName(const std::string& name) {
    return "Invalid name '" + name + "'";
}
inline std::string badFilter(const std::string& filter, const std::string& why) {
    return "Invalid filter '" + filter + "': " + why;
}
inline std::string writeFailed(const std::string& file) {
    return "Cannot write to database file '" + file + "'";
}
inline const char* const notOpen = "Table is not open";
inline const char* const notEditing = "Table is not in edit or insert mode";
inline const char* const noRecord = "No current record";
inline std::string readOnlyField(const std::string& field) {
    return "Field '" + field + "' cannot be modified";
}

} // namespace somnex::store_errors
