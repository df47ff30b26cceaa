// Opens arbitrary bytes as a store database and reads every field of every table.
#include "engine/store/TTinyDatabase.h"
#include "engine/store/TTinyTable.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    namespace fs = std::filesystem;
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / ("somnex-fuzz-store-" + std::to_string(::getpid()));
        fs::create_directories(d);
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(fs::temp_directory_path() / ("somnex-fuzz-store-" + std::to_string(::getpid())),
                           ec);
        });
        return d;
    }();
    const std::string file = (dir / "input.db").string();
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), size);
    try {
        somnex::TTinyDatabase db;
        db.SetFileName(file);
        db.SetPassword("TORVALQUINE");
        for (const auto& name : db.TableNames()) {
            somnex::TTinyTable t;
            t.SetDatabaseName(file);
            t.SetPassword("TORVALQUINE");
            t.SetTableName(name);
            try {
                t.Open();
                for (t.First(); !t.Eof(); t.Next())
                    for (size_t i = 0; i < t.FieldCount(); ++i) (void)t.Fields(i).AsString();
            } catch (const std::exception&) {
            }
        }
    } catch (const std::exception&) {
    }
    std::error_code ec;
    fs::remove(file, ec);
    fs::remove(file + "-journal", ec);
    return 0;
}
