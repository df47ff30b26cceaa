#pragma once
// The built-in example slideshow: pictures painted with the engine's gradient fill, a logo, an
// overlay, a splash picture and two short tunes, written as a project beside them. The demo and
// the benchmark make their projects with it.
#include "engine/project/Unit_IniPcvProjectFile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace example {

// A 16-bit mono WAV file of `seconds` of a little tune starting at `baseHz`.
void WriteTune(const std::string& path, double seconds, double baseHz);

// A picture of width x height: gradient direction `pattern` (0..12) in two colours taken from
// `seed`, with a few discs over it so no two pictures look alike. JPEG when the path ends in
// .jpg, otherwise a Windows bitmap.
void WritePicture(const std::string& path, int width, int height, int pattern, uint32_t seed,
                  int quality = 90);

// A slideshow project at `projectPath` listing `pictures` (with captions) and `music`. `decorate`
// adds a logo and an overlay to every third picture when the files are given.
struct ExampleProject {
    std::vector<std::string> Pictures;
    std::vector<std::string> Captions; // may be shorter than Pictures
    std::vector<std::string> Music;
    std::string Logo, Overlay, Splash;
    int32_t Width = 800, Height = 600, Quality = 85;
    bool Mute = false;
};
void WriteProject(const std::string& projectPath, const ExampleProject& show);

// The whole example in `folder` (ending with '/'), with `extraPictures` made by other tools added
// to the list. Returns the project path.
std::string MakeExample(const std::string& folder, const std::vector<std::string>& extraPictures);

} // namespace example
