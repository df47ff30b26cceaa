#include "examples/ExampleProject.h"

#include "engine/decoders/JpegCodec.h"
#include "engine/imaging/Gradient.h"
#include "platform/raster/BitmapFile.h"
#include "platform/raster/Canvas.h"
#include "shared/ini/FontText.h"

#include <cmath>
#include <fstream>
#include <stdexcept>

namespace example {

namespace {
void Put16(std::ofstream& out, uint16_t v) {
    out.put(char(v & 0xFF)).put(char(v >> 8));
}
void Put32(std::ofstream& out, uint32_t v) {
    Put16(out, uint16_t(v & 0xFFFF));
    Put16(out, uint16_t(v >> 16));
}

plat::Color Rgb(uint32_t v) {
    return plat::Color(v & 0xFFFFFF);
}

void Save(const plat::Bitmap& bmp, const std::string& path, int quality) {
    if (path.ends_with(".jpg")) {
        std::vector<uint8_t> bytes = somnex::EncodeJpeg(bmp, quality);
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out) throw std::runtime_error("cannot write " + path);
    } else {
        plat::SaveBitmapFile(bmp, path);
    }
}
} // namespace

void WriteTune(const std::string& path, double seconds, double baseHz) {
    constexpr uint32_t rate = 22050;
    uint32_t samples = uint32_t(seconds * rate);
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    Put32(out, 36 + samples * 2);
    out.write("WAVEfmt ", 8);
    Put32(out, 16);
    Put16(out, 1); // PCM
    Put16(out, 1); // mono
    Put32(out, rate);
    Put32(out, rate * 2);
    Put16(out, 2);
    Put16(out, 16);
    out.write("data", 4);
    Put32(out, samples * 2);
    // Four notes of a major arpeggio, each fading out.
    const double steps[] = {1.0, 1.25, 1.5, 2.0};
    uint32_t noteLength = samples / 4 + 1;
    for (uint32_t i = 0; i < samples; ++i) {
        double t = double(i % noteLength) / rate;
        double f = baseHz * steps[i / noteLength];
        double v = std::sin(2 * M_PI * f * double(i) / rate) * std::exp(-3.0 * t) * 0.5;
        Put16(out, uint16_t(int16_t(v * 32767)));
    }
    if (!out) throw std::runtime_error("cannot write " + path);
}

void WritePicture(const std::string& path, int width, int height, int pattern, uint32_t seed, int quality) {
    plat::Bitmap bmp(width, height);
    plat::Canvas canvas(bmp);
    uint32_t s = seed * 2654435761u + 12345u;
    auto next = [&s] { return s = s * 1103515245u + 12345u; };
    somnex::DrawGradient(canvas, uint8_t(pattern % 13), Rgb(next() >> 8), Rgb(next() >> 8),
                         {0, 0, width, height});
    for (int k = 0; k < 5; ++k) {
        int r = int(next() % uint32_t(std::max(2, std::min(width, height) / 4))) + 4;
        int x = int(next() % uint32_t(width)), y = int(next() % uint32_t(height));
        canvas.Brush().BrushColor = Rgb(next() >> 8);
        canvas.Pen().PenColor = canvas.Brush().BrushColor;
        canvas.Ellipse({x - r, y - r, x + r, y + r});
    }
    Save(bmp, path, quality);
}

void WriteProject(const std::string& projectPath, const ExampleProject& show) {
    somnex::TIniPCVProjectFile p;
    p.NewProject(projectPath);
    p.FileInfo.EditorName = "Pictavio";
    p.FileInfo.EditorVersion = "2.0";
    p.ScrInfo.Name = "Somnex example";
    p.ScrInfo.Author = "The Somnex developers";
    p.ScrInfo.Copyright = "Free to share";
    p.BuildSetting.ImageWidth = show.Width;
    p.BuildSetting.ImageHeight = show.Height;
    p.BuildSetting.ImageQuality = show.Quality;
    p.BuildSetting.Compress = true;
    p.Background.BackgroundMode = 2;
    p.Background.GradientDirection = 4;
    p.Background.GradientColor_01 = 0x402010;
    p.Background.GradientColor_02 = 0xF0C080;
    p.ImageSetting.SizeMode = 0;
    p.ImageSetting.ImagePos = 0;
    p.ImageSetting.Interval = 5;
    p.MusicSetting.MuteSound = show.Mute;
    p.MusicSetting.IsLoop = true;
    p.MusicSetting.Pause = 2;
    p.Effect.EffectMode = 1;
    p.Effect.OrderMode = 1;
    p.Effect.EffectStep = 4;
    p.Effect.EffectDelay = 40;
    p.SplashScreen.UseSplashScreen = !show.Splash.empty();
    p.SplashScreen.SplashScreen = show.Splash;
    p.SplashScreen.SplashScreenInterval = 3;
    p.WriteProject();

    somnex::TFontInfo font;
    font.Name = "Arial";
    font.Size = 20;
    font.Bold = true;
    font.Color = 0xFFFFFF;
    p.SetListCount(somnex::TListKind::Images, int32_t(show.Pictures.size()));
    for (size_t i = 0; i < show.Pictures.size(); ++i) {
        somnex::TImageRec e;
        e.FileName = show.Pictures[i];
        if (i < show.Captions.size()) e.Caption = show.Captions[i];
        e.CaptionFont = somnex::FontToText(font);
        e.CaptionPos = e.Caption.empty() ? 0 : 8;
        e.CaptionAlign = 1; // centred
        e.Opacity = 255;
        e.Interval = 5 + int32_t(i % 3);
        e.TransformID = int32_t(i * 11 % 150);
        e.EffectStep = 4;
        e.EffectDelay = 40;
        if (i % 3 == 1 && !show.Logo.empty()) {
            e.LogoPos = 3;
            e.LogoFile = show.Logo;
            e.LogoAlpha = 200;
        }
        if (i % 3 == 2 && !show.Overlay.empty()) {
            e.OverlayMode = 1;
            e.OverlayFile = show.Overlay;
        }
        p.WriteImage(int32_t(i), e);
    }
    p.SetListCount(somnex::TListKind::Music, int32_t(show.Music.size()));
    for (size_t i = 0; i < show.Music.size(); ++i) p.WriteMusic(int32_t(i), show.Music[i]);
    p.CloseProject();
}

std::string MakeExample(const std::string& folder, const std::vector<std::string>& extraPictures) {
    ExampleProject show;
    const struct {
        const char* name;
        int w, h;
    } pictures[] = {{"dawn.jpg", 1600, 1200},    {"harbour.jpg", 1024, 768}, {"dunes.bmp", 640, 480},
                    {"glacier.jpg", 2400, 1600}, {"orchard.bmp", 400, 300},  {"lagoon.jpg", 1200, 1600},
                    {"canyon.jpg", 3000, 2000},  {"meadow.bmp", 800, 600}};
    const char* captions[] = {"Dawn over the hills",
                              "The old harbour\r\nat low tide",
                              "Dunes",
                              "Glacier",
                              "Orchard in May",
                              "Lagoon",
                              "Canyon walls",
                              "Meadow"};
    int pattern = 0;
    for (const auto& p : pictures) {
        std::string path = folder + p.name;
        WritePicture(path, p.w, p.h, pattern, uint32_t(pattern + 1));
        show.Pictures.push_back(path);
        show.Captions.push_back(captions[pattern]);
        ++pattern;
    }
    for (const std::string& extra : extraPictures) {
        show.Pictures.push_back(extra);
        show.Captions.push_back("Made by another tool");
    }

    // Logo: a small emblem; overlay: a frame whose white inside lets the picture through.
    plat::Bitmap logo(64, 64);
    {
        plat::Canvas c(logo);
        somnex::DrawGradient(c, 6, plat::Color(0x2040C0), plat::Color(0xF0F0FF), {0, 0, 64, 64});
        c.Brush().BrushColor = plat::Color(0x00C0FF);
        c.Pen().PenColor = plat::Color(0x0060A0);
        c.Ellipse({12, 12, 52, 52});
    }
    show.Logo = folder + "logo.bmp";
    plat::SaveBitmapFile(logo, show.Logo);
    plat::Bitmap overlay(200, 150);
    {
        plat::Canvas c(overlay);
        c.FillRect({0, 0, 200, 150}, plat::Color(0x303080));
        c.FillRect({10, 10, 190, 140}, plat::Color(0xFFFFFF));
    }
    show.Overlay = folder + "overlay.bmp";
    plat::SaveBitmapFile(overlay, show.Overlay);
    show.Splash = folder + "splash.jpg";
    WritePicture(show.Splash, 1280, 720, 9, 99);

    show.Music = {folder + "tune-a.wav", folder + "tune-b.wav"};
    WriteTune(show.Music[0], 2.0, 440.0);
    WriteTune(show.Music[1], 1.5, 330.0);

    std::string project = folder + "example.pcv";
    WriteProject(project, show);
    return project;
}

} // namespace example
