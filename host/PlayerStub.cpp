// The placeholder the reference host packs when no screensaver player is given: the real player
// is supplied by the product, not by this engine.
#include <cstdio>

int main() {
    std::puts("This is the placeholder screensaver player of the Somnex reference host; "
              "it does not play screensavers.");
    return 1;
}
