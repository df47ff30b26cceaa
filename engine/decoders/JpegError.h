#pragma once
// Internal: libjpeg reports errors by a callback that must not return; ours jumps back to the
// call site, which then raises EngineError with libjpeg's message.
#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <string>

namespace somnex {

struct JpegErrorJump {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

inline void JpegErrorExit(j_common_ptr cinfo) {
    auto* e = reinterpret_cast<JpegErrorJump*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, e->message);
    std::longjmp(e->jump, 1);
}

// Warnings (corrupt data the library works around) count as errors: a damaged picture is not
// shown half grey.
inline void JpegWarning(j_common_ptr cinfo, int level) {
    if (level < 0) JpegErrorExit(cinfo);
}

inline jpeg_error_mgr* InstallJpegErrors(JpegErrorJump& e) {
    jpeg_std_error(&e.mgr);
    e.mgr.error_exit = JpegErrorExit;
    e.mgr.emit_message = JpegWarning;
    e.message[0] = 0;
    return &e.mgr;
}

} // namespace somnex
