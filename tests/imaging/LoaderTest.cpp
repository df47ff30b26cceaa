#include "engine/decoders/JpegCodec.h"
#include "engine/imaging/PictureLoader.h"
#include "platform/raster/BitmapFile.h"
#include "somnex/EngineError.h"

#include "tests/imaging/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace somnex;

namespace {

class LoaderTest : public testing::Test {
protected:
    void SetUp() override {
        plat::Bitmap photo(1600, 1200);
        photo.Fill(plat::MakeColor(200, 120, 40));
        jpeg = (dir_ / "photo.JPG").string();
        const std::vector<uint8_t> bytes = EncodeJpeg(photo, 90);
        std::ofstream(jpeg, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        bmp = (dir_ / "photo.bmp").string();
        plat::SaveBitmapFile(photo, bmp);
    }

    testing_support::TempFolder folder_{"somnex-loader-"};
    const std::filesystem::path& dir_ = folder_.Path();
    std::string jpeg, bmp;
};

TEST_F(LoaderTest, JpegDecodesAtSmallestScaleStillCoveringHint) {
    const plat::Bitmap half = LoadPictureFile(jpeg, {800, 600, true});
    EXPECT_EQ(half.Width(), 800);
    EXPECT_EQ(half.Height(), 600);
    const plat::Bitmap quarter = LoadPictureFile(jpeg, {400, 300, false});
    EXPECT_EQ(quarter.Width(), 400);
    const plat::Bitmap full = LoadPictureFile(jpeg, {801, 600, false}); // half would not cover it
    EXPECT_EQ(full.Width(), 1600);
    EXPECT_EQ(LoadPictureFile(jpeg).Width(), 1600);
    EXPECT_NEAR(plat::RedOf(half.Pixel(400, 300)), 200, 3);
}

TEST_F(LoaderTest, OtherFormatsIgnoreHint) {
    EXPECT_EQ(LoadPictureFile(bmp, {400, 300, false}).Width(), 1600);
}

TEST_F(LoaderTest, UnreadableFilesRaise) {
    EXPECT_THROW(LoadPictureFile((dir_ / "none.jpg").string(), {400, 300, false}), EngineError);
    const std::string broken = (dir_ / "broken.jpg").string();
    std::ofstream(broken) << "not a jpeg";
    EXPECT_THROW(LoadPictureFile(broken, {400, 300, false}), EngineError);
}

} // namespace
