#include "platform/display/XRandrDisplay.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <cmath>

namespace plat {

namespace {

struct ResourcesFree {
    void operator()(XRRScreenResources* r) const { XRRFreeScreenResources(r); }
};
struct OutputFree {
    void operator()(XRROutputInfo* o) const { XRRFreeOutputInfo(o); }
};
struct CrtcFree {
    void operator()(XRRCrtcInfo* c) const { XRRFreeCrtcInfo(c); }
};
using Resources = std::unique_ptr<XRRScreenResources, ResourcesFree>;
using OutputInfo = std::unique_ptr<XRROutputInfo, OutputFree>;
using CrtcInfo = std::unique_ptr<XRRCrtcInfo, CrtcFree>;

// X errors arrive asynchronously through a process-wide handler; while a change is made, they
// are counted instead of ending the process.
int errorsSeen = 0;
int CountError(Display*, XErrorEvent*) {
    ++errorsSeen;
    return 0;
}
class ErrorTrap {
public:
    ErrorTrap() : previous_(XSetErrorHandler(CountError)) { errorsSeen = 0; }
    ~ErrorTrap() { XSetErrorHandler(previous_); }
    bool Failed() const { return errorsSeen != 0; }

private:
    int (*previous_)(Display*, XErrorEvent*);
};

bool Rotated(Rotation r) {
    return (r & (RR_Rotate_90 | RR_Rotate_270)) != 0;
}

int32_t RefreshOf(const XRRModeInfo& m) {
    double lines = m.vTotal;
    if (m.modeFlags & RR_DoubleScan) lines *= 2;
    if (m.modeFlags & RR_Interlace) lines /= 2;
    if (m.hTotal == 0 || lines == 0) return 0;
    return int32_t(std::nearbyint(double(m.dotClock) / (double(m.hTotal) * lines)));
}

const XRRModeInfo* FindMode(const XRRScreenResources& res, RRMode id) {
    for (int i = 0; i < res.nmode; ++i)
        if (res.modes[i].id == id) return &res.modes[i];
    return nullptr;
}

// The primary output, or the first one that drives a CRTC when none is marked primary.
struct Primary {
    Resources res;
    OutputInfo output;
    CrtcInfo crtc;
};

bool FindPrimary(Display* dpy, Primary& p) {
    Window root = DefaultRootWindow(dpy);
    p.res.reset(XRRGetScreenResourcesCurrent(dpy, root));
    if (!p.res) return false;
    auto tryOutput = [&](RROutput id) {
        OutputInfo info(XRRGetOutputInfo(dpy, p.res.get(), id));
        if (!info || info->connection != RR_Connected || info->crtc == 0) return false;
        CrtcInfo crtc(XRRGetCrtcInfo(dpy, p.res.get(), info->crtc));
        if (!crtc) return false;
        p.output = std::move(info);
        p.crtc = std::move(crtc);
        return true;
    };
    RROutput primary = XRRGetOutputPrimary(dpy, root);
    if (primary != 0 && tryOutput(primary)) return true;
    for (int i = 0; i < p.res->noutput; ++i)
        if (tryOutput(p.res->outputs[i])) return true;
    return false;
}

DisplayMode ModeOf(const XRRModeInfo& m, Rotation r) {
    DisplayMode mode{int32_t(m.width), int32_t(m.height), RefreshOf(m)};
    if (Rotated(r)) std::swap(mode.Width, mode.Height);
    return mode;
}

} // namespace

std::unique_ptr<XRandrDisplay> XRandrDisplay::Open() {
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) return nullptr;
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XRRQueryExtension(dpy, &event, &error) || !XRRQueryVersion(dpy, &major, &minor) || major < 1 ||
        (major == 1 && minor < 2)) {
        XCloseDisplay(dpy);
        return nullptr;
    }
    return std::unique_ptr<XRandrDisplay>(new XRandrDisplay(dpy));
}

XRandrDisplay::~XRandrDisplay() {
    XCloseDisplay(dpy_);
}

DisplayMode XRandrDisplay::Current() {
    Primary p;
    if (!FindPrimary(dpy_, p)) return {};
    const XRRModeInfo* m = FindMode(*p.res, p.crtc->mode);
    if (!m) return {int32_t(p.crtc->width), int32_t(p.crtc->height), 0};
    return ModeOf(*m, p.crtc->rotation);
}

std::vector<DisplayMode> XRandrDisplay::ListModes() {
    std::vector<DisplayMode> list;
    Primary p;
    if (!FindPrimary(dpy_, p)) return list;
    for (int i = 0; i < p.output->nmode; ++i) {
        const XRRModeInfo* m = FindMode(*p.res, p.output->modes[i]);
        if (!m) continue;
        DisplayMode mode = ModeOf(*m, p.crtc->rotation);
        if (std::find(list.begin(), list.end(), mode) == list.end()) list.push_back(mode);
    }
    return list;
}

std::optional<DisplayMode> XRandrDisplay::Mode(int32_t number) {
    if (number == 0 || modes_.empty()) modes_ = ListModes();
    if (number < 0 || size_t(number) >= modes_.size()) return std::nullopt;
    return modes_[size_t(number)];
}

bool XRandrDisplay::Set(const DisplayMode& want) {
    Primary p;
    if (!FindPrimary(dpy_, p)) return false;
    RRMode id = 0;
    const XRRModeInfo* info = nullptr;
    for (int i = 0; i < p.output->nmode && !id; ++i) {
        const XRRModeInfo* m = FindMode(*p.res, p.output->modes[i]);
        if (m && ModeOf(*m, p.crtc->rotation) == want) {
            id = m->id;
            info = m;
        }
    }
    if (!id) return false;
    const XRRCrtcInfo& crtc = *p.crtc;
    RRCrtc crtcId = p.output->crtc;
    DisplayMode size = ModeOf(*info, crtc.rotation);

    // The screen must hold every lit CRTC, this one at its new size.
    int screenW = crtc.x + size.Width, screenH = crtc.y + size.Height;
    for (int i = 0; i < p.res->ncrtc; ++i) {
        if (p.res->crtcs[i] == crtcId) continue;
        CrtcInfo other(XRRGetCrtcInfo(dpy_, p.res.get(), p.res->crtcs[i]));
        if (!other || other->mode == 0) continue;
        screenW = std::max(screenW, other->x + int(other->width));
        screenH = std::max(screenH, other->y + int(other->height));
    }
    int screen = DefaultScreen(dpy_);
    Window root = RootWindow(dpy_, screen);
    // Xlib's screen size is the one from when the connection opened; the root window knows the
    // size now. The millimetres keep the connection's dots per inch.
    int oldW = 0, oldH = 0;
    {
        Window rootBack = 0;
        int x = 0, y = 0;
        unsigned w = 0, h = 0, border = 0, depth = 0;
        if (!XGetGeometry(dpy_, root, &rootBack, &x, &y, &w, &h, &border, &depth)) return false;
        oldW = int(w);
        oldH = int(h);
    }
    auto mm = [](int px, int refPx, int refMm) { return refPx ? int(int64_t(refMm) * px / refPx) : refMm; };
    int mmW = mm(screenW, DisplayWidth(dpy_, screen), DisplayWidthMM(dpy_, screen));
    int mmH = mm(screenH, DisplayHeight(dpy_, screen), DisplayHeightMM(dpy_, screen));
    int oldMmW = mm(oldW, DisplayWidth(dpy_, screen), DisplayWidthMM(dpy_, screen));
    int oldMmH = mm(oldH, DisplayHeight(dpy_, screen), DisplayHeightMM(dpy_, screen));
    bool resize = screenW != oldW || screenH != oldH;

    ErrorTrap trap;
    XGrabServer(dpy_);
    Status status = RRSetConfigSuccess;
    if (resize) {
        // A CRTC larger than the new screen makes the resize fail, so it goes dark first.
        status = XRRSetCrtcConfig(dpy_, p.res.get(), crtcId, CurrentTime, 0, 0, 0, RR_Rotate_0, nullptr, 0);
        if (status == RRSetConfigSuccess) XRRSetScreenSize(dpy_, root, screenW, screenH, mmW, mmH);
    }
    if (status == RRSetConfigSuccess)
        status = XRRSetCrtcConfig(dpy_, p.res.get(), crtcId, CurrentTime, crtc.x, crtc.y, id, crtc.rotation,
                                  crtc.outputs, crtc.noutput);
    XSync(dpy_, False);
    bool ok = status == RRSetConfigSuccess && !trap.Failed();
    if (!ok && resize) {
        // Leave the display as it was rather than dark.
        XRRSetScreenSize(dpy_, root, oldW, oldH, oldMmW, oldMmH);
        XRRSetCrtcConfig(dpy_, p.res.get(), crtcId, CurrentTime, crtc.x, crtc.y, crtc.mode, crtc.rotation,
                         crtc.outputs, crtc.noutput);
    }
    XUngrabServer(dpy_);
    XSync(dpy_, False);
    modes_.clear();
    return ok;
}

ScreenPoint XRandrDisplay::Pos() {
    Window rootBack = 0, child = 0;
    int rootX = 0, rootY = 0, winX = 0, winY = 0;
    unsigned mask = 0;
    if (!XQueryPointer(dpy_, DefaultRootWindow(dpy_), &rootBack, &child, &rootX, &rootY, &winX, &winY, &mask))
        return {};
    return {rootX, rootY};
}

} // namespace plat
