// somnex: the reference host. It reaches the engine only through the library's entry points.
#include "host/HostCommand.h"

#include <cstdio>
#include <cstring>

namespace {
void PrintUsage(FILE* out) {
    std::fprintf(out, "usage: somnex COMMAND [ARGS...]\n\ncommands:\n");
    for (const host::HostCommand& c : host::Commands()) std::fprintf(out, "  %-12s %s\n", c.Name, c.Summary);
    std::fprintf(out, "\n'somnex COMMAND --help' describes a command.\n");
}

void PrintHelp(const host::HostCommand& c) {
    std::printf("usage: somnex %s %s\n\n%s\n", c.Name, c.Usage, c.Summary);
    if (*c.Help) std::printf("\n%s\n", c.Help);
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage(stderr);
        return host::kUsage;
    }
    std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintUsage(stdout);
        return host::kOk;
    }
    for (const host::HostCommand& c : host::Commands()) {
        if (name != c.Name) continue;
        host::Args args(argv + 2, argv + argc);
        for (const std::string& a : args)
            if (a == "--help" || a == "-h") {
                PrintHelp(c);
                return host::kOk;
            }
        try {
            return c.Run(args);
        } catch (const std::exception& e) {
            return host::Fail(e.what());
        }
    }
    host::Fail("unknown command '" + name + "'", host::kUsage);
    PrintUsage(stderr);
    return host::kUsage;
}
