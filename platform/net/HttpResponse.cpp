#include "platform/net/HttpResponse.h"

namespace plat {

HttpOutcome ClassifyStatus(long Status) {
    return Status >= 200 && Status < 299 ? HttpOutcome::Success : HttpOutcome::Failure;
}

bool HttpBody::Append(std::string_view Data) {
    if (overflowed_ || Data.size() > cap_ - text_.size()) {
        overflowed_ = true;
        return false;
    }
    text_.append(Data);
    return true;
}

void HttpBody::Clear() {
    text_.clear();
    overflowed_ = false;
}

} // namespace plat
