#pragma once
// The exit flags every preview shares: each player's project load overwrites them, and they keep
// the last loaded project's values until the next load.
namespace somnex {

struct TPreviewFlags {
    bool ExitOnKey = true;
    bool ExitOnMouse = true;
};

TPreviewFlags& ThePreviewFlags();

} // namespace somnex
