#include "engine/compiler/PackageFile.h"
#include "engine/compiler/Unit_ScrFileObj.h"

namespace somnex {

std::string ImageOptsText(int32_t Interval, int32_t TransformID, int32_t EffectStep, int32_t EffectDelay) {
    std::string text;
    for (int32_t v : {Interval, TransformID, EffectStep, EffectDelay}) {
        text += std::to_string(v);
        text += kImageOptsSeparator;
    }
    return text;
}

TScrBaseLibFile::~TScrBaseLibFile() {
    try {
        TScrBaseLibFile::CloseLibrary();
    } catch (const std::exception&) {
        // A failing close while the object goes away has no one to report to.
    }
}

void TScrBaseLibFile::CreateLibrary(const std::string& FileName) {
    (void)Database.CreateDatabase(FileName, true, CompressLevel, "ZLIB", true, "Gost", kScrFilePassword,
                                  false);
}

void TScrBaseLibFile::OpenLibrary(const std::string& FileName, const std::string& TableName) {
    Table.SetDatabaseName(FileName);
    Table.SetPassword(kScrFilePassword);
    Table.SetTableName(TableName);
    try {
        Table.Open();
    } catch (const std::exception&) {
        // The first Add... reports the store's error.
    }
}

void TScrBaseLibFile::CloseLibrary() {
    if (Table.Active()) Table.Close();
    Database.Disconnect();
}

void TScrBaseLibFile::createTable(const std::string& FileName, const std::string& TableName,
                                  const std::vector<TFieldDef>& Fields) {
    TScrBaseLibFile::CreateLibrary(FileName);
    Database.SetFileName(FileName);
    Database.SetPassword(kScrFilePassword);
    Database.CreateTable(TableName, Fields);
}

void TScrBaseLibFile::addNamedFile(const std::string& FilePath, const char* DataField) {
    Table.Append();
    Table.FieldByName("FileName").SetAsString(PackageNamePart(FilePath).substr(0, kLibFileNameSize));
    Table.FieldByName(DataField).LoadFromFile(FilePath);
    Table.Post();
}

void TScrImageFile::CreateLibrary(const std::string& FileName) {
    createTable(FileName, "Images",
                {{"ID", TFieldType::AutoInc, 0, TFieldProcessing::Default},
                 {"ImageData", TFieldType::Blob, 0, TFieldProcessing::Unchanged},
                 {"ImageOpts", TFieldType::Memo, 0, TFieldProcessing::Default}});
}

void TScrImageFile::AddImage(const std::vector<uint8_t>& Jpeg, int32_t Interval, int32_t TransformID,
                             int32_t EffectStep, int32_t EffectDelay) {
    Table.Append();
    Table.FieldByName("ImageData").LoadFromStream(Jpeg);
    Table.FieldByName("ImageOpts").SetAsString(ImageOptsText(Interval, TransformID, EffectStep, EffectDelay));
    Table.Post();
}

void TScrMusicFile::CreateLibrary(const std::string& FileName) {
    createTable(FileName, "Music",
                {{"ID", TFieldType::AutoInc, 0, TFieldProcessing::Default},
                 {"FileName", TFieldType::String, kLibFileNameSize, TFieldProcessing::Default},
                 {"MusicData", TFieldType::Blob, 0,
                  ProcessMusic ? TFieldProcessing::Default : TFieldProcessing::Unchanged}});
}

void TScrMusicFile::AddMusic(const std::string& FilePath) {
    addNamedFile(FilePath, "MusicData");
}

void TScrFlashFile::CreateLibrary(const std::string& FileName) {
    createTable(FileName, "Flashs",
                {{"ID", TFieldType::AutoInc, 0, TFieldProcessing::Default},
                 {"FileName", TFieldType::String, kLibFileNameSize, TFieldProcessing::Default},
                 {"FlashData", TFieldType::Blob, 0, TFieldProcessing::Unchanged}});
}

void TScrFlashFile::AddFlash(const std::string& FilePath) {
    addNamedFile(FilePath, "FlashData");
}

} // namespace somnex
