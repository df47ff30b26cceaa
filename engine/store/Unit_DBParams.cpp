#include "engine/store/Unit_DBParams.h"

#include "engine/store/RegionalFormat.h"
#include "engine/store/TTinyDatabase.h"

#include <filesystem>

namespace somnex {

namespace {

constexpr const char* kTable = "Params";

std::string upper(std::string s) {
    for (auto& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return s;
}

std::string pairFilter(const std::string& Section, const std::string& Key) {
    // Quotes inside a name are passed on as they are; the filter parser rejects them.
    return "Section='" + upper(Section) + "' and Key='" + upper(Key) + "'";
}

// The name part of a path, with either separator, as a Windows file name is split.
std::string fileNamePart(const std::string& path) {
    auto at = path.find_last_of("/\\");
    return at == std::string::npos ? path : path.substr(at + 1);
}

} // namespace

int TDBParams::SectionKeyCount(const std::string&) {
    return 0;
}
void TDBParams::ReadSectionKeys(const std::string&, std::vector<std::string>&) {}

TTinyDBParams::~TTinyDBParams() {
    if (table_.Active()) table_.Close();
}

void TTinyDBParams::Open(const std::string& FileName) {
    fileName_ = FileName;
    std::error_code ec;
    if (!std::filesystem::exists(fileName_, ec)) createDatabase();
    openTable();
}

void TTinyDBParams::createDatabase() {
    TTinyDatabase db;
    // A failed creation is not reported here: the open that follows raises the store's error.
    if (!db.CreateDatabase(fileName_, true, clMaximum, "ZLIB", true, "Blowfish", Password, false)) return;
    db.SetFileName(fileName_);
    db.SetPassword(Password);
    db.CreateTable(kTable, {{"Section", TFieldType::String, 32, TFieldProcessing::Default},
                            {"Key", TFieldType::String, 32, TFieldProcessing::Default},
                            {"Value", TFieldType::Blob, 0,
                             ProcessValues ? TFieldProcessing::Default : TFieldProcessing::Unchanged}});
    db.CreateIndex(kTable, "ParamsIndex", 0, {"Section", "Key"});
    db.SetComment("Brindlewood DBParamsFile");
}

void TTinyDBParams::openTable() {
    table_.SetDatabaseName(fileName_);
    table_.SetPassword(Password);
    table_.SetTableName(kTable);
    table_.Open();
}

bool TTinyDBParams::IsOpen() {
    return table_.Active();
}
void TTinyDBParams::Close() {
    table_.Close();
}
void TTinyDBParams::Refresh() {
    table_.Refresh();
}

int TTinyDBParams::SectionKeyCount(const std::string& Section) {
    table_.SetFiltered(false);
    table_.SetFilter("Section='" + upper(Section) + "'");
    table_.SetFiltered(true);
    int count = table_.RecordCount();
    table_.SetFiltered(false);
    return count;
}

void TTinyDBParams::ReadSectionKeys(const std::string& Section, std::vector<std::string>& Keys) {
    Keys.clear();
    table_.SetFiltered(false);
    table_.SetFilter("Section='" + upper(Section) + "'");
    table_.SetFiltered(true);
    for (table_.First(); !table_.Eof(); table_.Next()) Keys.push_back(table_.FieldByName("Key").AsString());
    table_.SetFiltered(false);
}

bool TTinyDBParams::lookupForReading(const std::string& Section, const std::string& Key) {
    if (!table_.Active()) openTable();
    table_.SetFilter(pairFilter(Section, Key));
    table_.SetFiltered(true);
    return table_.RecordCount() > 0;
}

void TTinyDBParams::lookupForWriting(const std::string& Section, const std::string& Key) {
    if (!table_.Active()) openTable();
    bool found = false;
    try {
        // Filtering goes off first so that a malformed filter text fails in the search, not before it.
        table_.SetFiltered(false);
        table_.SetFilter(pairFilter(Section, Key));
        found = table_.FindFirst();
    } catch (const std::exception&) {
        found = false;
    }
    if (found) {
        table_.Edit();
    } else {
        table_.Append();
        table_.FieldByName("Section").SetAsString(upper(Section));
        table_.FieldByName("Key").SetAsString(upper(Key));
    }
}

void TTinyDBParams::writeText(const std::string& Section, const std::string& Key, const std::string& Text) {
    lookupForWriting(Section, Key);
    value().SetAsString(Text);
    table_.Post();
}

std::string TTinyDBParams::ReadString(const std::string& Section, const std::string& Key,
                                      const std::string& Default) {
    return lookupForReading(Section, Key) ? value().AsString() : Default;
}

void TTinyDBParams::WriteString(const std::string& Section, const std::string& Key,
                                const std::string& Value) {
    writeText(Section, Key, Value);
}

int32_t TTinyDBParams::ReadInteger(const std::string& Section, const std::string& Key, int32_t Default) {
    return lookupForReading(Section, Key) ? StrToInt(value().AsString()) : Default;
}

void TTinyDBParams::WriteInteger(const std::string& Section, const std::string& Key, int32_t Value) {
    writeText(Section, Key, std::to_string(Value));
}

bool TTinyDBParams::ReadBool(const std::string& Section, const std::string& Key, bool Default) {
    return lookupForReading(Section, Key) ? value().AsString() == "1" : Default;
}

void TTinyDBParams::WriteBool(const std::string& Section, const std::string& Key, bool Value) {
    writeText(Section, Key, Value ? "1" : "0");
}

double TTinyDBParams::ReadFloat(const std::string& Section, const std::string& Key, double Default) {
    return lookupForReading(Section, Key) ? StrToFloat(value().AsString()) : Default;
}

void TTinyDBParams::WriteFloat(const std::string& Section, const std::string& Key, double Value) {
    writeText(Section, Key, FloatToStr(Value));
}

double TTinyDBParams::ReadDateTime(const std::string& Section, const std::string& Key, double Default) {
    return lookupForReading(Section, Key) ? StrToDateTime(value().AsString()) : Default;
}

void TTinyDBParams::WriteDateTime(const std::string& Section, const std::string& Key, double Value) {
    writeText(Section, Key, DateTimeToStr(Value));
}

int64_t TTinyDBParams::ReadCurrency(const std::string& Section, const std::string& Key, int64_t Default) {
    return lookupForReading(Section, Key) ? StrToCurr(value().AsString()) : Default;
}

void TTinyDBParams::WriteCurrency(const std::string& Section, const std::string& Key, int64_t Value) {
    writeText(Section, Key, CurrToStr(Value));
}

void TTinyDBParams::WriteStream(const std::string& Section, const std::string& Key,
                                const std::vector<uint8_t>& Stream) {
    lookupForWriting(Section, Key);
    value().LoadFromStream(Stream);
    table_.Post();
}

bool TTinyDBParams::ReadStream(const std::string& Section, const std::string& Key,
                               std::vector<uint8_t>& Stream) {
    Stream.clear();
    try {
        if (!lookupForReading(Section, Key)) return false;
        value().SaveToStream(Stream);
        return true;
    } catch (const std::exception&) {
        Stream.clear();
        return false;
    }
}

void TTinyDBParams::WriteFile(const std::string& Section, const std::string& FilePath) {
    lookupForWriting(Section, fileNamePart(FilePath));
    value().LoadFromFile(FilePath);
    table_.Post();
}

void TTinyDBParams::ReadFile(const std::string& Section, const std::string& Key, std::string& OutputPath,
                             const std::string& TargetFolder) {
    OutputPath.clear();
    try {
        if (!lookupForReading(Section, Key)) return;
        std::string path = TargetFolder + Key;
        value().SaveToFile(path);
        OutputPath = path;
    } catch (const std::exception&) {
        OutputPath.clear();
    }
}

} // namespace somnex
