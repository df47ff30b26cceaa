#pragma once
// Section / key / value settings kept in one table of a store database, the way an INI file keeps
// them. Names are case-insensitive (stored in capitals); every value is text or bytes in "Value".
#include "engine/store/TTinyTable.h"

#include <cstdint>
#include <string>
#include <vector>

namespace somnex {

class TDBParams {
public:
    virtual ~TDBParams() = default;

    virtual bool IsOpen() = 0;
    virtual int SectionKeyCount(const std::string& Section);
    // Lists the keys stored under a section; the base class lists none.
    virtual void ReadSectionKeys(const std::string& Section, std::vector<std::string>& Keys);
    virtual void Close() = 0;
    virtual void Refresh() = 0;
    virtual void WriteDateTime(const std::string& Section, const std::string& Key, double Value) = 0;
    virtual double ReadDateTime(const std::string& Section, const std::string& Key, double Default) = 0;
    virtual void WriteFloat(const std::string& Section, const std::string& Key, double Value) = 0;
    virtual double ReadFloat(const std::string& Section, const std::string& Key, double Default) = 0;
    // Currency: 64-bit fixed point with four decimals (1.5 is 15000).
    virtual void WriteCurrency(const std::string& Section, const std::string& Key, int64_t Value) = 0;
    virtual int64_t ReadCurrency(const std::string& Section, const std::string& Key, int64_t Default) = 0;
    virtual void WriteString(const std::string& Section, const std::string& Key,
                             const std::string& Value) = 0;
    virtual std::string ReadString(const std::string& Section, const std::string& Key,
                                   const std::string& Default) = 0;
    virtual void WriteInteger(const std::string& Section, const std::string& Key, int32_t Value) = 0;
    virtual int32_t ReadInteger(const std::string& Section, const std::string& Key, int32_t Default) = 0;
    virtual void WriteBool(const std::string& Section, const std::string& Key, bool Value) = 0;
    virtual bool ReadBool(const std::string& Section, const std::string& Key, bool Default) = 0;
    virtual void WriteStream(const std::string& Section, const std::string& Key,
                             const std::vector<uint8_t>& Stream) = 0;
    virtual bool ReadStream(const std::string& Section, const std::string& Key,
                            std::vector<uint8_t>& Stream) = 0;
    virtual void WriteFile(const std::string& Section, const std::string& FilePath) = 0;
    virtual void ReadFile(const std::string& Section, const std::string& Key, std::string& OutputPath,
                          const std::string& TargetFolder) = 0;
};

class TTinyDBParams : public TDBParams {
public:
    TTinyDBParams() = default;
    ~TTinyDBParams() override;

    std::string Password;
    bool ProcessValues = false;
    const std::string& FileName() const { return fileName_; }
    TTinyTable& Table() { return table_; }

    void Open(const std::string& FileName);

    bool IsOpen() override;
    int SectionKeyCount(const std::string& Section) override;
    void ReadSectionKeys(const std::string& Section, std::vector<std::string>& Keys) override;
    void Close() override;
    void Refresh() override;
    void WriteDateTime(const std::string& Section, const std::string& Key, double Value) override;
    double ReadDateTime(const std::string& Section, const std::string& Key, double Default) override;
    void WriteFloat(const std::string& Section, const std::string& Key, double Value) override;
    double ReadFloat(const std::string& Section, const std::string& Key, double Default) override;
    void WriteCurrency(const std::string& Section, const std::string& Key, int64_t Value) override;
    int64_t ReadCurrency(const std::string& Section, const std::string& Key, int64_t Default) override;
    void WriteString(const std::string& Section, const std::string& Key, const std::string& Value) override;
    std::string ReadString(const std::string& Section, const std::string& Key,
                           const std::string& Default) override;
    void WriteInteger(const std::string& Section, const std::string& Key, int32_t Value) override;
    int32_t ReadInteger(const std::string& Section, const std::string& Key, int32_t Default) override;
    void WriteBool(const std::string& Section, const std::string& Key, bool Value) override;
    bool ReadBool(const std::string& Section, const std::string& Key, bool Default) override;
    void WriteStream(const std::string& Section, const std::string& Key,
                     const std::vector<uint8_t>& Stream) override;
    bool ReadStream(const std::string& Section, const std::string& Key,
                    std::vector<uint8_t>& Stream) override;
    void WriteFile(const std::string& Section, const std::string& FilePath) override;
    void ReadFile(const std::string& Section, const std::string& Key, std::string& OutputPath,
                  const std::string& TargetFolder) override;

private:
    void createDatabase();
    void openTable();
    // Both leave the pair's record current: found for reading, in edit or insert mode for writing.
    bool lookupForReading(const std::string& Section, const std::string& Key);
    void lookupForWriting(const std::string& Section, const std::string& Key);
    void writeText(const std::string& Section, const std::string& Key, const std::string& Text);
    TTinyField& value() { return table_.FieldByName("Value"); }

    std::string fileName_;
    TTinyTable table_;
};

} // namespace somnex
