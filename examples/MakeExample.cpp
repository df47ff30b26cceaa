// somnex_example FOLDER [PICTURE...]: writes the example slideshow into FOLDER and prints the
// project's path. Pictures given on the command line join the list after the painted ones.
#include "examples/ExampleProject.h"

#include <cstdio>
#include <exception>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: somnex_example FOLDER [PICTURE...]\n");
        return 2;
    }
    try {
        std::string folder = std::filesystem::absolute(argv[1]).string();
        if (!folder.ends_with('/')) folder += '/';
        std::filesystem::create_directories(folder);
        std::vector<std::string> extra;
        for (int i = 2; i < argc; ++i) extra.push_back(std::filesystem::absolute(argv[i]).string());
        std::printf("%s\n", example::MakeExample(folder, extra).c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "somnex_example: %s\n", e.what());
        return 1;
    }
    return 0;
}
