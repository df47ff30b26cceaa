#pragma once
// Records every message box the code under test shows and answers it.
#include "platform/ui/MessageBox.h"

#include <cstdint>
#include <string>
#include <vector>

namespace heraldex::test {

struct Box {
    std::string Caption;
    std::string Text;
    uint32_t Flags;
    bool operator==(const Box&) const = default;
};

class BoxRecorder {
public:
    explicit BoxRecorder(int answer = plat::IDOK) : answer_(answer) {
        plat::SetMessageBoxHandler([this](const std::string& c, const std::string& t, uint32_t f) {
            Boxes.push_back({c, t, f});
            return answer_;
        });
    }
    ~BoxRecorder() { plat::SetMessageBoxHandler({}); }
    BoxRecorder(const BoxRecorder&) = delete;
    BoxRecorder& operator=(const BoxRecorder&) = delete;

    std::vector<Box> Boxes;

private:
    int answer_;
};

} // namespace heraldex::test
